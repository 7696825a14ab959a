// Finding the first real frame of a song, from memory or from a file read in blocks, and its
// texts and playing time. Both sources go through one search, so they find the same frame.
#include "trackinfo/frame_header.h"

#include <array>
#include <cstring>
#include <string_view>

#include "platform/file.h"

namespace {

constexpr std::size_t Id3v2HeaderSize = 10;
constexpr std::size_t Id3v1Size = 128;
// Real files hold one or two leading tags; a file of nothing but tag headers is not read on.
constexpr int MaxLeadingTags = 64;

// kbit/s by bitrate code 0 to 14 (0: free format; 15 is reserved).
constexpr int Mpeg1Bitrates[3][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
};
// MPEG-2 and 2.5: layer 1, then layers 2 and 3, which share a row.
constexpr int LowerBitrates[2][15] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
// Hertz by sampling-rate code 0 to 2 (3 is reserved), for MPEG-1, 2 and 2.5.
constexpr int SampleRates[3][3] = {
    {44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

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

// A file read in blocks, keeping the last block: the tag check, the search and the Xing header
// of an ordinary song then cost one read.
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

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Whether a frame header or another tag begins at offset: what a tag's end should meet.
template <class Source>
bool StreamOrTagAt(Source& source, std::uint64_t offset) {
    std::array<std::uint8_t, 4> b{};
    if (!ReadExactly(source, offset, b.data(), b.size())) return false;
    return ParseFrameHeader(b.data()) || std::memcmp(b.data(), "ID3", 3) == 0;
}

// A tag starts with "ID3", version and revision below 0xFF, flags, and a size of four 7-bit
// bytes, most significant first. Returns the offset just past the tag (a version 2.4 footer
// included; the flag means nothing in earlier versions).
template <class Source>
std::optional<std::uint64_t> TagEnd(Source& source, std::uint64_t offset) {
    std::array<std::uint8_t, Id3v2HeaderSize> h{};
    if (!ReadExactly(source, offset, h.data(), h.size())) return std::nullopt;
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3' || h[3] == 0xFF || h[4] == 0xFF)
        return std::nullopt;
    const bool footer = h[3] >= 4 && (h[5] & 0x10) != 0;
    const std::uint64_t frame = offset + Id3v2HeaderSize + (footer ? Id3v2HeaderSize : 0);
    // Some taggers write the size as a plain 32-bit number. That reading is taken only where it
    // ends at a frame or another tag and the 7-bit one does not.
    const std::uint64_t plainEnd = frame + BigEndian32(&h[6]);
    if ((h[6] | h[7] | h[8] | h[9]) & 0x80) {
        if (StreamOrTagAt(source, plainEnd)) return plainEnd;
        return std::nullopt;
    }
    const std::uint64_t end = frame + (std::uint64_t(h[6]) << 21 | std::uint64_t(h[7]) << 14 |
                                       std::uint64_t(h[8]) << 7 | h[9]);
    if (end != plainEnd && !StreamOrTagAt(source, end) && StreamOrTagAt(source, plainEnd))
        return plainEnd;
    return end;
}

template <class Source>
std::optional<std::uint64_t> SearchStart(Source& source) {
    std::uint64_t offset = 0;
    for (int tags = 0; tags < MaxLeadingTags; ++tags) {
        const auto end = TagEnd(source, offset);
        if (!end) break;
        offset = *end;
    }
    if (offset > source.Length()) return std::nullopt;
    return offset;
}

// Whether text stands at offset.
template <class Source>
bool TextAt(Source& source, std::uint64_t offset, std::string_view text) {
    std::array<std::uint8_t, 16> b{};
    return ReadExactly(source, offset, b.data(), text.size()) &&
           std::memcmp(b.data(), text.data(), text.size()) == 0;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
    return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// Where the frame at `at` ends, for a free-format frame the next header of its stream within
// the longest frame the format allows (640 kbit/s). Nothing when there is no such header.
template <class Source>
std::optional<std::uint64_t> FrameEnd(Source& source, std::uint64_t at, const FrameHeader& header) {
    if (header.bitrateKbps > 0) return at + header.FrameBytes();
    FrameHeader longest = header;
    longest.bitrateKbps = 640;
    longest.padding = true;
    const std::uint64_t last = at + longest.FrameBytes();
    for (std::uint64_t offset = at + 4; offset <= last && offset < source.Length();) {
        const auto bytes = source.BytesAt(offset);
        if (bytes.empty()) break;  // a file that cannot be read on
        const void* hit = std::memchr(bytes.data(), 0xFF, bytes.size());
        if (!hit) {
            offset += bytes.size();
            continue;
        }
        offset += std::uint64_t(static_cast<const std::uint8_t*>(hit) - bytes.data());
        std::array<std::uint8_t, 4> b{};
        if (offset > last || !ReadExactly(source, offset, b.data(), b.size())) break;
        const auto next = ParseFrameHeader(b.data());
        if (next && next->bitrateKbps == 0 && SameStream(*next, header)) return offset;
        ++offset;
    }
    return std::nullopt;
}

// A header is taken only when the frames it starts are followed, `following` times, by another
// header of the same stream, a trailing tag, or the end of the file (a cut last frame too).
template <class Source>
bool StreamGoesOn(Source& source, std::uint64_t at, FrameHeader header, int following) {
    for (int n = 0; n < following; ++n) {
        const auto next = FrameEnd(source, at, header);
        if (!next) return false;
        if (*next + 4 > source.Length()) return true;
        std::array<std::uint8_t, 4> bytes{};
        if (!ReadExactly(source, *next, bytes.data(), bytes.size())) return true;
        const auto parsed = ParseFrameHeader(bytes.data());
        if (!parsed || !SameStream(*parsed, header)) {
            return TextAt(source, *next, "TAG") || TextAt(source, *next, "ID3") ||
                   TextAt(source, *next, "APETAGEX") || TextAt(source, *next, "LYRICSBEGIN");
        }
        at = *next;
        header = *parsed;
    }
    return true;
}

struct FoundFrame {
    std::uint64_t offset = 0;
    FrameHeader header;
};

template <class Source>
std::optional<FoundFrame> FindFirstFrame(Source& source, std::uint64_t start) {
    const std::uint64_t end =
        source.Length() - start < FrameSearchLimit ? source.Length() : start + FrameSearchLimit;
    for (std::uint64_t offset = start; offset < end;) {
        auto bytes = source.BytesAt(offset);
        if (bytes.empty()) return std::nullopt;
        if (bytes.size() > end - offset) bytes = bytes.first(std::size_t(end - offset));
        const void* hit = std::memchr(bytes.data(), 0xFF, bytes.size());
        if (!hit) {
            offset += bytes.size();
            continue;
        }
        const auto at =
            offset + std::uint64_t(static_cast<const std::uint8_t*>(hit) - bytes.data());
        std::array<std::uint8_t, 4> header{};
        if (!ReadExactly(source, at, header.data(), header.size())) return std::nullopt;
        const auto parsed = ParseFrameHeader(header.data());
        // Right behind the tags one more header confirms a frame; a sync elsewhere (a false one
        // in a tag whose size is wrong, or in junk) needs two.
        if (parsed && StreamGoesOn(source, at, *parsed, at == start ? 1 : 2))
            return FoundFrame{at, *parsed};
        offset = at + 1;
    }
    return std::nullopt;
}

// What a Xing, Info or VBRI header in the first frame says about the whole stream.
struct StreamHeader {
    std::uint32_t frames = 0;  // 0 when not given
    std::uint32_t bytes = 0;   // 0 when not given
    bool vbr = false;          // "Xing" or VBRI; "Info" is lame's name for a constant bitrate
};

// Xing and Info follow the side information. With a 16-bit check after the header they are
// found right after the side information as the standard places it, or, as lame writes them,
// where they would be without the check. VBRI stands 32 bytes after the header in any mode.
template <class Source>
std::optional<StreamHeader> ReadStreamHeader(Source& source, const FoundFrame& frame) {
    if (frame.header.layer != 3) return std::nullopt;
    const bool mpeg1 = frame.header.version == FrameHeader::Mpeg1;
    const std::uint64_t sideInfo =
        mpeg1 ? (frame.header.mono ? 17 : 32) : (frame.header.mono ? 9 : 17);
    for (const std::uint64_t check : {std::uint64_t(0), std::uint64_t(frame.header.crc ? 2 : 0)}) {
        std::array<std::uint8_t, 16> b{};
        if (!ReadExactly(source, frame.offset + 4 + sideInfo + check, b.data(), b.size()) ||
            (std::memcmp(b.data(), "Xing", 4) != 0 && std::memcmp(b.data(), "Info", 4) != 0))
            continue;
        StreamHeader stream;
        stream.vbr = b[0] == 'X';
        const std::uint32_t flags = BigEndian32(&b[4]);
        const std::uint8_t* field = &b[8];
        if (flags & 1) {
            stream.frames = BigEndian32(field);
            field += 4;
        }
        if (flags & 2) stream.bytes = BigEndian32(field);
        return stream;
    }
    std::array<std::uint8_t, 18> v{};
    if (ReadExactly(source, frame.offset + 36, v.data(), v.size()) &&
        std::memcmp(v.data(), "VBRI", 4) == 0) {
        return StreamHeader{BigEndian32(&v[14]), BigEndian32(&v[10]), true};
    }
    return std::nullopt;
}

std::int16_t Seconds(std::uint64_t seconds) {
    return std::int16_t(seconds > 32767 ? 32767 : seconds);
}

template <class Source>
SongHeaderInfo Analyse(Source& source) {
    SongHeaderInfo info;
    const auto start = SearchStart(source);
    if (!start) return info;
    const auto frame = FindFirstFrame(source, *start);
    if (!frame) return info;
    const FrameHeader& header = frame->header;
    info.texts.sampleRateText = std::to_string(header.sampleRate);
    int kbps = header.bitrateKbps;
    const std::uint64_t audio = source.Length() - *start;  // the trailing tag not yet counted

    const auto stream = ReadStreamHeader(source, *frame);
    if (stream && stream->frames > 0) {
        const std::uint64_t samples = std::uint64_t(stream->frames) * header.SamplesPerFrame();
        info.duration = Seconds(samples / std::uint64_t(header.sampleRate));
        info.exactMs = std::int64_t(samples * 1000 / std::uint64_t(header.sampleRate));
        if (stream->vbr) {
            const std::uint64_t bytes = stream->bytes > 0 ? stream->bytes : audio;
            // bytes * 8 / (samples / rate) in kbit/s, rounded to the nearest. An average no
            // layer allows (above 448) comes from a broken header: the frame's own is shown.
            const std::uint64_t average =
                (bytes * 8 * std::uint64_t(header.sampleRate) + samples * 500) / (samples * 1000);
            if (average > 0 && average <= 448) kbps = int(average);
        }
    } else if (kbps > 0) {
        const std::uint64_t bytesPerSecond = std::uint64_t(kbps) * 125;
        std::uint64_t length = audio;
        // The trailing tag is looked for only when it changes the whole seconds: most files
        // then cost no read at their end.
        if (audio >= Id3v1Size && audio / bytesPerSecond != (audio - Id3v1Size) / bytesPerSecond) {
            std::array<std::uint8_t, 3> tag{};
            if (ReadExactly(source, source.Length() - Id3v1Size, tag.data(), tag.size()) &&
                std::memcmp(tag.data(), "TAG", 3) == 0)
                length -= Id3v1Size;
        }
        info.duration = Seconds(length / bytesPerSecond);
    }
    if (kbps > 0) info.texts.bitrateText = std::to_string(kbps);
    return info;
}

}  // namespace

int FrameHeader::SamplesPerFrame() const {
    if (layer == 1) return 384;
    return layer == 3 && version != Mpeg1 ? 576 : 1152;
}

std::uint32_t FrameHeader::FrameBytes() const {
    const std::uint32_t bitsPerSecond = std::uint32_t(bitrateKbps) * 1000;
    if (layer == 1) return (12 * bitsPerSecond / std::uint32_t(sampleRate) + padding) * 4;
    // A frame holds SamplesPerFrame / 8 bytes per bit and second of sampling.
    const auto perBit = std::uint32_t(SamplesPerFrame() / 8);
    return perBit * bitsPerSecond / std::uint32_t(sampleRate) + padding;
}

std::optional<FrameHeader> ParseFrameHeader(const std::uint8_t* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return std::nullopt;
    const int versionCode = b[1] >> 3 & 3, layerCode = b[1] >> 1 & 3;
    const int bitrateCode = b[2] >> 4, rateCode = b[2] >> 2 & 3;
    if (versionCode == 1 || layerCode == 0 || bitrateCode == 15 || rateCode == 3)
        return std::nullopt;
    FrameHeader header;
    header.version = versionCode == 3   ? FrameHeader::Mpeg1
                     : versionCode == 2 ? FrameHeader::Mpeg2
                                        : FrameHeader::Mpeg25;
    header.layer = 4 - layerCode;
    header.bitrateKbps = header.version == FrameHeader::Mpeg1
                             ? Mpeg1Bitrates[header.layer - 1][bitrateCode]
                             : LowerBitrates[header.layer == 1 ? 0 : 1][bitrateCode];
    header.sampleRate = SampleRates[header.version][rateCode];
    header.padding = (b[2] & 2) != 0;
    header.crc = (b[1] & 1) == 0;
    header.mono = (b[3] >> 6) == 3;
    return header;
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
