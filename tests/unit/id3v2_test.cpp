// The ID3v2 reader: each version's frames and the four encodings, unsynchronisation, extended
// headers and frame flags, sizes past the end; tags lame wrote; and which tag the info message
// and the media controls take.
#include <gtest/gtest.h>

#include "support/test_files.h"
#include "trackinfo/frame_header.h"
#include "trackinfo/id3v1.h"
#include "trackinfo/id3v2.h"
#include "trackinfo/song_tags.h"

using testing_support::TempFolder;
using testing_support::WriteFile;
using namespace std::string_literals;

namespace {

std::string Syncsafe(std::size_t size) {
    return {char(size >> 21 & 0x7F), char(size >> 14 & 0x7F), char(size >> 7 & 0x7F),
            char(size & 0x7F)};
}

std::string Tag(int version, const std::string& body, int flags = 0) {
    return "ID3" + std::string{char(version), '\0', char(flags)} + Syncsafe(body.size()) + body;
}

// A frame of the given version: 2.2 has three-byte sizes, 2.3 plain and 2.4 syncsafe ones.
std::string Frame(int version, const std::string& id, const std::string& data, int flags = 0) {
    const std::size_t n = data.size();
    if (version == 2) return id + std::string{char(n >> 16), char(n >> 8), char(n)} + data;
    const std::string size = version == 3
                                 ? std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)}
                                 : Syncsafe(n);
    return id + size + std::string{'\0', char(flags)} + data;
}

// A text frame's data in Latin-1.
std::string Latin1(const char* text) {
    return "\0"s + text;
}

