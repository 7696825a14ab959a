// BMP decoder: each supported coding decodes to the right pixels, and malformed files of every
// kind are refused without reading past the data (the sanitizer build checks the latter).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/common/bmp_decode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// A BMP file with a 40-byte info header; palette entry i is (i, 2i, 3i) as red, green, blue.
Bytes MakeBmp(int width, int height, int bpp, int compression, int colours, const Bytes& pixels) {
    const std::size_t offset = 14 + 40 + std::size_t(colours) * 4;
    Bytes b(offset + pixels.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(offset + pixels.size()));
    Put32(b, 10, std::uint32_t(offset));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(width));
    Put32(b, 22, std::uint32_t(height));
    b[26] = 1;
    b[28] = std::uint8_t(bpp);
    Put32(b, 30, std::uint32_t(compression));
    Put32(b, 46, std::uint32_t(colours));
    for (int i = 0; i < colours; ++i) {
        b[54 + i * 4 + 2] = std::uint8_t(i);
        b[54 + i * 4 + 1] = std::uint8_t(2 * i);
        b[54 + i * 4 + 0] = std::uint8_t(3 * i);
    }
    std::copy(pixels.begin(), pixels.end(), b.begin() + std::ptrdiff_t(offset));
    return b;
}

// Red channel of pixel (x, y), counted from the top row; with the palette above it is the index.
int Red(const BmpImage& image, int x, int y) {
    return image.rgba[(std::size_t(y) * image.info.width + x) * 4];
}
int Alpha(const BmpImage& image, int x, int y) {
    return image.rgba[(std::size_t(y) * image.info.width + x) * 4 + 3];
}

bool Decodes(const Bytes& b) {
    BmpImage image;
    return DecodeBmp(b.data(), b.size(), image);
}

}  // namespace

TEST(BmpDecode, UncompressedDepthsAndRowOrder) {
    // 3 x 2, 8 bit: rows padded to 4 bytes, stored bottom row first.
    BmpImage image;
    Bytes b = MakeBmp(3, 2, 8, 0, 8, {4, 5, 6, 0, 1, 2, 3, 0});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 0, 0), 1);
    EXPECT_EQ(Red(image, 2, 1), 6);
    EXPECT_EQ(image.rgba[1], 2);  // green of palette entry 1
    EXPECT_EQ(Alpha(image, 1, 1), 255);

    // The same picture top-down (negative height).
    b = MakeBmp(3, -2, 8, 0, 8, {1, 2, 3, 0, 4, 5, 6, 0});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_TRUE(image.info.topDown);
    EXPECT_EQ(image.info.height, 2);
    EXPECT_EQ(Red(image, 0, 0), 1);
    EXPECT_EQ(Red(image, 2, 1), 6);

    // 4 bit: high nibble first; an odd width leaves half a byte unused.
    b = MakeBmp(3, 1, 4, 0, 16, {0x12, 0x30, 0, 0});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 0, 0), 1);
    EXPECT_EQ(Red(image, 1, 0), 2);
    EXPECT_EQ(Red(image, 2, 0), 3);

    // 1 bit, most significant bit first.
    b = MakeBmp(9, 1, 1, 0, 2, {0x81, 0x80, 0, 0});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 0, 0), 1);
    EXPECT_EQ(Red(image, 1, 0), 0);
    EXPECT_EQ(Red(image, 7, 0), 1);
    EXPECT_EQ(Red(image, 8, 0), 1);

    // 24 bit: blue, green, red in the file.
    b = MakeBmp(1, 1, 24, 0, 0, {10, 20, 30, 0});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(image.rgba, (Bytes{30, 20, 10, 255}));
}

TEST(BmpDecode, RunLengthCodings) {
    BmpImage image;
    // RLE8, 4 x 2: the bottom row is a run of 4; the top row an absolute run of 3 (padded),
    // and the end marker comes before its last pixel.
    Bytes b = MakeBmp(4, 2, 8, 1, 8,
                      {4, 7, 0, 0,        // row 0 (bottom): 7 7 7 7, end of line
                       0, 3, 1, 2, 3, 0,  // row 1: absolute 1 2 3, padding byte
                       0, 1});            // end of bitmap
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 3, 1), 7);
    EXPECT_EQ(Red(image, 0, 0), 1);
    EXPECT_EQ(Red(image, 2, 0), 3);
    EXPECT_EQ(Alpha(image, 3, 0), 0);  // never written: transparent

    // Delta moves right and up.
    b = MakeBmp(4, 2, 8, 1, 8, {0, 2, 2, 1, 1, 5, 0, 1});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 2, 0), 5);
    EXPECT_EQ(Alpha(image, 0, 1), 0);

    // RLE4: a run alternates the two nibbles; an absolute run of 3 nibbles takes 2 bytes.
    b = MakeBmp(5, 1, 4, 2, 16, {5, 0x9A, 0, 0, 0, 1});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 0, 0), 9);
    EXPECT_EQ(Red(image, 1, 0), 10);
    EXPECT_EQ(Red(image, 4, 0), 9);
    b = MakeBmp(3, 1, 4, 2, 16, {0, 3, 0x12, 0x30, 0, 1});
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(Red(image, 2, 0), 3);
}

