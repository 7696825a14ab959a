// Reading ID3v2 tags: the tag and frame headers of each version, unsynchronisation, the
// extended header, and the four text encodings turned into UTF-8.
#include "trackinfo/id3v2.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "platform/utf8.h"
#include "trackinfo/windows1252.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t HeaderSize = 10;
// The text frames sit before the pictures in every tag seen; a larger tag is read this far.
constexpr std::size_t MaxTagBytes = 16u << 20;

std::uint32_t BigEndian(Bytes b, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value << 8 | b[i];
    return value;
}

std::uint32_t Syncsafe(Bytes b) {
    return std::uint32_t(b[0] & 0x7F) << 21 | std::uint32_t(b[1] & 0x7F) << 14 |
           std::uint32_t(b[2] & 0x7F) << 7 | (b[3] & 0x7F);
}

// Unsynchronisation put a zero byte after every 0xFF; taken out again here.
std::vector<std::uint8_t> Resynchronised(Bytes bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0) ++i;
    }
    return out;
}

enum Encoding { Latin1 = 0, Utf16 = 1, Utf16BigEndian = 2, Utf8 = 3 };

std::size_t UnitSize(int encoding) {
    return encoding == Utf16 || encoding == Utf16BigEndian ? 2 : 1;
}

// Where the text from `from` on ends: at its terminator (one zero byte, or two at an even
// offset for UTF-16) or at the end of the data.
std::size_t TextEnd(Bytes data, std::size_t from, int encoding) {
    const std::size_t unit = UnitSize(encoding);
    for (std::size_t i = from; i + unit <= data.size(); i += unit) {
        if (data[i] == 0 && (unit == 1 || data[i + 1] == 0)) return i;
    }
    return data.size();
}

std::string Utf16ToUtf8(Bytes text, bool bigEndian) {
    if (text.size() >= 2 && (text[0] == 0xFF || text[0] == 0xFE) && (text[0] ^ text[1]) == 1) {
        bigEndian = text[0] == 0xFE;  // the byte-order mark decides
        text = text.subspan(2);
    }
    std::u16string units;
    units.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        units.push_back(bigEndian ? char16_t(text[i] << 8 | text[i + 1])
                                  : char16_t(text[i + 1] << 8 | text[i]));
    return utf8::FromUtf16(std::u16string_view(units));
}