std::optional<TagFields> Parse(const std::string& bytes) {
    return ParseId3v2({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

std::string Joined(const TagFields& f) {
    return f.title + "|" + f.artist + "|" + f.album + "|" + f.year + "|" + f.comment;
}

const std::string Utf16Grusse =
    "\xFF\xFEG\0r\0\xFC\0\xDF\0"
    "e\0"s;                                                  // with the mark
const std::string Utf16BigEndianJapan = "\x65\xE5\x67\x2C";  // 日本

}  // namespace

TEST(Id3v2, FramesOfEachVersionInEachEncoding) {
    struct Case {
        std::string tag, expected;
    };
    for (const Case& c : {
             Case{Tag(2, Frame(2, "TT2", "\0Titel"s) + Frame(2, "TP1", "\0Wer"s) +
                             Frame(2, "TAL", "\0Album"s) + Frame(2, "TYE", Latin1("1999")) +
                             Frame(2, "COM", "\0deu\0Gut"s)),
                  "Titel|Wer|Album|1999|Gut"},
             // Latin-1, UTF-16 with its byte-order mark (each string of a comment has its own);
             // only the first comment counts.
             Case{
                 Tag(3, Frame(3, "TIT2",
                              "\0Gr\xFC\xDF"
                              "e"s) +
                            Frame(3, "TPE1", "\x01" + Utf16Grusse + "\0\0x"s) +
                            Frame(3, "COMM",
                                  "\x01"
                                  "eng\xFF\xFE\0\0\xFF\xFEK\0"s) +
                            Frame(3, "COMM", "\0eng\0zweiter"s) + Frame(3, "TYER", Latin1("2001"))),
                 "Grüße|Grüße||2001|K"},
             // UTF-16 big-endian without a mark; UTF-8, its first value only, and with a cut
             // sequence; the year of a recording time.
             Case{Tag(4, Frame(4, "TIT2", "\x02" + Utf16BigEndianJapan) +
                             Frame(4, "TPE1", "\x03K\xC3\xBCnstler\0Zweiter"s) +
                             Frame(4, "TALB", "\x03 bad \xC3"s) +
                             Frame(4, "TDRC", Latin1("2004-05-01T12:00"))),
                  "日本|Künstler|bad \xEF\xBF\xBD|2004|"},
             // Padding ends the frames; an unknown encoding leaves the field empty.
             Case{Tag(3, Frame(3, "TIT2", "\x07x") + std::string(20, '\0') +
                             Frame(3, "TPE1", "\0Nie"s)),
                  "||||"},
         }) {
        const auto fields = Parse(c.tag);
        ASSERT_TRUE(fields);
        EXPECT_EQ(Joined(*fields), c.expected);
    }
}

TEST(Id3v2, UnsynchronisationExtendedHeadersAndFrameFlags) {
    struct Case {
        std::string tag, expected;
    };
    // 2.3 unsynchronises the whole tag, its sizes counting the bytes after undoing it.
    std::string stored23;
    for (char c : Frame(3, "TIT2", "\0\xFF\xFF"s))
        stored23 += c == '\xFF' ? "\xFF\0"s : std::string(1, c);
    for (const Case& c : {
             Case{Tag(3, stored23, 0x80), "\xC3\xBF\xC3\xBF||||"},  // ÿÿ
             Case{Tag(3, "\0\0\0\x06"s + std::string(6, '\0') + Frame(3, "TIT2", "\0Lied"s), 0x40),
                  "Lied||||"},
             Case{Tag(4, Syncsafe(6) + "\x01\0"s + Frame(4, "TIT2", "\0Lied"s), 0x40), "Lied||||"},
             // 2.4: unsynchronised frame (flag 0x02) behind a data length indicator (0x01).
             Case{Tag(4, Frame(4, "TIT2", "\0\0\0\x03\0\xFF\0\xFF\0"s, 0x03)),
                  "\xC3\xBF\xC3\xBF||||"},
             // Compressed or encrypted frames are skipped: the next frame of the kind counts.
             Case{Tag(3, Frame(3, "TIT2", "\0\0\0\x09xyz"s, 0x80) +
                             Frame(3, "TPE1", "\0geheim"s, 0x40) +
                             Frame(3, "TPE1", "G\0Wer"s, 0x20) + Frame(3, "TIT2", "\0Klar"s)),
                  "Klar|Wer|||"},
             Case{Tag(4, Frame(4, "TIT2", "\0x"s, 0x08) + Frame(4, "TALB", "G\0Album"s, 0x40)),
                  "||Album||"},
         }) {
        const auto fields = Parse(c.tag);
        ASSERT_TRUE(fields);
        EXPECT_EQ(Joined(*fields), c.expected);
    }
}

TEST(Id3v2, SizesPastTheEndReadWhatIsThereAndOtherBytesAreNoTag) {
    const std::string tag = Tag(3, Frame(3, "TIT2", "\0Langer Titel"s));
    EXPECT_EQ(Parse(tag.substr(0, tag.size() - 6))->title, "Langer");
    std::string frameTooLong = Tag(4, Frame(4, "TPE1", "\0Wer"s));
    frameTooLong[17] = 0x7F;  // the frame claims 127 bytes
    EXPECT_EQ(Parse(frameTooLong)->artist, "Wer");
    for (const std::string& notATag : {std::string("ID3"), Tag(5, ""), Tag(1, ""),
                                       "TAG"s + std::string(20, '\0'), Tag(2, "", 0x40)}) {
        EXPECT_EQ(Parse(notATag), std::nullopt);
    }
}

TEST(Id3v2, TagsLameWroteAndAHandMadeVersion24Tag) {
    if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    TempFolder folder;
    const std::string title = "Grüße aus 日本", artist = "Künstlerin", album = "Ämter";
    testing_support::Mp3Options options;
    options.lameOptions = {"--id3v2-only", "--id3v2-utf16", "--tt", title,
                           "--ta",         artist,          "--tl", album};
    const std::string lamePath = folder.File("lame.mp3");
    ASSERT_TRUE(testing_support::MakeMp3(lamePath, options));
    const auto fromLame = ReadId3v2Fields(lamePath);
    ASSERT_TRUE(fromLame);
    EXPECT_EQ(fromLame->title, title);
    EXPECT_EQ(fromLame->artist, artist);
    EXPECT_EQ(fromLame->album, album);

    // The same text as UTF-8 in a version 2.4 tag before a song lame made without tags.
    const std::string plainPath = folder.File("plain.mp3");
    ASSERT_TRUE(testing_support::MakeMp3(plainPath));
    const std::string tagged =
        Tag(4, Frame(4, "TIT2", "\x03" + title) + Frame(4, "TPE1", "\x03" + artist) +
                   Frame(4, "TALB", "\x03" + album)) +
        testing_support::ReadFile(plainPath);
    const std::string path = folder.File("v24.mp3");
    ASSERT_TRUE(WriteFile(path, tagged));
    EXPECT_EQ(ReadTagInfo(path), "Titel: " + title + "\rInterpret: " + artist +
                                     "\rAlbum: " + album + "\rJahr: \rKommentar: \r");
    EXPECT_EQ(AnalyseSongHeader(path).texts.bitrateText, "128");
}

TEST(SongTags, InfoTakesId3v1FirstMediaTakesId3v2FirstThenTheOther) {
    TempFolder folder;
    std::string id3v1 = "TAG" + std::string(125, '\0');
    id3v1.replace(3, 5, "Eins1");
    id3v1.replace(33, 6, "Wer v1");
    const std::string id3v2 = Tag(3, Frame(3, "TIT2", "\0Zwei"s));
    struct Case {
        std::string bytes, info, mediaTitle, mediaArtist;
    };
    for (const Case& c : {
             Case{id3v2 + "audio" + id3v1,
                  "Titel: Eins1\rInterpret: Wer v1\rAlbum: \rJahr: \r"
                  "Kommentar: \r",
                  "Zwei", "Wer v1"},
             Case{id3v2 + "audio", "Titel: Zwei\rInterpret: \rAlbum: \rJahr: \rKommentar: \r",
                  "Zwei", ""},
             Case{"audio", Id3v1MissingText, "", ""},
         }) {
        const std::string path = folder.File("song.mp3");
        ASSERT_TRUE(WriteFile(path, c.bytes));
        EXPECT_EQ(ReadTagInfo(path), c.info);
        const TagFields media = ReadMediaTags(path);
        EXPECT_EQ(media.title, c.mediaTitle);
        EXPECT_EQ(media.artist, c.mediaArtist);
    }
    EXPECT_EQ(ReadTagInfo(folder.File("missing.mp3")), std::nullopt);
}
