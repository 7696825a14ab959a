// The first frame header: decoding the bits into texts, finding the header behind ID3v2 tags,
// the duration estimate, real files made with lame, and songs that cannot be read.
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

// A header: version and layer codes in B1, bitrate and sampling-rate codes in B2.
FrameHeaderTexts Decode(int version, int layer, int bitrate, int sampleRate) {
    const auto b1 = std::uint8_t(0xE0 | version << 3 | layer << 1 | 1);
    const auto b2 = std::uint8_t(bitrate << 4 | sampleRate << 2);
    return DecodeFrameHeader(b1, b2);
}

constexpr int V1 = 3, V2 = 2, V25 = 0, VReserved = 1;  // version codes
constexpr int L1 = 3, L2 = 2, L3 = 1, LReserved = 0;   // layer codes

const std::string Mpeg1Layer3At128("\xFF\xFB\x90\x00", 4);  // 128 kbit/s, 44100 Hz

}  // namespace

TEST(BitOfByte, CountsFromTheLeastSignificantBit) {
    EXPECT_EQ(BitOfByte(0x01, 1), 1);
    EXPECT_EQ(BitOfByte(0x01, 2), 0);
    EXPECT_EQ(BitOfByte(0x80, 8), 1);
    EXPECT_EQ(BitOfByte(0x7F, 8), 0);
    EXPECT_EQ(BitOfByte(0xFF, 0), 0);  // outside 1..8
    EXPECT_EQ(BitOfByte(0xFF, 9), 0);
}

TEST(FrameHeaderDecoding, TheDocumentedExamples) {
    const FrameHeaderTexts a = DecodeFrameHeader(0xFB, 0x90);
    EXPECT_EQ(a.bitrateText, "128");
    EXPECT_EQ(a.sampleRateText, "44100");
    EXPECT_EQ(EstimateDuration(4000000, a), 250);
    const FrameHeaderTexts b = DecodeFrameHeader(0xF3, 0x84);
    EXPECT_EQ(b.bitrateText, "64");
    EXPECT_EQ(b.sampleRateText, "24000");
}

TEST(FrameHeaderDecoding, EveryRowAtItsLowestAndHighestCode) {
    struct Case {
        int version, layer;
        const char *first, *fourteenth;
    };
    for (const Case& c :
         {Case{V1, L1, "32", "448"}, Case{V1, L2, "32", "384"}, Case{V1, L3, "32", "320"},
          Case{V2, L1, "32", "448"}, Case{V2, L2, "32", "384"}, Case{V2, L3, "8", "320"}}) {
        EXPECT_EQ(Decode(c.version, c.layer, 1, 0).bitrateText, c.first);
        EXPECT_EQ(Decode(c.version, c.layer, 14, 0).bitrateText, c.fourteenth);
        EXPECT_EQ(Decode(c.version, c.layer, 15, 0).bitrateText, "-1");
        EXPECT_EQ(Decode(c.version, c.layer, 0, 0).bitrateText, c.first);  // 0000: field 1
    }
}

TEST(FrameHeaderDecoding, VersionTwoLayerThreeKeepsItsOwnRow) {
    // Not the ascending row of the standard: codes 5, 6, 9, 10, 13 read 64, 80, 128, 160, 256.
    EXPECT_EQ(Decode(V2, L3, 5, 0).bitrateText, "64");
    EXPECT_EQ(Decode(V2, L3, 6, 0).bitrateText, "80");
    EXPECT_EQ(Decode(V2, L3, 7, 0).bitrateText, "56");
    EXPECT_EQ(Decode(V2, L3, 13, 0).bitrateText, "256");
    EXPECT_EQ(Decode(V2, L2, 8, 0).bitrateText, "128");  // the version 1 row
}

TEST(FrameHeaderDecoding, SamplingRatesByVersion) {
    const char* v1[] = {"44100", "48000", "32000", "?????"};
    const char* v2[] = {"22050", "24000", "16000", "?????"};
    for (int code = 0; code < 4; ++code) {
        EXPECT_EQ(Decode(V1, L3, 9, code).sampleRateText, v1[code]);
        EXPECT_EQ(Decode(V2, L3, 9, code).sampleRateText, v2[code]);
        EXPECT_EQ(Decode(V25, L3, 9, code).sampleRateText, "");
        EXPECT_EQ(Decode(VReserved, L3, 9, code).sampleRateText, "");
    }
}

TEST(FrameHeaderDecoding, NoRowLeavesTheBitrateEmpty) {
    EXPECT_EQ(Decode(V25, L3, 9, 0).bitrateText, "");
    EXPECT_EQ(Decode(VReserved, L1, 9, 0).bitrateText, "");
    EXPECT_EQ(Decode(V1, LReserved, 9, 0).bitrateText, "");
    EXPECT_EQ(Decode(V2, LReserved, 9, 0).bitrateText, "");
}

