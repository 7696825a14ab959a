// BMP file bytes to device bitmaps for the image buttons and the picture. GDI decodes the
// pixels itself, run-length coded 8- and 4-bit images included; only the headers are checked
// here, so that no offset or size taken from the data reaches past its end.
#include <windows.h>

#include <cstring>

#include "platform/gui.h"
#include "platform/win32/gui/state.h"

namespace gui {
namespace {

constexpr std::size_t FileHeaderSize = 14;

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct DibParts {
    const BITMAPINFO* info = nullptr;
    const std::uint8_t* bits = nullptr;
};

// The info header, colour table and pixel data of a BMP file, checked against its size.
bool SplitBmp(const std::uint8_t* bmp, std::size_t size, DibParts& parts,
              BITMAPINFOHEADER& header) {
    if (bmp == nullptr || size < FileHeaderSize + sizeof(BITMAPINFOHEADER) || bmp[0] != 'B' ||
        bmp[1] != 'M') {
        return false;
    }
    std::uint32_t bitsOffset = Le32(bmp + 10);
    std::memcpy(&header, bmp + FileHeaderSize, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size - FileHeaderSize ||
        header.biWidth <= 0 || header.biWidth > 4096 || header.biHeight == 0 ||
        header.biHeight > 4096 || header.biHeight < -4096 || header.biPlanes != 1) {
        return false;
    }
    std::size_t colours = 0;
    switch (header.biBitCount) {
        case 1:
        case 4:
        case 8:
            colours = header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount);
            if (colours > (1u << header.biBitCount)) return false;
            break;
        case 24:
        case 32:
            break;
        default:
            return false;
    }
    std::size_t tableEnd = FileHeaderSize + header.biSize + colours * sizeof(RGBQUAD);
    if (tableEnd > size || bitsOffset < tableEnd || bitsOffset >= size) return false;

    std::size_t available = size - bitsOffset;
    if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        if (header.biBitCount != (header.biCompression == BI_RLE8 ? 8 : 4)) return false;
        // GDI reads exactly biSizeImage bytes of a coded image.
        if (header.biSizeImage == 0 || header.biSizeImage > available || header.biHeight < 0) {
            return false;
        }
    } else if (header.biCompression == BI_RGB) {
        std::size_t stride =
            ((static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
        std::size_t rows =
            static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
        if (stride * rows > available) return false;
    } else {
        return false;
    }
    parts.info = reinterpret_cast<const BITMAPINFO*>(bmp + FileHeaderSize);
    parts.bits = bmp + bitsOffset;
    return true;
}

}  // namespace

bool RegisterImage(int image, const std::uint8_t* bmp, std::size_t size) {
    DibParts parts;
    BITMAPINFOHEADER header{};
    if (!SplitBmp(bmp, size, parts, header)) return false;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateDIBitmap(screen, &header, CBM_INIT, parts.bits, parts.info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) return false;
    win32state::GetState().images[image].Reset(bitmap);
    return true;
}

}  // namespace gui
