// Small BMP files made in memory for the image tests: run-length coded 256-colour images like
// the button images, and uncoded 16-colour ones like the About picture.
#pragma once

#include <cstdint>
#include <vector>

namespace testimages {

inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        out.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::vector<std::uint8_t> Header(int width, int height, int bits, int compression,
                                        std::size_t pixelBytes) {
    std::size_t colours = std::size_t{1} << bits;
    std::size_t offset = 14 + 40 + colours * 4;
    std::vector<std::uint8_t> bmp(offset + pixelBytes, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
    Put32(bmp, 10, static_cast<std::uint32_t>(offset));
    Put32(bmp, 14, 40);
    Put32(bmp, 18, static_cast<std::uint32_t>(width));
    Put32(bmp, 22, static_cast<std::uint32_t>(height));
    bmp[26] = 1;
    bmp[28] = static_cast<std::uint8_t>(bits);
    Put32(bmp, 30, static_cast<std::uint32_t>(compression));
    Put32(bmp, 34, static_cast<std::uint32_t>(pixelBytes));
    for (std::size_t c = 0; c < colours; ++c) {  // a grey ramp
        std::uint8_t level = static_cast<std::uint8_t>(c * 255 / (colours - 1));
        bmp[54 + c * 4] = bmp[55 + c * 4] = bmp[56 + c * 4] = level;
    }
    return bmp;
}

// Each row one run of colour (row * 7); ends of line and the end of bitmap coded as GDI wants.
inline std::vector<std::uint8_t> Rle8(int width, int height) {
    std::vector<std::uint8_t> pixels;
    for (int row = 0; row < height; ++row) {
        pixels.insert(pixels.end(),
                      {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(row * 7), 0, 0});
    }
    pixels.insert(pixels.end(), {0, 1});
    std::vector<std::uint8_t> bmp = Header(width, height, 8, 1 /* BI_RLE8 */, pixels.size());
    std::copy(pixels.begin(), pixels.end(), bmp.end() - static_cast<long>(pixels.size()));
    return bmp;
}

inline std::vector<std::uint8_t> Plain4(int width, int height) {
    std::size_t stride = ((static_cast<std::size_t>(width) * 4 + 31) / 32) * 4;
    std::vector<std::uint8_t> bmp = Header(width, height, 4, 0, stride * height);
    std::fill(bmp.end() - static_cast<long>(stride * height), bmp.end(), 0x5A);
    return bmp;
}

}  // namespace testimages
