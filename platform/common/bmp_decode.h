// Decoder for Windows BMP file bytes (uncompressed 1, 4, 8 and 24 bit, RLE8, RLE4) into
// 8-bit RGBA, top row first. Used by gui backends that cannot load BMP data from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The largest width or height accepted, in pixels; larger images are rejected as malformed.
inline constexpr int kBmpMaxSide = 4096;

struct BmpInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int compression = 0;  // 0 none, 1 RLE8, 2 RLE4
    int paletteSize = 0;  // colours in the palette; 0 for 24 bit
    bool topDown = false;
};

struct BmpImage {
    BmpInfo info;
    // width * height * 4 bytes: red, green, blue, alpha. Pixels an RLE stream skips over stay
    // transparent (alpha 0); every other pixel is opaque.
    std::vector<std::uint8_t> rgba;
};

// Reads only the headers. False when they are malformed or describe an unsupported format.
bool ReadBmpInfo(const std::uint8_t* data, std::size_t size, BmpInfo& info);

// Decodes the whole file. False, with `image` left empty, when anything is malformed: the
// decoder never reads outside data[0..size).
bool DecodeBmp(const std::uint8_t* data, std::size_t size, BmpImage& image);
