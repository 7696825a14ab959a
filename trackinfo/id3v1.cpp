// Reading the ID3v1 tag and building the info message text.
#include "trackinfo/id3v1.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "platform/utf8.h"
#include "trackinfo/windows1252.h"

namespace {

struct TagField {
    const char* label;
    std::size_t offset;
    std::size_t length;
    std::string Id3v1Fields::*value;
};

constexpr TagField ShownFields[] = {
    {"Titel: ", 3, 30, &Id3v1Fields::title},        {"Interpret: ", 33, 30, &Id3v1Fields::artist},
    {"Album: ", 63, 30, &Id3v1Fields::album},       {"Jahr: ", 93, 4, &Id3v1Fields::year},
    {"Kommentar: ", 97, 30, &Id3v1Fields::comment},
};

// The field's bytes when they are UTF-8 with at least one multi-byte sequence, as taggers that
// copy UTF-8 into the fields write them. Such taggers cut the text at the field's length, so
// in a full field a sequence cut off by its very end is left out.
std::optional<std::string_view> AsUtf8(std::string_view text, bool full) {
    bool multiByte = false;
    for (std::size_t i = 0; i < text.size();) {
        const utf8::Sequence sequence = utf8::Decode(text, i);
        const std::size_t length = sequence.length;
        if (length == 0) {
            if (!full || !sequence.cutOff) return std::nullopt;
            text = text.substr(0, i);
            break;
        }
        multiByte = multiByte || length > 1;
        i += length;
    }
    if (!multiByte) return std::nullopt;
    return text;
}

// Tag text of no declared encoding: the system's 8-bit character set, which is the ANSI code
// page on Windows; Linux has none and takes Windows-1252, in which most such tags were written.
std::string EightBitToUtf8(std::string_view text) {
    if (std::optional<std::string> ansi = platform::AnsiCodePageToUtf8(text)) return *ansi;
    return Windows1252ToUtf8(text);
}

// A field ends at its first zero byte; only spaces are trimmed.
std::string FieldText(std::span<const std::uint8_t> tag, const TagField& field) {
    std::string_view bytes(reinterpret_cast<const char*>(tag.data()) + field.offset, field.length);
    const std::size_t zero = bytes.find('\0');
    bytes = bytes.substr(0, zero);
    const std::optional<std::string_view> utf8 = AsUtf8(bytes, zero == std::string_view::npos);
    const std::string text = utf8 ? std::string(*utf8) : EightBitToUtf8(bytes);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The file's last 128 bytes (fewer when it is shorter: those hold no tag); nothing when it
// cannot be opened. The file is closed again before this returns.
std::optional<std::vector<std::uint8_t>> ReadTail(const std::string& path) {
    std::vector<std::uint8_t> tag(Id3v1TagSize);
    std::size_t got = 0;
    platform::ReadOnlyFile file(path);
    if (!file.IsOpen()) return std::nullopt;
    const std::int64_t length = file.Size();
    // Shorter files hold no tag; no seek before their start.
    if (length >= std::int64_t(Id3v1TagSize) && file.Seek(length - std::int64_t(Id3v1TagSize)))
        got = file.Read(tag.data(), tag.size());
    tag.resize(got);
    return tag;
}

}  // namespace

std::optional<Id3v1Fields> ParseId3v1(std::span<const std::uint8_t> tail) {
    if (tail.size() < Id3v1TagSize) return std::nullopt;
    const auto tag = tail.last(Id3v1TagSize);
    if (std::memcmp(tag.data(), "TAG", 3) != 0) return std::nullopt;
    Id3v1Fields fields;
    for (const TagField& field : ShownFields) fields.*field.value = FieldText(tag, field);
    return fields;
}

std::string TagInfoText(const TagFields& fields) {
    std::string text;
    for (const TagField& field : ShownFields) text += field.label + fields.*field.value + "\r";
    return text;
}

std::string Id3v1InfoText(std::span<const std::uint8_t> tail) {
    const std::optional<Id3v1Fields> fields = ParseId3v1(tail);
    return fields ? TagInfoText(*fields) : Id3v1MissingText;
}

std::optional<std::string> ReadId3v1Info(const std::string& path) {
    const auto tail = ReadTail(path);
    if (!tail) return std::nullopt;
    return Id3v1InfoText(*tail);
}

std::optional<Id3v1Fields> ReadId3v1Fields(const std::string& path) {
    const auto tail = ReadTail(path);
    if (!tail) return std::nullopt;
    return ParseId3v1(*tail);
}
