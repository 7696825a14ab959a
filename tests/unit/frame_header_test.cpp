// The first real frame of a song: the standard's values for each version and layer, junk and
// false syncs before it, the search's bound, Xing, Info and VBRI headers, the length of the
// audio without its tags, and files made with lame compared with what lame was told.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "support/test_files.h"
#include "trackinfo/frame_header.h"

using testing_support::Id3v2Tag;
using testing_support::MakeMp3;
using testing_support::Mp3Options;
using testing_support::TempFolder;
using testing_support::WriteFile;

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// MPEG-1 layer 3, 128 kbit/s, 44100 Hz, joint stereo: frames of 417 bytes without padding.
const std::string Mpeg1Header("\xFF\xFB\x90\x44", 4);
constexpr std::size_t Mpeg1FrameBytes = 417;

// count frames of the given header and length, the header's first frame holding head.
std::string Frames(const std::string& header, std::size_t frameBytes, int count,
                   const std::string& head = "") {
    std::string first = header + head;
    first.resize(frameBytes, '\0');
    std::string frames = first;
    for (int i = 1; i < count; ++i) frames += header + std::string(frameBytes - 4, '\x11');
    return frames;
}

std::string BigEndian(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

SongHeaderInfo Analyse(const std::string& bytes) {
    return AnalyseHeaderBytes(Bytes(bytes));
}

}  // namespace

TEST(FrameHeader, EachVersionAndLayerShowsTheStandardsValues) {
    struct Case {
        const char* header;
        const char *bitrate, *sampleRate;
    };
    // A header alone: the file ends where its frame would, so nothing contradicts it.
    for (const Case& c : {
             Case{"\xFF\xFB\x90\x00", "128", "44100"},  // MPEG-1 layer 3
             Case{"\xFF\xFD\x94\x00", "160", "48000"},  // MPEG-1 layer 2
             Case{"\xFF\xFF\x98\x00", "288", "32000"},  // MPEG-1 layer 1
             Case{"\xFF\xF3\x84\x00", "64", "24000"},   // MPEG-2 layer 3
             Case{"\xFF\xF3\x94\x00", "80", "24000"},
             Case{"\xFF\xF3\xE0\x00", "160", "22050"},
             Case{"\xFF\xF5\xA8\x00", "96", "16000"},   // MPEG-2 layer 2
             Case{"\xFF\xF7\x90\x00", "144", "22050"},  // MPEG-2 layer 1
             Case{"\xFF\xE3\x10\x00", "8", "11025"},    // MPEG-2.5 layer 3
             Case{"\xFF\xE3\xE4\x00", "160", "12000"},
             Case{"\xFF\xE3\x58\x00", "40", "8000"},
         }) {
        const SongHeaderInfo info = Analyse(std::string(c.header, 4));
        EXPECT_EQ(info.texts.bitrateText, c.bitrate) << c.bitrate << " " << c.sampleRate;
        EXPECT_EQ(info.texts.sampleRateText, c.sampleRate) << c.bitrate << " " << c.sampleRate;
    }
}

TEST(FrameHeader, ReservedFieldsBrokenSyncAndJunkAreNoFrame) {
    const std::string stream = Frames(Mpeg1Header, Mpeg1FrameBytes, 3);
    for (const char* junk : {
             "\xFF\xDB\x90\x00",  // only ten sync bits
             "\xFF\xEB\x90\x00",  // reserved version
             "\xFF\xF9\x90\x00",  // reserved layer
             "\xFF\xFB\xF0\x00",  // bitrate code 15
             "\xFF\xFB\x9C\x00",  // reserved sampling rate
             "\xFF\xFF\xFF\xFF",
         }) {
        const SongHeaderInfo alone = Analyse(std::string(junk, 4));
        EXPECT_EQ(alone.texts.bitrateText, "");
        EXPECT_EQ(alone.texts.sampleRateText, "");
        EXPECT_EQ(alone.duration, 0);
        // Before a real stream, the stream's first frame is taken.
        const SongHeaderInfo before = Analyse("abc" + std::string(junk, 4) + stream);
        EXPECT_EQ(before.texts.bitrateText, "128");
        EXPECT_EQ(before.texts.sampleRateText, "44100");
    }
}

