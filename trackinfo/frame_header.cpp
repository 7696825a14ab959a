// Finding and decoding the first frame header of a song, from memory or from a file read in
// blocks. Both go through one search, so they find the same byte.
#include "trackinfo/frame_header.h"

#include <array>
#include <cstring>
#include <initializer_list>

#include "platform/file.h"
#include "playback/number_text.h"
#include "trackinfo/frame_header_tables.h"

namespace {

constexpr std::size_t Id3v2HeaderSize = 10;

constexpr std::string_view LookUp(std::span<const frame_tables::TextByBits> table,
                                  std::string_view bits) {
    for (const auto& entry : table)
        if (entry.bits == bits) return entry.text;
    return {};
}

// Bits of value at the given positions as '0'/'1' characters, most significant first.
struct BitText {
    char chars[4] = {};
    std::size_t size = 0;
    constexpr std::string_view View() const { return {chars, size}; }
};

constexpr BitText Bits(int value, std::initializer_list<int> positions) {
    BitText text;
    for (int n : positions) text.chars[text.size++] = char('0' + BitOfByte(value, n));
    return text;
}

constexpr std::string_view Field(std::string_view row, int n) {
    for (int i = 1; i < n; ++i) {
        const std::size_t comma = row.find(',');
        if (comma == std::string_view::npos) return {};
        row.remove_prefix(comma + 1);
    }
    return row.substr(0, row.find(','));
}

// The sampling-rate text from the version bits of b1 and the sampling-rate bits of b2.
constexpr std::string_view SampleRateByTables(int b1, int b2) {
    const std::string_view version = LookUp(frame_tables::VersionTexts, Bits(b1, {5, 4}).View());
    const BitText sampleBits = Bits(b2, {4, 3});
    for (const auto& row : frame_tables::SampleRateRows)
        if (row.version == version)
            return row.texts[(sampleBits.chars[0] - '0') * 2 + (sampleBits.chars[1] - '0')];
    return {};
}

// The bitrate text from the version and layer bits of b1 and the bitrate bits of b2.
constexpr std::string_view BitrateByTables(int b1, int b2) {
    const std::string_view version = LookUp(frame_tables::VersionTexts, Bits(b1, {5, 4}).View());
    const std::string_view layer = LookUp(frame_tables::LayerTexts, Bits(b1, {3, 2}).View());
    const BitText bitrateBits = Bits(b2, {8, 7, 6, 5});
    for (const auto& row : frame_tables::BitrateRows) {
        if (row.version != version || row.layer != layer) continue;
        const std::size_t found = frame_tables::BitrateCodes.find(bitrateBits.View());
        const int n = found == std::string_view::npos ? 1 : int(found / 5) + 1;  // 0000: field 1
        return Field(row.fields, n);
    }
    return {};
}

// Which bits of b1 and b2 select each text: version and sampling-rate bits, and version,
// layer and bitrate bits.
constexpr std::size_t SampleRateIndex(int b1, int b2) {
    return std::size_t((b1 >> 3 & 3) << 2 | (b2 >> 2 & 3));
}
constexpr std::size_t BitrateIndex(int b1, int b2) {
    return std::size_t((b1 >> 1 & 15) << 4 | (b2 >> 4 & 15));
}

struct DecodedTexts {
    std::array<std::string_view, 16> sampleRate{};
    std::array<std::string_view, 256> bitrate{};
};

// Every answer of the two look-ups, worked out by the compiler: reading the tables for each
// song cost the scan about 2,000 instructions a file.
constexpr DecodedTexts AllTexts = [] {
    DecodedTexts texts;
    for (int b1 = 0; b1 < 32; b1 += 2) {  // every version and layer
        for (int code = 0; code < 4; ++code)
            texts.sampleRate[SampleRateIndex(b1, code << 2)] = SampleRateByTables(b1, code << 2);
        for (int code = 0; code < 16; ++code)
            texts.bitrate[BitrateIndex(b1, code << 4)] = BitrateByTables(b1, code << 4);
    }
    return texts;
}();

// The whole file as a byte source.
class MemorySource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Length() const { return bytes_.size(); }
    // The bytes available from offset on (at least one unless at the end).
    std::span<const std::uint8_t> BytesAt(std::uint64_t offset) {
        return offset < bytes_.size() ? bytes_.subspan(std::size_t(offset))
                                      : std::span<const std::uint8_t>();
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// A file read in blocks, keeping the last block: the tag check and the search at the start of
// an ordinary song then cost one read.
class FileSource {
  public:
    FileSource(platform::ReadOnlyFile& file, std::uint64_t length) : file_(file), length_(length) {}
    std::uint64_t Length() const { return length_; }
    std::span<const std::uint8_t> BytesAt(std::uint64_t offset) {
        if (offset < blockStart_ || offset >= blockStart_ + blockSize_) {
            blockStart_ = offset;
            blockSize_ = 0;
            if (offset >= length_ || (offset != position_ && !file_.Seek(std::int64_t(offset))))
                return {};
            blockSize_ = file_.Read(block_.data(), block_.size());
            position_ = offset + blockSize_;
        }
        const std::size_t skip = std::size_t(offset - blockStart_);
        return std::span<const std::uint8_t>(block_.data() + skip, blockSize_ - skip);
    }

  private:
    platform::ReadOnlyFile& file_;
    std::uint64_t length_;
    std::array<std::uint8_t, 4096> block_;  // only the bytes read are looked at
    std::uint64_t blockStart_ = 0;
    std::size_t blockSize_ = 0;
    std::uint64_t position_ = 0;  // where the file stands after the last read
};

// Copies count bytes at offset into out; false when the source ends first.
template <class Source>
bool ReadExactly(Source& source, std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    while (count > 0) {
        const auto bytes = source.BytesAt(offset);
        if (bytes.empty()) return false;
        const std::size_t take = bytes.size() < count ? bytes.size() : count;
        std::memcpy(out, bytes.data(), take);
        out += take;
        offset += take;
        count -= take;
    }
    return true;
}

// A tag starts with "ID3", version and revision below 0xFF, flags, and a size of four 7-bit
// bytes, most significant first. Returns the offset just past the tag (its footer included).
template <class Source>
std::optional<std::uint64_t> TagEnd(Source& source, std::uint64_t offset) {
    std::array<std::uint8_t, Id3v2HeaderSize> h{};
    if (!ReadExactly(source, offset, h.data(), h.size())) return std::nullopt;
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3' || h[3] == 0xFF || h[4] == 0xFF)
        return std::nullopt;
    if ((h[6] | h[7] | h[8] | h[9]) & 0x80) return std::nullopt;
    const std::uint64_t size =
        std::uint64_t(h[6]) << 21 | std::uint64_t(h[7]) << 14 | std::uint64_t(h[8]) << 7 | h[9];
    const bool footer = (h[5] & 0x10) != 0;
    return offset + Id3v2HeaderSize + size + (footer ? Id3v2HeaderSize : 0);
}

template <class Source>
std::optional<std::uint64_t> SearchStart(Source& source) {
    std::uint64_t offset = 0;
    while (const auto end = TagEnd(source, offset)) offset = *end;
    if (offset > source.Length()) return std::nullopt;
    return offset;
}

// The two bytes after the first byte 255 from the search start on.
template <class Source>
std::optional<std::array<std::uint8_t, 2>> FindHeader(Source& source) {
    const auto start = SearchStart(source);
    if (!start) return std::nullopt;
    for (std::uint64_t offset = *start;;) {
        const auto bytes = source.BytesAt(offset);
        if (bytes.empty()) return std::nullopt;
        const void* hit = std::memchr(bytes.data(), 0xFF, bytes.size());
        if (!hit) {
            offset += bytes.size();
            continue;
        }
        const auto at =
            offset + std::uint64_t(static_cast<const std::uint8_t*>(hit) - bytes.data());
        std::array<std::uint8_t, 2> header{};
        if (!ReadExactly(source, at + 1, header.data(), header.size())) return std::nullopt;
        return header;
    }
}

template <class Source>
SongHeaderInfo Analyse(Source& source) {
    SongHeaderInfo info;
    if (const auto header = FindHeader(source)) {
        info.texts = DecodeFrameHeader((*header)[0], (*header)[1]);
        info.duration = EstimateDuration(source.Length(), info.texts);
    }
    return info;
}

}  // namespace

FrameHeaderTexts DecodeFrameHeader(std::uint8_t b1, std::uint8_t b2) {
    return {std::string(AllTexts.bitrate[BitrateIndex(b1, b2)]),
            std::string(AllTexts.sampleRate[SampleRateIndex(b1, b2)])};
}

std::int16_t EstimateDuration(std::uint64_t fileLength, const FrameHeaderTexts& texts) {
    const int bitrate = ParseLeadingNumber(texts.bitrateText).value;
    const int sampleRate = ParseLeadingNumber(texts.sampleRateText).value;
    if (bitrate <= 0 || sampleRate <= 0) return 0;
    // length * 8 / (bitrate * 1000), without the multiplication that could overflow.
    const std::uint64_t seconds = fileLength / (std::uint64_t(bitrate) * 125);
    return std::int16_t(seconds > 32767 ? 32767 : seconds);
}

std::optional<std::uint64_t> FrameSearchStart(std::span<const std::uint8_t> fileBytes) {
    MemorySource source(fileBytes);
    return SearchStart(source);
}

SongHeaderInfo AnalyseHeaderBytes(std::span<const std::uint8_t> fileBytes) {
    MemorySource source(fileBytes);
    return Analyse(source);
}

SongHeaderInfo AnalyseSongHeader(const std::string& path) {
    platform::ReadOnlyFile file(path);
    const std::int64_t length = file.Size();
    if (length < 0) return {};
    FileSource source(file, std::uint64_t(length));
    return Analyse(source);
}
