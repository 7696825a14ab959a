// The ID3v1 tag at the end of a song and the info text built from it.
#include <gtest/gtest.h>

#include "support/test_files.h"
#include "trackinfo/id3v1.h"
#include "trackinfo/windows1252.h"

using testing_support::TempFolder;
using testing_support::WriteFile;

namespace {

struct Tag {
    std::string title = "", artist = "", album = "", year = "", comment = "";
};

// 128 bytes: marker, fields padded with zero bytes, genre.
std::string TagBytes(const Tag& tag, std::string marker = "TAG") {
    auto field = [](std::string text, std::size_t length) {
        text.resize(length, '\0');
        return text;
    };
    return marker + field(tag.title, 30) + field(tag.artist, 30) + field(tag.album, 30) +
           field(tag.year, 4) + field(tag.comment, 30) + "\x0C";
}

std::string InfoOf(const std::string& bytes) {
    return Id3v1InfoText({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace

TEST(Id3v1Text, EveryLineEndsInOneCarriageReturn) {
    EXPECT_EQ(InfoOf(TagBytes({"Song", "Band", "Platte", "1999", "gut"})),
              "Titel: Song\rInterpret: Band\rAlbum: Platte\rJahr: 1999\rKommentar: gut\r");
    // Empty fields keep their labels.
    EXPECT_EQ(InfoOf(TagBytes({})), "Titel: \rInterpret: \rAlbum: \rJahr: \rKommentar: \r");
}

TEST(Id3v1Text, FieldsEndAtZeroAndLoseOnlySpaces) {
    EXPECT_EQ(InfoOf(TagBytes({"  Song  "})).substr(0, 12), "Titel: Song\r");
    // Text behind the first zero byte is not part of the field.
    EXPECT_EQ(InfoOf(TagBytes({std::string("A\0B", 3)})).substr(0, 9), "Titel: A\r");
    // Tabs are not spaces.
    EXPECT_EQ(InfoOf(TagBytes({"\tSong "})).substr(0, 13), "Titel: \tSong\r");
    // A field filled to its last byte is shown whole and does not run into the next one.
    const std::string full(30, 'x');
    EXPECT_EQ(InfoOf(TagBytes({full, "B"})), "Titel: " + full +
                                                 "\rInterpret: B\rAlbum: \r"
                                                 "Jahr: \rKommentar: \r");
    // The year has four bytes; the comment behind it starts right after.
    EXPECT_EQ(InfoOf(TagBytes({"", "", "", "2024", "c"})).find("Jahr: 2024\rKommentar: c\r") !=
                  std::string::npos,
              true);
}

TEST(Id3v1Text, OnlyAnUpperCaseMarkerMakesATag) {
    EXPECT_EQ(InfoOf(TagBytes({"Song"}, "tag")), Id3v1MissingText);
    EXPECT_EQ(InfoOf(TagBytes({"Song"}, "TAg")), Id3v1MissingText);
    EXPECT_EQ(InfoOf(""), Id3v1MissingText);
    EXPECT_EQ(InfoOf(TagBytes({}).substr(0, 127)), Id3v1MissingText);
    EXPECT_STREQ(Id3v1MissingText, "Für dieses Lied sind leider\rKEINE ID3-V1-Tags vorhanden");
}

TEST(Id3v1Text, Windows1252BecomesUtf8) {
    EXPECT_EQ(InfoOf(TagBytes({"\xC4rger \xFC"
                               "ber \xDF"}))
                  .substr(0, 23),
              "Titel: Ärger über ß\r");
    EXPECT_EQ(Windows1252ToUtf8("\x80 \x93x\x94 \x9F \xFF"), "€ “x” Ÿ ÿ");
    // Bytes the code page leaves undefined show as replacement characters.
    EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Windows1252ToUtf8("A\x7F"), "A\x7F");
}

// Taggers that copy UTF-8 into the fields cut it at the field's length, also inside a
// character; everything else is read in the 8-bit character set as before.
TEST(Id3v1Text, FieldsThatAreUtf8AreTakenAsUtf8) {
    const std::string moskva = "Москва Москва ";  // 26 bytes
    const struct {
        std::string field, shown;
    } cases[] = {
        {"M\xC3\xA4"
         "dchen",
         "Mädchen"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5", "東京 🎵"},
        // Full fields: a sequence cut off at the very end is left out, one or two bytes of it.
        {"abc" + moskva + "\xD0", "abc" + moskva.substr(0, 25)},
        {"東" + std::string(25, 'x') + "\xE6\x9D", "東" + std::string(25, 'x')},
        // Not full: a cut sequence is not UTF-8, nor is an overlong form or a surrogate.
        {"M\xC3\xA4\xC3", "MÃ¤Ã"},
        {"\xC0\xAF\xE4", "À¯ä"},
        {"\xED\xA0\x80", "í\u00A0€"},
        // Windows-1252 umlauts, and a full field whose cut sequence leaves no other one.
        {"M\xE4"
         "dchen",
         "Mädchen"},
        {std::string(28, 'x') + "\xE6\x9C", std::string(28, 'x') + "æœ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InfoOf(TagBytes({c.field})).substr(0, 7 + c.shown.size() + 1),
                  "Titel: " + c.shown + "\r")
            << c.field;
    }
}

TEST(Id3v1File, ReadsTheLast128BytesOnly) {
    TempFolder folder;
    const std::string path = folder.File("song.mp3");
    // A tag further up the file is not the one at the end.
    ASSERT_TRUE(WriteFile(path, TagBytes({"Alt"}) + std::string(5000, '\xFF') + TagBytes({"Neu"})));
    EXPECT_EQ(ReadId3v1Info(path)->substr(0, 11), "Titel: Neu\r");
    ASSERT_TRUE(WriteFile(path, TagBytes({"Alt"}) + "x"));
    EXPECT_EQ(ReadId3v1Info(path), Id3v1MissingText);
    ASSERT_TRUE(WriteFile(path, TagBytes({"Exakt"})));
    EXPECT_EQ(ReadId3v1Info(path)->substr(0, 13), "Titel: Exakt\r");
}

TEST(Id3v1File, ShortEmptyAndMissingFiles) {
    TempFolder folder;
    const std::string path = folder.File("song.mp3");
    ASSERT_TRUE(WriteFile(path, "TAG short"));
    EXPECT_EQ(ReadId3v1Info(path), Id3v1MissingText);
    ASSERT_TRUE(WriteFile(path, ""));
    EXPECT_EQ(ReadId3v1Info(path), Id3v1MissingText);
    EXPECT_EQ(ReadId3v1Info(folder.File("missing.mp3")), std::nullopt);
    EXPECT_EQ(ReadId3v1Info(folder.Path()), std::nullopt);
}