TEST(FrameHeader, AHeaderWhoseFrameIsNotFollowedByAnotherIsJunk) {
    // A valid-looking MPEG-1 header with noise where its next header should be, then a real
    // MPEG-2 stream (64 kbit/s, 24000 Hz: frames of 192 bytes).
    const std::string mpeg2 = Frames(std::string("\xFF\xF3\x84\xC4", 4), 192, 4);
    const std::string junk = Mpeg1Header + std::string(600, '\x22');
    const SongHeaderInfo info = Analyse(junk + mpeg2);
    EXPECT_EQ(info.texts.bitrateText, "64");
    EXPECT_EQ(info.texts.sampleRateText, "24000");
    // A following header of another sampling rate does not confirm it either.
    const std::string other = Frames(std::string("\xFF\xFB\x94\x44", 4), 384, 1);  // 48000 Hz
    EXPECT_EQ(Analyse(Mpeg1Header + std::string(413, '\0') + other).texts.sampleRateText, "48000");
}

TEST(FrameHeader, FalseSyncInAnId3v2PictureIsSkippedWithTheTag) {
    std::string picture = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(3000, '\xFF');
    picture += std::string("\xFF\xF3\x84\xC4", 4) + std::string(188, '\0') + "\xFF\xF3\x84\xC4";
    const std::string audio = Frames(Mpeg1Header, Mpeg1FrameBytes, 40);
    const std::string tagged = Id3v2Tag(picture) + audio;
    EXPECT_EQ(FrameSearchStart(Bytes(tagged)), 10 + picture.size());
    const SongHeaderInfo info = Analyse(tagged);
    EXPECT_EQ(info.texts.bitrateText, "128");
    EXPECT_EQ(info.duration, 1);  // 16680 bytes of audio; the tag does not count
    // A footer adds ten bytes; a second tag right after the first is skipped too.
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag(picture, 0x10) + audio)), 20 + picture.size());
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag("ab") + Id3v2Tag(picture) + audio)),
              22 + picture.size());
    // The size counts seven bits a byte: 0x01 0x00 is 128, not 256.
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag(std::string(128, 'x')) + audio)), 138u);
}

TEST(FrameHeader, SyncsThatStartNoStreamAreSkippedAndALastFrameBeforeATagCounts) {
    const std::string stream = Frames(Mpeg1Header, Mpeg1FrameBytes, 3);
    // Two false frames of 32 kbit/s at 32000 Hz (144 bytes each) agree with each other only.
    const std::string falsePair = Frames(std::string("\xFF\xFB\x18\x44", 4), 144, 2);
    const std::string freeFormat("\xFF\xFB\x04\x00", 4);  // no length to check it by
    for (const std::string& junk : {falsePair, freeFormat}) {
        const SongHeaderInfo info = Analyse("abc" + junk + std::string(300, '\x22') + stream);
        EXPECT_EQ(info.texts.bitrateText, "128");
        EXPECT_EQ(info.texts.sampleRateText, "44100");
    }
    // A song of one frame whose ID3v1, APE or Lyrics3 tag follows it.
    for (const char* tag : {"TAG", "APETAGEX", "LYRICSBEGIN"}) {
        const std::string one =
            Frames(Mpeg1Header, Mpeg1FrameBytes, 1) + tag + std::string(125, 'x');
        EXPECT_EQ(Analyse(Id3v2Tag("ab") + one).texts.bitrateText, "128") << tag;
    }
}

TEST(FrameHeader, OnlyWellFormedTagHeadersAreSkipped) {
    const std::string audio = Frames(Mpeg1Header, Mpeg1FrameBytes, 2);
    const std::string sizeWithHighBit("ID3\x03\x00\x00\x00\x00\x00\x80", 10);
    const std::string versionFF("ID3\xFF\x00\x00\x00\x00\x00\x01", 10);
    const std::string revisionFF("ID3\x03\xFF\x00\x00\x00\x00\x01", 10);
    const std::string lowerCase("id3\x03\x00\x00\x00\x00\x00\x01", 10);
    for (const std::string& notATag : {sizeWithHighBit, versionFF, revisionFF, lowerCase}) {
        EXPECT_EQ(FrameSearchStart(Bytes(notATag + audio)), 0u);
        EXPECT_EQ(Analyse(notATag + audio).texts.bitrateText, "128");
    }
}

