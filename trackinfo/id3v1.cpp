// Reading the ID3v1 tag and building the info message text.
#include "trackinfo/id3v1.h"

#include <array>
#include <cstring>
#include <string_view>

#include "platform/file.h"
#include "trackinfo/windows1252.h"

namespace {

struct TagField {
    const char* label;
    std::size_t offset;
    std::size_t length;
};

constexpr TagField ShownFields[] = {
    {"Titel: ", 3, 30}, {"Interpret: ", 33, 30}, {"Album: ", 63, 30},
    {"Jahr: ", 93, 4},  {"Kommentar: ", 97, 30},
};

// A field ends at its first zero byte; only spaces are trimmed, before conversion.
std::string FieldText(std::span<const std::uint8_t> tag, const TagField& field) {
    std::string_view text(reinterpret_cast<const char*>(tag.data()) + field.offset, field.length);
    text = text.substr(0, text.find('\0'));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    return Windows1252ToUtf8(text);
}

}  // namespace

std::string Id3v1InfoText(std::span<const std::uint8_t> tail) {
    if (tail.size() < Id3v1TagSize) return Id3v1MissingText;
    const auto tag = tail.last(Id3v1TagSize);
    if (std::memcmp(tag.data(), "TAG", 3) != 0) return Id3v1MissingText;
    std::string text;
    for (const TagField& field : ShownFields) text += field.label + FieldText(tag, field) + "\r";
    return text;
}

std::optional<std::string> ReadId3v1Info(const std::string& path) {
    std::array<std::uint8_t, Id3v1TagSize> tag{};
    std::size_t got = 0;
    {
        platform::ReadOnlyFile file(path);
        if (!file.IsOpen()) return std::nullopt;
        const std::int64_t length = file.Size();
        // Shorter files hold no tag; no seek before their start.
        if (length >= std::int64_t(Id3v1TagSize) && file.Seek(length - std::int64_t(Id3v1TagSize)))
            got = file.Read(tag.data(), tag.size());
    }  // closed here, before the text is built
    return Id3v1InfoText(std::span<const std::uint8_t>(tag.data(), got));
}