TEST(FrameHeaderDuration, NeedsTwoUsableTexts) {
    EXPECT_EQ(EstimateDuration(4000000, {"-1", "44100"}), 0);
    EXPECT_EQ(EstimateDuration(4000000, {"128", "?????"}), 0);
    EXPECT_EQ(EstimateDuration(4000000, {"", ""}), 0);
    EXPECT_EQ(EstimateDuration(4000000, {"8", "22050"}), 4000);
    EXPECT_EQ(EstimateDuration(15999, {"128", "44100"}), 0);  // truncated, not rounded
    EXPECT_EQ(EstimateDuration(16000, {"128", "44100"}), 1);
}

TEST(FrameHeaderDuration, LongEstimatesAreHeldAtTheLargestStoredValue) {
    EXPECT_EQ(EstimateDuration(32767ull * 16000, {"128", "44100"}), 32767);
    EXPECT_EQ(EstimateDuration(32768ull * 16000, {"128", "44100"}), 32767);
    EXPECT_EQ(EstimateDuration(~0ull, {"8", "22050"}), 32767);
}

TEST(FrameHeaderSearch, TakesTheFirstByte255WithoutASyncTest) {
    EXPECT_EQ(AnalyseHeaderBytes(Bytes("abc" + Mpeg1Layer3At128)).texts.bitrateText, "128");
    // 255 followed by bytes that are no header at all still decides.
    const auto garbage = AnalyseHeaderBytes(Bytes("\x01\xFF\x00\x00\xFF\xFB\x90"));
    EXPECT_EQ(garbage.texts.bitrateText, "");
    EXPECT_EQ(garbage.texts.sampleRateText, "");
    // 255 255: the second one is B1.
    EXPECT_EQ(AnalyseHeaderBytes(Bytes("\xFF\xFF\xF0")).texts.bitrateText, "-1");
}

TEST(FrameHeaderSearch, NoUsableByte255MeansNoHeader) {
    for (const std::string& bytes :
         {std::string(), std::string(5000, '\0'), std::string("ab\xFF"), std::string("\xFF\xFB"),
          std::string("ab\xFF\xFB"), std::string("ID3")}) {
        const auto info = AnalyseHeaderBytes(Bytes(bytes));
        EXPECT_EQ(info.texts.bitrateText, "");
        EXPECT_EQ(info.texts.sampleRateText, "");
        EXPECT_EQ(info.duration, 0);
    }
    // Two bytes after the 255 are enough; the third is never used.
    EXPECT_EQ(AnalyseHeaderBytes(Bytes("\xFF\xFB\x90")).texts.sampleRateText, "44100");
}

TEST(FrameHeaderSearch, SkipsLeadingId3v2Tags) {
    const std::string picture(3000, '\xFF');
    const std::string audio = Mpeg1Layer3At128 + std::string(16000, '\0');
    const std::string tagged = Id3v2Tag(picture) + audio;
    EXPECT_EQ(FrameSearchStart(Bytes(tagged)), 3010u);
    const auto info = AnalyseHeaderBytes(Bytes(tagged));
    EXPECT_EQ(info.texts.bitrateText, "128");
    EXPECT_EQ(info.duration, 1);  // the whole file counts, tag included: 19014 bytes

    // A footer adds ten bytes; a second tag right after the first is skipped too.
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag(picture, 0x10) + audio)), 3020u);
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag("ab") + Id3v2Tag(picture) + audio)), 3022u);
    // The size counts seven bits a byte: 0x01 0x00 is 128, not 256.
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag(std::string(128, 'x')) + audio)), 138u);
}

TEST(FrameHeaderSearch, OnlyWellFormedTagHeadersAreSkipped) {
    const std::string audio = Mpeg1Layer3At128;
    const std::string sizeWithHighBit("ID3\x03\x00\x00\x00\x00\x00\x80", 10);
    const std::string versionFF("ID3\xFF\x00\x00\x00\x00\x00\x01", 10);
    const std::string revisionFF("ID3\x03\xFF\x00\x00\x00\x00\x01", 10);
    const std::string lowerCase("id3\x03\x00\x00\x00\x00\x00\x01", 10);
    for (const std::string& notATag : {sizeWithHighBit, versionFF, revisionFF, lowerCase}) {
        EXPECT_EQ(FrameSearchStart(Bytes(notATag + audio)), 0u);
    }
    // Searching from the start then takes the 255 in the header bytes.
    EXPECT_EQ(AnalyseHeaderBytes(Bytes(versionFF + audio)).texts.bitrateText, "");
}