TEST(FrameHeader, TagSizesAndFlagsAsTaggersWriteThem) {
    const std::string audio = Frames(Mpeg1Header, Mpeg1FrameBytes, 3);
    const std::string body(27000, 'x');
    const std::string plainSize("\x00\x00\x69\x78", 4);  // 27000 as a 32-bit number
    const std::string v23("ID3\x03\x00\x00", 6), v22("ID3\x02\x00\x00", 6);
    struct Case {
        std::string tag;
        std::uint64_t start;
    };
    for (const Case& c : {
             // Flag 0x10 means a footer in version 2.4 only.
             Case{std::string("ID3\x03\x00\x10", 6) + Id3v2Tag(body).substr(6), 27010},
             Case{v22 + Id3v2Tag(body).substr(6), 27010},
             // A size as a plain number, read as 7-bit bytes, would end inside the tag.
             Case{v23 + plainSize + body, 27010},
             Case{v23 + std::string("\x00\x00\x01\x80", 4) + std::string(384, 'x'), 394},
         }) {
        EXPECT_EQ(FrameSearchStart(Bytes(c.tag + audio)), c.start);
        EXPECT_EQ(Analyse(c.tag + audio).texts.bitrateText, "128");
    }
}

TEST(FrameHeader, TagRunningPastTheEndLeavesNoFrame) {
    const std::string tag = Id3v2Tag(std::string(100, 'x'));
    const std::string cut = tag.substr(0, 50) + Mpeg1Header;
    EXPECT_EQ(FrameSearchStart(Bytes(cut)), std::nullopt);
    EXPECT_EQ(Analyse(cut).texts.bitrateText, "");
    EXPECT_EQ(Analyse(tag).texts.bitrateText, "");
    // Its footer missing counts as running past the end.
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag("ab", 0x10).substr(0, 12))), std::nullopt);
}

TEST(FrameHeader, TheSearchGivesUpSixtyFourKibibytesPastTheTags) {
    const std::string stream = Frames(Mpeg1Header, Mpeg1FrameBytes, 2);
    const std::string tag = Id3v2Tag(std::string(5000, 'x'));
    for (const std::string& lead : {std::string(), tag}) {
        const std::string last = lead + std::string(FrameSearchLimit - 1, '\0') + stream;
        EXPECT_EQ(Analyse(last).texts.bitrateText, "128");
        const std::string past = lead + std::string(FrameSearchLimit, '\0') + stream;
        EXPECT_EQ(Analyse(past).texts.bitrateText, "");
    }
}

TEST(FrameHeader, XingInfoAndVbriHeadersGiveTheExactDurationAndTheAverage) {
    const std::string mpeg2Mono("\xFF\xF3\x84\xC4", 4);  // 64 kbit/s, 24000 Hz, one channel
    const std::string withCheck("\xFF\xFA\x90\x44", 4);  // Mpeg1Header with a 16-bit check
    const std::string xing = "Xing" + BigEndian(3) + BigEndian(6892) + BigEndian(1600000);
    const std::string vbri = "VBRI" + std::string(6, '\0') + BigEndian(1600000) + BigEndian(6892);
    struct Case {
        std::string header, head;
        std::size_t frameBytes;
        const char* bitrate;
        int seconds;
    };
    // 6892 frames of 1152 samples at 44100 Hz are 180.03 s; 1,600,000 bytes over them 71.1
    // kbit/s. 1000 frames of 576 samples at 24000 Hz are 24 s.
    for (const Case& c : {
             Case{Mpeg1Header, std::string(32, '\0') + xing, Mpeg1FrameBytes, "71", 180},
             Case{Mpeg1Header, std::string(32, '\0') + "Info" + BigEndian(1) + BigEndian(6892),
                  Mpeg1FrameBytes, "128", 180},
             Case{Mpeg1Header, std::string(32, '\0') + vbri, Mpeg1FrameBytes, "71", 180},
             // With the 16-bit check: after it, or where lame puts it, as if it were not there.
             Case{withCheck, std::string(34, '\0') + xing, Mpeg1FrameBytes, "71", 180},
             Case{withCheck, std::string(32, '\0') + xing, Mpeg1FrameBytes, "71", 180},
             Case{
                 mpeg2Mono,
                 std::string(9, '\0') + "Xing" + BigEndian(3) + BigEndian(1000) + BigEndian(192000),
                 192, "64", 24},
             // Without a frame count the length of the audio decides: 2 frames, 0 s.
             Case{Mpeg1Header, std::string(32, '\0') + "Xing" + BigEndian(2) + BigEndian(99),
                  Mpeg1FrameBytes, "128", 0},
         }) {
        const SongHeaderInfo info = Analyse(Frames(c.header, c.frameBytes, 2, c.head));
        EXPECT_EQ(info.texts.bitrateText, c.bitrate) << c.head.substr(c.head.size() - 16);
        EXPECT_EQ(info.duration, c.seconds) << c.head.substr(c.head.size() - 16);
    }
}

