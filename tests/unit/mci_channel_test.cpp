// The channel to the string-command device: what opening a song sends and shows, how replies are
// read, and what a failed open leaves behind. Runs over the scripted device and the headless gui.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "app/player.h"
#include "fakes/fake_mci.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "platform/mci.h"
#include "playback/mci_channel.h"
#include "support/test_files.h"
#include "ui/gadgets.h"

namespace {

class MciChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake_mci::Reset();
        gui::headless::Reset();
        gui::WindowSpec window;
        window.innerWidth = 285;
        window.innerHeight = 116;
        window.title = "MP3 Klingtal";
        ASSERT_TRUE(gui::OpenWindow(window));
        for (int number : {ui::FolderDisplay, ui::SongLengthText, ui::SongNumberText,
                           ui::BitrateValue, ui::SampleRateValue}) {
            gui::GadgetSpec text;
            text.number = number;
            text.text = "alt";
            ASSERT_TRUE(gui::CreateGadget(text));
        }
        gui::GadgetSpec button;
        button.number = ui::FolderButton;
        button.kind = gui::GadgetKind::Button;
        ASSERT_TRUE(gui::CreateGadget(button));
        gui::GadgetSpec slider;
        slider.number = ui::PositionSlider;
        slider.kind = gui::GadgetKind::Slider;
        slider.maximum = 500;
        ASSERT_TRUE(gui::CreateGadget(slider));
        gui::SetGadgetEnabled(ui::PositionSlider, false);

        songs.CurrentSong = 2;
        songs.SongCount = 3;
        songs.SongBitrateText[2] = "192";
        songs.SongSampleRateText[2] = "44100";
    }

    MciChannel channel;
    SongListState songs;
};

using testing_support::NativePath;

const std::string kPath = NativePath("/home/anna/Musik/Die Ärzte & Co/03 - \"Lied\".mp3");

TEST_F(MciChannelTest, OpenSongSendsItsStepsInOrderAndShowsTheSong) {
    const std::string path = NativePath("/home/anna/Musik/Die Ärzte & Co/03 - Lied.mp3");
    fake_mci::SetAnswer("status MP3Stueck position wait", {0, "183999"});
    OpenAndShowSong(channel, songs, path);

    const std::vector<std::string> expected = {"open \"" + path + "\" alias MP3Stueck",
                                               "set MP3Stueck time format ms",
                                               "seek MP3Stueck to end wait",
                                               "status MP3Stueck position wait",
                                               "seek MP3Stueck to start",
                                               "play MP3Stueck from 1 notify"};
    EXPECT_EQ(fake_mci::Sent(), expected);
    EXPECT_EQ(channel.SongLength, 183999);
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "3:03");  // seconds are cut, not rounded
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "3");
    EXPECT_EQ(gui::GetGadgetText(ui::BitrateValue), "192");
    EXPECT_EQ(gui::GetGadgetText(ui::SampleRateValue), "44100");
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay),
              NativePath("/home/anna/Musik/Die Ärzte & Co/"));
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::FolderButton));
    EXPECT_TRUE(gui::IsGadgetEnabled(ui::PositionSlider));
    EXPECT_TRUE(gui::headless::Messages().empty());
}

TEST_F(MciChannelTest, AFailedOpenShowsTheErrorAndChangesNothingElse) {
    fake_mci::SetAnswer("open \"" + kPath + "\" alias MP3Stueck",
                        {mci::MCIERR_EXTRA_CHARACTERS, ""});
    channel.SongLength = 4321;
    OpenAndShowSong(channel, songs, kPath);

    EXPECT_EQ(fake_mci::Sent().size(), 1u);
    ASSERT_EQ(gui::headless::Messages().size(), 1u);
    const auto& message = gui::headless::Messages()[0];
    EXPECT_EQ(message.title, "MP3 Fehler");
    EXPECT_EQ(message.text, "Fehler beim Öffnen der MP3 Datei!\r" + kPath);
    EXPECT_EQ(message.icon, gui::MessageIcon::Error);
    EXPECT_EQ(channel.SongLength, 4321);
    for (int number : {ui::FolderDisplay, ui::SongLengthText, ui::SongNumberText, ui::BitrateValue,
                       ui::SampleRateValue}) {
        EXPECT_EQ(gui::GetGadgetText(number), "alt") << number;
    }
    EXPECT_TRUE(gui::IsGadgetEnabled(ui::FolderButton));
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::PositionSlider));
}

