// BMP decoding: header checks, palette lookup, uncompressed rows and the two RLE codings.
#include "platform/common/bmp_decode.h"

#include <array>
#include <utility>

namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t U16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

struct Layout {
    BmpInfo info;
    std::size_t pixelOffset = 0;
    std::size_t paletteOffset = 0;
    int paletteEntryBytes = 4;
};

bool ReadLayout(const std::uint8_t* data, std::size_t size, Layout& out) {
    if (data == nullptr || size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    const std::uint8_t* h = data + kFileHeaderSize;
    const std::uint32_t headerSize = U32(h);
    if (headerSize > size - kFileHeaderSize) return false;
    BmpInfo info;
    std::int64_t width = 0, height = 0;
    std::uint32_t planes = 0, colours = 0;
    if (headerSize == 12) {  // the old OS/2 core header: 16-bit sizes, 3-byte palette entries
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        info.bitsPerPixel = int(U16(h + 10));
        out.paletteEntryBytes = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = std::int32_t(U32(h + 4));
        height = std::int32_t(U32(h + 8));
        planes = U16(h + 12);
        info.bitsPerPixel = int(U16(h + 14));
        const std::uint32_t compression = U32(h + 16);
        if (compression > 2) return false;
        info.compression = int(compression);
        colours = U32(h + 32);
    } else {
        return false;
    }
    if (planes != 1) return false;
    if (height < 0) {
        info.topDown = true;
        height = -height;
    }
    if (width < 1 || height < 1 || width > kBmpMaxSide || height > kBmpMaxSide) return false;
    info.width = int(width);
    info.height = int(height);

    const int bpp = info.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return false;
    if (info.compression == 1 && bpp != 8) return false;
    if (info.compression == 2 && bpp != 4) return false;
    // A top-down image cannot be run-length coded.
    if (info.compression != 0 && info.topDown) return false;
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        if (colours == 0) colours = most;
        if (colours > most) return false;
        info.paletteSize = int(colours);
    }
    out.paletteOffset = kFileHeaderSize + headerSize;
    const std::size_t paletteBytes = std::size_t(info.paletteSize) * out.paletteEntryBytes;
    if (paletteBytes > size - out.paletteOffset) return false;
    out.pixelOffset = U32(data + 10);
    if (out.pixelOffset < out.paletteOffset + paletteBytes || out.pixelOffset > size) return false;
    out.info = info;
    return true;
}

using Palette = std::array<std::array<std::uint8_t, 3>, 256>;

class Canvas {
  public:
    Canvas(const BmpInfo& info, const Palette& palette, std::vector<std::uint8_t>& rgba)
        : info_(info), palette_(palette), rgba_(rgba) {}
    // Row `fileRow` as stored in the file (0 = first stored row).
    bool PutIndex(int fileRow, int x, unsigned index) {
        if (index >= unsigned(info_.paletteSize)) return false;
        const auto& c = palette_[index];
        Put(fileRow, x, c[0], c[1], c[2]);
        return true;
    }
    void Put(int fileRow, int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        const int y = info_.topDown ? fileRow : info_.height - 1 - fileRow;
        std::uint8_t* p = &rgba_[(std::size_t(y) * info_.width + x) * 4];
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = 255;
    }

  private:
    const BmpInfo& info_;
    const Palette& palette_;
    std::vector<std::uint8_t>& rgba_;
};

bool DecodeRows(const std::uint8_t* data, std::size_t size, const Layout& layout, Canvas& canvas) {
    const BmpInfo& info = layout.info;
    const std::size_t stride = (std::size_t(info.width) * info.bitsPerPixel + 31) / 32 * 4;
    if (stride * info.height > size - layout.pixelOffset) return false;
    for (int row = 0; row < info.height; ++row) {
        const std::uint8_t* p = data + layout.pixelOffset + stride * row;
        for (int x = 0; x < info.width; ++x) {
            switch (info.bitsPerPixel) {
                case 24:
                    canvas.Put(row, x, p[x * 3 + 2], p[x * 3 + 1], p[x * 3]);
                    break;
                case 8:
                    if (!canvas.PutIndex(row, x, p[x])) return false;
                    break;
                case 4:
                    if (!canvas.PutIndex(row, x, (p[x / 2] >> (x % 2 ? 0 : 4)) & 15)) return false;
                    break;
                default:
                    if (!canvas.PutIndex(row, x, (p[x / 8] >> (7 - x % 8)) & 1)) return false;
                    break;
            }
        }
    }
    return true;
}

// RLE8 and RLE4 share their structure; `nibbles` selects RLE4, where a run alternates the two
// halves of its byte and an absolute run holds two pixels per byte.
bool DecodeRle(const std::uint8_t* data, std::size_t size, const Layout& layout, Canvas& canvas,
               bool nibbles) {
    const BmpInfo& info = layout.info;
    std::size_t pos = layout.pixelOffset;
    int x = 0, row = 0;
    auto pixelOf = [nibbles](std::uint8_t byte, int i) -> unsigned {
        return nibbles ? (i % 2 ? byte & 15 : byte >> 4) : byte;
    };
    while (true) {
        if (size - pos < 2) return false;  // no end-of-bitmap marker before the data ends
        const int count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            if (row >= info.height || count > info.width - x) return false;
            for (int i = 0; i < count; ++i) {
                if (!canvas.PutIndex(row, x++, pixelOf(value, i))) return false;
            }
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                if (++row > info.height) return false;
                break;
            case 1:  // end of bitmap
                return true;
            case 2: {  // move right and up
                if (size - pos < 2) return false;
                x += data[pos];
                row += data[pos + 1];
                pos += 2;
                if (x > info.width || row > info.height) return false;
                break;
            }
            default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
                const int n = value;
                const std::size_t bytes = nibbles ? (std::size_t(n) + 1) / 2 : std::size_t(n);
                const std::size_t padded = (bytes + 1) & ~std::size_t(1);
                if (size - pos < padded) return false;
                if (row >= info.height || n > info.width - x) return false;
                for (int i = 0; i < n; ++i) {
                    const std::uint8_t byte = data[pos + (nibbles ? i / 2 : i)];
                    if (!canvas.PutIndex(row, x++, pixelOf(byte, i))) return false;
                }
                pos += padded;
                break;
            }
        }
    }
}

}  // namespace

bool ReadBmpInfo(const std::uint8_t* data, std::size_t size, BmpInfo& info) {
    Layout layout;
    if (!ReadLayout(data, size, layout)) return false;
    info = layout.info;
    return true;
}

bool DecodeBmp(const std::uint8_t* data, std::size_t size, BmpImage& image) {
    image = BmpImage{};
    Layout layout;
    if (!ReadLayout(data, size, layout)) return false;
    Palette palette{};
    for (int i = 0; i < layout.info.paletteSize; ++i) {
        const std::uint8_t* e =
            data + layout.paletteOffset + std::size_t(i) * layout.paletteEntryBytes;
        palette[i] = {e[2], e[1], e[0]};
    }
    std::vector<std::uint8_t> rgba(std::size_t(layout.info.width) * layout.info.height * 4, 0);
    Canvas canvas(layout.info, palette, rgba);
    bool ok = false;
    switch (layout.info.compression) {
        case 0:
            ok = DecodeRows(data, size, layout, canvas);
            break;
        case 1:
            ok = DecodeRle(data, size, layout, canvas, false);
            break;
        default:
            ok = DecodeRle(data, size, layout, canvas, true);
            break;
    }
    if (!ok) return false;
    image.info = layout.info;
    image.rgba = std::move(rgba);
    return true;
}