TEST(FrameHeaderSearch, TagRunningPastTheEndLeavesNoHeader) {
    const std::string tag = Id3v2Tag(std::string(100, 'x'));
    const std::string cut = tag.substr(0, 50) + Mpeg1Layer3At128;
    EXPECT_EQ(FrameSearchStart(Bytes(cut)), std::nullopt);
    EXPECT_EQ(AnalyseHeaderBytes(Bytes(cut)).texts.bitrateText, "");
    // A tag ending exactly at the end of the file leaves nothing to search either.
    EXPECT_EQ(AnalyseHeaderBytes(Bytes(tag)).texts.bitrateText, "");
    // Its footer missing counts as running past the end.
    EXPECT_EQ(FrameSearchStart(Bytes(Id3v2Tag("ab", 0x10).substr(0, 12))), std::nullopt);
}

TEST(FrameHeaderSearch, ReadingInBlocksFindsTheSameByteAsReadingOneByOne) {
    TempFolder folder;
    std::mt19937 random(1234);
    // 255 placed at and around block edges, behind tags longer than a block, or missing.
    std::vector<std::string> files;
    for (std::size_t at : {0u, 1u, 4093u, 4094u, 4095u, 4096u, 4097u, 8191u, 12288u}) {
        std::string bytes(at, '\x11');
        bytes += "\xFF\xF3\x84";
        bytes += std::string(random() % 5000, '\x22');
        files.push_back(bytes);
        files.push_back(bytes.substr(0, at + 2));
        files.push_back(Id3v2Tag(std::string(5000 + at, '\xFF')) + bytes);
    }
    for (int n = 0; n < 30; ++n) {
        std::string bytes(random() % 10000, '\0');
        for (char& c : bytes) c = char(random() % 255);  // no 255 in the noise
        if (n % 2 && !bytes.empty()) bytes[random() % bytes.size()] = '\xFF';
        files.push_back(bytes);
    }
    for (const std::string& bytes : files) {
        // One byte at a time from where the search starts.
        FrameHeaderTexts expected;
        if (const auto start = FrameSearchStart(Bytes(bytes))) {
            for (std::size_t i = *start; i < bytes.size(); ++i) {
                if (std::uint8_t(bytes[i]) != 0xFF) continue;
                if (i + 2 < bytes.size())
                    expected =
                        DecodeFrameHeader(std::uint8_t(bytes[i + 1]), std::uint8_t(bytes[i + 2]));
                break;
            }
        }
        const std::string path = folder.File("song.mp3");
        ASSERT_TRUE(WriteFile(path, bytes));
        const SongHeaderInfo fromFile = AnalyseSongHeader(path);
        EXPECT_EQ(fromFile.texts.bitrateText, expected.bitrateText) << bytes.size();
        EXPECT_EQ(fromFile.texts.sampleRateText, expected.sampleRateText) << bytes.size();
        EXPECT_EQ(fromFile.duration, AnalyseHeaderBytes(Bytes(bytes)).duration);
    }
}

TEST(FrameHeaderFile, DurationUsesTheFullLengthPastFourGibibytes) {
    TempFolder folder;
    const std::string path = folder.File("huge.mp3");
    ASSERT_TRUE(WriteFile(path, Mpeg1Layer3At128));
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

class FrameHeaderLame : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    }
    SongHeaderInfo Made(const Mp3Options& options) {
        const std::string path = folder_.File("made.mp3");
        EXPECT_TRUE(MakeMp3(path, options));
        return AnalyseSongHeader(path);
    }
    TempFolder folder_;
};

TEST_F(FrameHeaderLame, Mpeg1And2Layer3) {
    const auto mpeg1 = Made({128, 44100, true, false, 2.0, "", ""});
    EXPECT_EQ(mpeg1.texts.bitrateText, "128");
    EXPECT_EQ(mpeg1.texts.sampleRateText, "44100");
    EXPECT_EQ(mpeg1.duration, 2);
    const auto mpeg2 = Made({64, 24000, false, false, 1.0, "", ""});
    EXPECT_EQ(mpeg2.texts.bitrateText, "64");
    EXPECT_EQ(mpeg2.texts.sampleRateText, "24000");
}

TEST_F(FrameHeaderLame, Mpeg25ShowsNothing) {
    const auto info = Made({8, 8000, false, false, 1.0, "", ""});
    EXPECT_EQ(info.texts.bitrateText, "");
    EXPECT_EQ(info.texts.sampleRateText, "");
    EXPECT_EQ(info.duration, 0);
}

TEST_F(FrameHeaderLame, TextTagsInUtf16DoNotHideTheHeader) {
    // Non-Latin text makes lame write UTF-16 behind the byte-order mark FF FE.
    const auto info = Made({128, 44100, true, false, 1.0, "Tïtel ☺", "Künstler"});
    EXPECT_EQ(info.texts.bitrateText, "128");
    EXPECT_EQ(info.texts.sampleRateText, "44100");
}