// The length reply as a device may give it: missing, short, odd, or failing with an error.
TEST_F(MciChannelTest, LengthRepliesAndTheirDisplay) {
    const struct {
        fake_mci::Answer answer;
        std::int32_t length;
        const char* shown;
    } cases[] = {
        {{0, ""}, 0, "0:00"},
        {{0, "999"}, 999, "0:00"},
        {{0, "1000"}, 1000, "0:01"},
        {{0, "3725000 ms"}, 3725000, "62:05"},
        {{mci::MCIERR_INVALID_DEVICE_NAME, ""}, 0, "0:00"},
        {{0, "ready"}, 0, "0:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.reply);
        fake_mci::Reset();
        fake_mci::SetAnswer("status MP3Stueck position wait", c.answer);
        OpenAndShowSong(channel, songs, "/m/x.mp3");
        EXPECT_EQ(channel.SongLength, c.length);
        EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), c.shown);
    }
}

// A device that cannot seek to the end (Windows' MCI with MP3s under Wine) is asked for the
// length instead; a quiet open (the list moving on by itself) reports nothing.
TEST_F(MciChannelTest, LengthWithoutSeekingToTheEndAndQuietFailures) {
    fake_mci::SetAnswer("seek MP3Stueck to end wait", {277, ""});
    fake_mci::SetAnswer("status MP3Stueck length", {0, "3700"});
    OpenAndShowSong(channel, songs, "/m/x.mp3");
    EXPECT_EQ(channel.SongLength, 3700);
    EXPECT_EQ(std::count(fake_mci::Sent().begin(), fake_mci::Sent().end(),
                         "status MP3Stueck position wait"),
              0);

    fake_mci::SetAnswer("open \"/m/y.mp3\" alias MP3Stueck", {mci::MCIERR_FILE_NOT_FOUND, ""});
    EXPECT_FALSE(OpenAndShowSong(channel, songs, "/m/y.mp3", OpenFailure::Quiet));
    EXPECT_TRUE(gui::headless::Messages().empty());
}

TEST_F(MciChannelTest, TheFolderIsEverythingUpToTheLastSeparator) {
    OpenAndShowSong(channel, songs, NativePath("/m/x.mp3"));
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay), NativePath("/m/"));
#ifndef _WIN32
    // On Linux a backslash belongs to the file name.
    OpenAndShowSong(channel, songs, "/m/AC\\DC - x.mp3");
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay), "/m/");
#endif
    OpenAndShowSong(channel, songs, "lied.mp3");
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay), "");
}

TEST(ReadReplyNumber, LeadingDigitsOnly) {
    EXPECT_EQ(ReadReplyNumber(""), 0);
    EXPECT_EQ(ReadReplyNumber("playing"), 0);
    EXPECT_EQ(ReadReplyNumber(" 12"), 0);
    EXPECT_EQ(ReadReplyNumber("-12"), 0);
    EXPECT_EQ(ReadReplyNumber("0007"), 7);
    EXPECT_EQ(ReadReplyNumber("12.9"), 12);
    EXPECT_EQ(ReadReplyNumber("2147483647"), std::numeric_limits<std::int32_t>::max());
    // Beyond the 32-bit range the number stays at the largest one instead of wrapping.
    EXPECT_EQ(ReadReplyNumber("2147483648"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ReadReplyNumber("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
}

TEST(SendMci, RepliesErrorsAndTheLog) {
    fake_mci::Reset();
    MciChannel channel;
    fake_mci::SetAnswer("status A mode", {0, "playing"});
    fake_mci::SetAnswer("status B mode", {mci::MCIERR_INVALID_DEVICE_NAME, ""});
    EXPECT_EQ(SendMci(channel, "status A mode"), 0u);
    EXPECT_EQ(channel.MciReply, "playing");
    // A failing command leaves no stale reply behind.
    EXPECT_EQ(SendMci(channel, "status B mode"), mci::MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(channel.MciReply, "");

    // A device that fills the whole buffer without a terminator.
    fake_mci::SetAnswer("status A position", {0, std::string(300, '7')});
    std::vector<std::string> sent;
    channel.observer = [&sent](std::string_view command) { sent.emplace_back(command); };
    SendMci(channel, "status A position");
    EXPECT_EQ(channel.MciReply, std::string(255, '7'));
    EXPECT_EQ(sent, std::vector<std::string>{"status A position"});
}

}  // namespace