TEST(FrameHeader, TheDurationCountsTheAudioWithoutTags) {
    // 115 frames: 47955 bytes, 2.997 s; with a trailing tag counted they would be 3 s.
    const std::string audio = Frames(Mpeg1Header, Mpeg1FrameBytes, 115);
    const std::string id3v1 = "TAG" + std::string(125, 'x');
    EXPECT_EQ(Analyse(audio + id3v1).duration, 2);
    EXPECT_EQ(Analyse(Id3v2Tag(std::string(160000, '\xFF')) + audio + id3v1).duration, 2);
    EXPECT_EQ(Analyse(audio + "TAX" + std::string(125, 'x')).duration, 3);  // no tag: audio
}

TEST(FrameHeader, ReadingAFileInBlocksFindsWhatReadingItWholeFinds) {
    TempFolder folder;
    std::mt19937 random(1234);
    std::vector<std::string> files;
    // Frames placed at and around block edges (a frame at the end of a block, its successor in
    // the next), behind tags longer than a block, or cut short.
    for (std::size_t at : {0u, 4092u, 4093u, 4095u, 4096u, 8191u, 12288u}) {
        std::string bytes = std::string(at, '\x11') + Frames(Mpeg1Header, Mpeg1FrameBytes, 3);
        files.push_back(bytes);
        files.push_back(bytes.substr(0, at + 420));
        files.push_back(Id3v2Tag(std::string(5000 + at, '\xFF')) + bytes);
    }
    for (int n = 0; n < 30; ++n) {
        std::string bytes(random() % 10000, '\0');
        for (char& c : bytes) c = char(random() % 256);
        files.push_back(bytes);
    }
    for (const std::string& bytes : files) {
        const SongHeaderInfo whole = Analyse(bytes);
        const std::string path = folder.File("song.mp3");
        ASSERT_TRUE(WriteFile(path, bytes));
        const SongHeaderInfo fromFile = AnalyseSongHeader(path);
        EXPECT_EQ(fromFile.texts.bitrateText, whole.texts.bitrateText) << bytes.size();
        EXPECT_EQ(fromFile.texts.sampleRateText, whole.texts.sampleRateText) << bytes.size();
        EXPECT_EQ(fromFile.duration, whole.duration) << bytes.size();
    }
}

// An ID3v2 tag of about 27 KB with a genre list, event timing codes, a CD table of contents
// and synchronised lyrics, whose time stamps read as a stream of false frames (32 kbit/s,
// 32000 Hz, 144 bytes). plainSize: its size written as a 32-bit number, as some taggers do.
std::string LargeTag(char version, bool plainSize) {
    const auto frame = [version](const char* ids, const std::string& data) {
        const std::string size = BigEndian(std::uint32_t(data.size()));
        if (version == 2) return std::string(ids + 5, 3) + size.substr(1) + data;
        return std::string(ids, 4) + size + std::string(2, '\0') + data;
    };
    std::string events(1, '\x02'), toc("\x01\x0C", 2), lyrics("\0eng\x02\x01\0", 7);
    for (std::uint32_t i = 0; i < 12; ++i) {
        events += '\xFF';
        events += BigEndian(0xFFFB1844u + i);
        toc += std::string("\0\x14", 2) + char(i + 1) + '\0' + BigEndian(i * 0xFFFB18u);
    }
    for (std::uint32_t i = 0; i < 1500; ++i) {
        lyrics += std::string("Liedzeile 1\0", 12);
        lyrics += BigEndian(0xFFFB1800u + (i & 3));
    }
    std::string body = frame("TCON TCO", std::string("\0(17)(105)Rock\0Pop", 19)) +
                       frame("ETCO ETC", events) + frame("MCDI MCI", toc) +
                       frame("SYLT SLT", lyrics);
    body.resize(27000, '\0');
    std::string tag = Id3v2Tag(body);
    tag[3] = version;
    if (plainSize) tag.replace(6, 4, BigEndian(std::uint32_t(body.size())));
    return tag;
}

TEST(AnalyseSongHeader, DurationUsesTheFullLengthPastFourGibibytes) {
    TempFolder folder;
    const std::string path = folder.File("huge.mp3");
    ASSERT_TRUE(WriteFile(path, Frames(Mpeg1Header, Mpeg1FrameBytes, 3)));
    std::error_code error;
    // Cut to 32 bits this length would be 16000 bytes, one second.
    std::filesystem::resize_file(path, (1ull << 32) + 16000, error);
    if (error) GTEST_SKIP() << "no sparse files here";
    EXPECT_EQ(AnalyseSongHeader(path).duration, 32767);
}

