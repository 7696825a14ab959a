// The device's command grammar: spacing, letter case, quoting, numbers and the error number of
// each malformed command.
#include <gtest/gtest.h>

#include "platform/mci.h"
#include "platform/posix/mci/parser.h"

namespace {

using mci::posix::ParseCommand;
using mci::posix::SeekTarget;
using mci::posix::StatusItem;
using mci::posix::Verb;

std::uint32_t ErrorOf(const char* text) {
    return ParseCommand(text).error;
}

TEST(MciParser, EveryCommandTheProgramSendsIsAccepted) {
    for (const char* text :
         {"open \"/home/a b/Lied 1.mp3\" alias MP3Stueck", "set MP3Stueck time format ms",
          "seek MP3Stueck to end wait", "status MP3Stueck position wait", "seek MP3Stueck to start",
          "play MP3Stueck from 1 notify", "status MP3Stueck position", "close MP3Stueck",
          "pause MP3Stueck wait", "play MP3Stueck from 123456"}) {
        EXPECT_EQ(ErrorOf(text), 0u) << text;
    }
}

TEST(MciParser, KeywordsIgnoreLetterCaseAndAnySpacing) {
    const auto parsed = ParseCommand("  PLAY \t mp3stueck\r\n FrOm   7\tTO 9  NoTiFy ");
    ASSERT_EQ(parsed.error, 0u);
    EXPECT_EQ(parsed.command.verb, Verb::Play);
    EXPECT_EQ(parsed.command.device, "mp3stueck");
    EXPECT_TRUE(parsed.command.hasFrom);
    EXPECT_EQ(parsed.command.fromMs, 7u);
    EXPECT_TRUE(parsed.command.hasTo);
    EXPECT_EQ(parsed.command.toMs, 9u);
    EXPECT_TRUE(parsed.command.notify);
    EXPECT_FALSE(parsed.command.wait);

    const auto seek = ParseCommand("SEEK x TO END WAIT");
    ASSERT_EQ(seek.error, 0u);
    EXPECT_EQ(seek.command.seekTarget, SeekTarget::End);
    EXPECT_TRUE(seek.command.wait);
    EXPECT_EQ(ParseCommand("Status x LENGTH").command.statusItem, StatusItem::Length);
    EXPECT_EQ(ErrorOf("set x Time Format MilliSeconds"), 0u);
}

TEST(MciParser, ElementsKeepSpacesQuotesAndOddCharacters) {
    const auto quoted = ParseCommand("open \"/m/a  b/-&_\\ä.mp3\" type MPEGVideo alias Song");
    ASSERT_EQ(quoted.error, 0u);
    EXPECT_EQ(quoted.command.device, "/m/a  b/-&_\\ä.mp3");
    EXPECT_EQ(quoted.command.alias, "Song");

    const auto bare = ParseCommand("open /m/x.mp3");
    ASSERT_EQ(bare.error, 0u);
    EXPECT_EQ(bare.command.device, "/m/x.mp3");
    EXPECT_TRUE(bare.command.alias.empty());
}

// A double quote inside a path must never let a part of it be read as another file or keyword.
TEST(MciParser, DoubleQuotesInsideAnElementAreRejected) {
    EXPECT_EQ(ErrorOf("open \"/m/a\"b.mp3\" alias MP3Stueck"), mci::MCIERR_EXTRA_CHARACTERS);
    EXPECT_EQ(ErrorOf("open \"/m/a\" b.mp3\" alias MP3Stueck"), mci::MCIERR_EXTRA_CHARACTERS);
    EXPECT_EQ(ErrorOf("open \"/m/ab.mp3\"\" alias MP3Stueck"), mci::MCIERR_EXTRA_CHARACTERS);
    EXPECT_EQ(ErrorOf("open /m/a\"b.mp3"), mci::MCIERR_EXTRA_CHARACTERS);
    EXPECT_EQ(ErrorOf("open \"/m/a b.mp3 alias x"), mci::MCIERR_NO_CLOSING_QUOTE);
    EXPECT_EQ(ErrorOf("\""), mci::MCIERR_NO_CLOSING_QUOTE);
}

TEST(MciParser, CommandAndDeviceNameErrors) {
    EXPECT_EQ(ErrorOf(""), mci::MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(ErrorOf(" \t\r\n"), mci::MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(ErrorOf("spiel x"), mci::MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(ErrorOf("\"play\" x"), mci::MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(ErrorOf("play"), mci::MCIERR_MISSING_DEVICE_NAME);
    EXPECT_EQ(ErrorOf("close \"\""), mci::MCIERR_MISSING_DEVICE_NAME);
    EXPECT_EQ(ErrorOf("play all"), mci::MCIERR_CANNOT_USE_ALL);
    EXPECT_EQ(ErrorOf("close ALL"), 0u);
    EXPECT_EQ(ErrorOf("open x.mp3 alias all"), mci::MCIERR_CANNOT_USE_ALL);
}

TEST(MciParser, NumbersAreUnsigned32BitDecimals) {
    const auto biggest = ParseCommand("seek x to 4294967295");
    ASSERT_EQ(biggest.error, 0u);
    EXPECT_EQ(biggest.command.seekTarget, SeekTarget::Position);
    EXPECT_EQ(biggest.command.seekMs, 4294967295u);
    EXPECT_EQ(ParseCommand("seek x to 0").command.seekMs, 0u);
    EXPECT_EQ(ErrorOf("seek x to 4294967296"), mci::MCIERR_BAD_INTEGER);
    EXPECT_EQ(ErrorOf("seek x to 99999999999999999999999"), mci::MCIERR_BAD_INTEGER);
    EXPECT_EQ(ErrorOf("play x from -1"), mci::MCIERR_BAD_INTEGER);
    EXPECT_EQ(ErrorOf("play x from 12ms"), mci::MCIERR_BAD_INTEGER);
    EXPECT_EQ(ErrorOf("play x from +5"), mci::MCIERR_BAD_INTEGER);
    EXPECT_EQ(ErrorOf("play x from \"\""), mci::MCIERR_BAD_INTEGER);
    EXPECT_EQ(ErrorOf("play x from"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("play x to"), mci::MCIERR_MISSING_PARAMETER);
}

TEST(MciParser, KeywordErrorsPerCommand) {
    EXPECT_EQ(ErrorOf("pause x now"), mci::MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ErrorOf("play x \"from\" 1"), mci::MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ErrorOf("play x repeat"), mci::MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ErrorOf("play x from 1 from 2"), mci::MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(ErrorOf("stop x wait wait"), mci::MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(ErrorOf("open x.mp3 alias a alias b"), mci::MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(ErrorOf("open x.mp3 alias"), mci::MCIERR_MISSING_STRING_ARGUMENT);
    EXPECT_EQ(ErrorOf("open x.mp3 type waveaudio"), mci::MCIERR_INVALID_DEVICE_NAME);

    EXPECT_EQ(ErrorOf("status x"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("status x wait"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("status x position length"), mci::MCIERR_FLAGS_NOT_COMPATIBLE);
    EXPECT_EQ(ErrorOf("status x volume"), mci::MCIERR_UNRECOGNIZED_KEYWORD);

    EXPECT_EQ(ErrorOf("set x"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("set x time"), mci::MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(ErrorOf("set x time format"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("set x time format frames"), mci::MCIERR_BAD_TIME_FORMAT);
    EXPECT_EQ(ErrorOf("set x audio all off"), mci::MCIERR_UNRECOGNIZED_KEYWORD);

    EXPECT_EQ(ErrorOf("seek x"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("seek x to"), mci::MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ErrorOf("seek x to start to end"), mci::MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(ErrorOf("seek x from 5"), mci::MCIERR_UNRECOGNIZED_KEYWORD);
}

}  // namespace