TEST(BmpDecode, RefusesMalformedHeaders) {
    const Bytes good = MakeBmp(2, 2, 8, 0, 4, Bytes(8, 1));
    ASSERT_TRUE(Decodes(good));
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        EXPECT_FALSE(Decodes(Bytes(good.begin(), good.begin() + cut))) << "cut at " << cut;
    }
    EXPECT_FALSE(Decodes(MakeBmp(0, 2, 8, 0, 4, Bytes(8, 1))));
    EXPECT_FALSE(Decodes(MakeBmp(2, 0, 8, 0, 4, Bytes(8, 1))));
    EXPECT_FALSE(Decodes(MakeBmp(-2, 2, 8, 0, 4, Bytes(8, 1))));
    // Huge sizes must be refused before any allocation is attempted.
    EXPECT_FALSE(Decodes(MakeBmp(0x7fffffff, 0x7fffffff, 24, 0, 0, Bytes(8, 1))));
    EXPECT_FALSE(Decodes(MakeBmp(2, int(0x80000000u), 8, 0, 4, Bytes(8, 1))));
    EXPECT_FALSE(Decodes(MakeBmp(kBmpMaxSide + 1, 1, 8, 0, 4, Bytes(kBmpMaxSide + 4, 1))));
    EXPECT_FALSE(Decodes(MakeBmp(2, 2, 16, 0, 0, Bytes(8, 1))));  // unsupported depth
    EXPECT_FALSE(Decodes(MakeBmp(2, 2, 8, 2, 4, Bytes(8, 1))));   // RLE4 needs 4 bit
    EXPECT_FALSE(Decodes(MakeBmp(2, 2, 4, 1, 4, Bytes(8, 1))));   // RLE8 needs 8 bit
    EXPECT_FALSE(Decodes(MakeBmp(2, 2, 8, 3, 4, Bytes(8, 1))));   // bit fields
    EXPECT_FALSE(Decodes(MakeBmp(2, -2, 8, 1, 4, {0, 1})));       // top-down RLE
    EXPECT_FALSE(Decodes(MakeBmp(2, 2, 4, 0, 17, Bytes(8, 1))));  // palette too big

    Bytes b = good;
    b[0] = 'X';
    EXPECT_FALSE(Decodes(b));
    b = good;
    Put32(b, 10, std::uint32_t(b.size() + 1));  // pixels beyond the end
    EXPECT_FALSE(Decodes(b));
    b = good;
    Put32(b, 10, 20);  // pixels overlapping the headers
    EXPECT_FALSE(Decodes(b));
    b = good;
    Put32(b, 14, 0xfffffff0u);  // header size larger than the file
    EXPECT_FALSE(Decodes(b));
    b = good;
    Put32(b, 46, 0x40000000u);  // palette count that overflows a 32-bit multiply
    EXPECT_FALSE(Decodes(b));
    b = good;
    b[26] = 2;  // planes
    EXPECT_FALSE(Decodes(b));
}

TEST(BmpDecode, RefusesBadPixelData) {
    // A palette index beyond the palette.
    EXPECT_FALSE(Decodes(MakeBmp(1, 1, 8, 0, 4, {4, 0, 0, 0})));
    EXPECT_FALSE(Decodes(MakeBmp(1, 1, 8, 1, 4, {1, 9, 0, 1})));
    // Runs past the end of the row, absolute and repeated, in both codings.
    EXPECT_FALSE(Decodes(MakeBmp(4, 1, 8, 1, 8, {5, 1, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(4, 1, 8, 1, 8, {2, 1, 3, 1, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {0, 3, 1, 1, 1, 0, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(3, 1, 4, 2, 16, {4, 0x11, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(3, 1, 4, 2, 16, {0, 4, 0x11, 0x11, 0, 1})));
    // Rows beyond the image: by end-of-line, by delta, and a run after the last row.
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {0, 0, 0, 0, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {0, 2, 0, 2, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {0, 2, 3, 0, 0, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {0, 0, 1, 1, 0, 1})));
    // Truncated streams: no end marker, a cut delta, a cut absolute run.
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {2, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(2, 1, 8, 1, 8, {0, 2, 1})));
    EXPECT_FALSE(Decodes(MakeBmp(4, 1, 8, 1, 8, {0, 3, 1, 1})));
    // Uncompressed rows shorter than the header promises (the last row's padding missing too).
    EXPECT_FALSE(Decodes(MakeBmp(3, 2, 8, 0, 8, {1, 2, 3, 0, 1, 2, 3})));
    // A failed decode leaves no half-filled image behind.
    BmpImage image;
    image.rgba.assign(16, 9);
    EXPECT_FALSE(DecodeBmp(nullptr, 0, image));
    EXPECT_TRUE(image.rgba.empty());
    EXPECT_EQ(image.info.width, 0);
}

TEST(BmpDecode, ReadsTheOldCoreHeader) {
    // 12-byte header with 16-bit sizes and 3-byte palette entries.
    Bytes b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0,   0,   0,  12,   0, 0, 0,
               1,   0,   1, 0, 1, 0, 1, 0, 0, 0, 0,  200, 100, 50, 0x80, 0, 0, 0};
    b[2] = std::uint8_t(b.size());
    BmpImage image;
    ASSERT_TRUE(DecodeBmp(b.data(), b.size(), image));
    EXPECT_EQ(image.rgba, (Bytes{50, 100, 200, 255}));
}