TEST(AnalyseSongHeader, UnreadableOrHeaderlessSongsGiveEmptyTextsAndNoDuration) {
    TempFolder folder;
    const std::string path = folder.File("empty.mp3");
    ASSERT_TRUE(WriteFile(path, ""));
    for (const std::string& song : {folder.File("missing.mp3"), path, folder.Path()}) {
        const SongHeaderInfo info = AnalyseSongHeader(song);
        EXPECT_EQ(info.texts.bitrateText, "") << song;
        EXPECT_EQ(info.texts.sampleRateText, "") << song;
        EXPECT_EQ(info.duration, 0) << song;
    }
}

TEST(AnalyseSongHeader, FilesMadeWithLameShowWhatLameWasTold) {
    if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    TempFolder folder;
    // A 160 KB cover full of 255 bytes, false syncs among them.
    std::string cover = "\xFF\xD8\xFF\xE0" + std::string(160000, '\0');
    for (std::size_t i = 4; i < cover.size(); i += 7) cover.replace(i, 4, "\xFF\xFB\x90\x44");
    ASSERT_TRUE(WriteFile(folder.File("cover.jpg"), cover));
    const std::vector<std::string> withCover = {"--ti", folder.File("cover.jpg")};
    struct Case {
        Mp3Options options;
        const char *bitrate, *sampleRate;  // nullptr: the average, within 2 kbit/s
    };
    std::vector<Case> cases = {
        {{128, 44100, true, false, 2.0, "", "", {}}, "128", "44100"},
        {{64, 22050, false, false, 10.0, "", "", {}}, "64", "22050"},
        {{16, 8000, false, false, 10.0, "", "", {}}, "16", "8000"},
        {{192, 44100, true, false, 180.0, "", "", withCover}, "192", "44100"},
        {{32, 44100, true, true, 180.0, "", "", {"-V", "2"}}, nullptr, "44100"},
        {{32, 44100, true, true, 180.0, "", "", {"-V", "2", "--ti", withCover[1]}},
         nullptr,
         "44100"},
    };
    for (const Case& c : cases) {
        const std::string path = folder.File("made.mp3");
        ASSERT_TRUE(MakeMp3(path, c.options));
        const SongHeaderInfo info = AnalyseSongHeader(path);
        const auto told = int(c.options.seconds);
        EXPECT_EQ(info.duration, told) << c.options.bitrateKbps;
        EXPECT_EQ(info.texts.sampleRateText, c.sampleRate) << c.options.bitrateKbps;
        if (c.bitrate) {
            EXPECT_EQ(info.texts.bitrateText, c.bitrate);
            continue;
        }
        const std::string bytes = testing_support::ReadFile(path);
        const std::uint64_t audio = bytes.size() - *FrameSearchStart(Bytes(bytes));
        const double average = double(audio) * 8 / c.options.seconds / 1000;
        EXPECT_NEAR(std::stoi(info.texts.bitrateText), average, 2.0);
    }
}

TEST(AnalyseSongHeader, TheFirstFrameBehindLargeAndOldTagsIsFound) {
    if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    TempFolder folder;
    struct Case {
        char version;
        bool plainSize;
        Mp3Options options;
        const char *bitrate, *sampleRate;  // nullptr: the Xing frame's average
    };
    for (const Case& c : {
             Case{3, false, {32, 44100, true, true, 5.0, "", "", {"-V", "0"}}, nullptr, "44100"},
             Case{3, true, {32, 44100, true, true, 5.0, "", "", {"-V", "0"}}, nullptr, "44100"},
             Case{2, false, {128, 22050, false, false, 1.0, "", "", {}}, "128", "22050"},
         }) {
        ASSERT_TRUE(MakeMp3(folder.File("made.mp3"), c.options));
        const std::string lame = testing_support::ReadFile(folder.File("made.mp3"));
        ASSERT_TRUE(WriteFile(folder.File("tagged.mp3"), LargeTag(c.version, c.plainSize) + lame));
        const SongHeaderInfo info = AnalyseSongHeader(folder.File("tagged.mp3"));
        EXPECT_EQ(info.texts.sampleRateText, c.sampleRate);
        EXPECT_EQ(info.duration, int(c.options.seconds));
        if (c.bitrate) {
            EXPECT_EQ(info.texts.bitrateText, c.bitrate);
        } else {
            const double average = double(lame.size()) * 8 / c.options.seconds / 1000;
            EXPECT_NEAR(std::stoi(info.texts.bitrateText), average, 2.0);
        }
    }
}