// The text in data[from, end), spaces around it removed.
std::string Decode(Bytes data, std::size_t from, std::size_t end, int encoding) {
    const Bytes text = data.subspan(from, end - from);
    std::string out;
    if (encoding == Latin1) {
        // Taggers write the Windows code page where Latin-1 is declared; it differs only in
        // 0x80 to 0x9F, which Latin-1 leaves to control codes.
        out = Windows1252ToUtf8({reinterpret_cast<const char*>(text.data()), text.size()});
    } else if (encoding == Utf8) {
        // Any invalid byte is replaced, so the result is valid UTF-8.
        out = utf8::Repaired({reinterpret_cast<const char*>(text.data()), text.size()});
    } else {
        out = Utf16ToUtf8(text, encoding == Utf16BigEndian);
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// A text frame's first value, or a comment's text (after its language and description).
std::string FrameText(Bytes data, bool comment) {
    if (data.empty() || data[0] > Utf8) return {};
    const int encoding = data[0];
    std::size_t from = 1;
    if (comment) {
        if (data.size() < 4) return {};
        const std::size_t descriptionEnd = TextEnd(data, 4, encoding);
        from = descriptionEnd + UnitSize(encoding);
        if (from > data.size()) return {};
    }
    return Decode(data, from, TextEnd(data, from, encoding), encoding);
}

// A year from a recording time ("2004-05-01T12:00") is its first four digits.
std::string YearOf(std::string text) {
    if (text.size() > 4 && text.find_first_not_of("0123456789") == 4) text.resize(4);
    return text;
}

struct WantedFrame {
    const char* ids;  // the version 2.2 name, then the later one(s), separated by spaces
    std::string TagFields::*field;
};

constexpr WantedFrame WantedFrames[] = {
    {"TT2 TIT2", &TagFields::title},   {"TP1 TPE1", &TagFields::artist},
    {"TAL TALB", &TagFields::album},   {"TYE TYER TDRC", &TagFields::year},
    {"COM COMM", &TagFields::comment},
};

const WantedFrame* Wanted(std::string_view id) {
    for (const WantedFrame& wanted : WantedFrames) {
        const std::string_view ids(wanted.ids);
        for (std::size_t at = ids.find(id); at != std::string_view::npos;
             at = ids.find(id, at + 1)) {
            const bool whole = (at == 0 || ids[at - 1] == ' ') &&
                               (at + id.size() == ids.size() || ids[at + id.size()] == ' ');
            if (whole) return &wanted;
        }
    }
    return nullptr;
}

// The frame's data without what its flags put in front of it; nothing when it is compressed or
// encrypted (its text could not be read).
std::optional<std::vector<std::uint8_t>> FrameData(Bytes data, int version, int flags,
                                                   bool tagUnsynchronised) {
    if (version == 3) {
        if (flags & 0xC0) return std::nullopt;
        if (flags & 0x20) data = data.subspan(data.empty() ? 0 : 1);  // group byte
        return std::vector<std::uint8_t>(data.begin(), data.end());
    }
    if (version == 4) {
        if (flags & 0x0C) return std::nullopt;
        const std::size_t skip = (flags & 0x40 ? 1 : 0) + (flags & 0x01 ? 4 : 0);
        data = data.subspan(skip < data.size() ? skip : data.size());
        if ((flags & 0x02) || tagUnsynchronised) return Resynchronised(data);
    }
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

}  // namespace

std::optional<TagFields> ParseId3v2(Bytes bytes) {
    if (bytes.size() < HeaderSize || std::memcmp(bytes.data(), "ID3", 3) != 0) return std::nullopt;
    const int version = bytes[3];
    const int tagFlags = bytes[5];
    if (version < 2 || version > 4 || bytes[4] == 0xFF ||
        (bytes[6] | bytes[7] | bytes[8] | bytes[9]) & 0x80)
        return std::nullopt;
    if (version == 2 && (tagFlags & 0x40)) return std::nullopt;  // a compressed tag: no scheme
    const std::size_t size = Syncsafe(bytes.subspan(6));
    Bytes body = bytes.subspan(HeaderSize);
    if (body.size() > size) body = body.first(size);
    const bool unsynchronised = (tagFlags & 0x80) != 0;
    // Before version 2.4 the whole tag is unsynchronised at once, frame sizes counting the
    // bytes after it is undone.
    std::vector<std::uint8_t> resynchronised;
    if (unsynchronised && version < 4) {
        resynchronised = Resynchronised(body);
        body = resynchronised;
    }
    std::uint64_t at = 0;
    if (version >= 3 && (tagFlags & 0x40) && body.size() >= 4) {
        // The extended header's size leaves out its own four bytes in 2.3, not in 2.4.
        at = version == 3 ? 4 + std::uint64_t(BigEndian(body, 4)) : Syncsafe(body);
    }
    const std::size_t idSize = version == 2 ? 3 : 4;
    const std::size_t frameHeaderSize = version == 2 ? 6 : 10;
    TagFields fields;
    while (at + frameHeaderSize <= body.size()) {
        const Bytes header = body.subspan(std::size_t(at), frameHeaderSize);
        if (header[0] == 0) break;  // padding
        const std::string_view id(reinterpret_cast<const char*>(header.data()), idSize);
        const std::uint64_t frameSize = version == 2   ? BigEndian(header.subspan(3), 3)
                                        : version == 3 ? BigEndian(header.subspan(4), 4)
                                                       : Syncsafe(header.subspan(4));
        const std::uint64_t start = at + frameHeaderSize;
        const std::uint64_t end = start + frameSize < body.size() ? start + frameSize : body.size();
        at = start + frameSize;
        const WantedFrame* wanted = Wanted(id);
        if (!wanted || !(fields.*wanted->field).empty()) continue;
        const int frameFlags = version == 2 ? 0 : header[9];
        const auto data = FrameData(body.subspan(std::size_t(start), std::size_t(end - start)),
                                    version, frameFlags, unsynchronised);
        if (!data) continue;
        std::string text = FrameText(*data, wanted->field == &TagFields::comment);
        fields.*wanted->field = wanted->field == &TagFields::year ? YearOf(text) : text;
    }
    return fields;
}

std::optional<TagFields> ReadId3v2Fields(const std::string& path) {
    platform::ReadOnlyFile file(path);
    std::vector<std::uint8_t> bytes(HeaderSize);
    if (file.Read(bytes.data(), bytes.size()) != HeaderSize) return std::nullopt;
    if (std::memcmp(bytes.data(), "ID3", 3) != 0) return std::nullopt;
    // A size past the end of the file reads what is there.
    const std::int64_t rest = file.Size() - std::int64_t(HeaderSize);
    std::size_t size = Syncsafe(Bytes(bytes).subspan(6));
    if (size > MaxTagBytes) size = MaxTagBytes;
    if (rest >= 0 && std::uint64_t(rest) < size) size = std::size_t(rest);
    bytes.resize(HeaderSize + size);
    bytes.resize(HeaderSize + file.Read(bytes.data() + HeaderSize, size));
    return ParseId3v2(bytes);
}
