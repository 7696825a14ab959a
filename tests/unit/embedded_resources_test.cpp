// The images and sound built into the program have the sizes, colour depths and codings the
// windows rely on, and decode cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "platform/common/bmp_decode.h"
#include "ui/images.h"
#include "ui/sound.h"

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

}  // namespace

TEST(EmbeddedImages, SizesDepthsAndCodings) {
    for (int image = 1; image <= 12; ++image) {
        SCOPED_TRACE(image);
        std::size_t size = 0;
        const std::uint8_t* data = ImageData(image, size);
        ASSERT_NE(data, nullptr);
        BmpImage decoded;
        ASSERT_TRUE(DecodeBmp(data, size, decoded));
        const BmpInfo& info = decoded.info;
        // The size field of the file header matches the real size.
        EXPECT_EQ(Le32(data + 2), size);
        if (image == 9) {
            EXPECT_EQ(info.width, 13);
            EXPECT_EQ(info.height, 12);
            EXPECT_EQ(info.bitsPerPixel, 4);
            EXPECT_EQ(info.paletteSize, 16);
        } else if (image == 10) {
            EXPECT_EQ(info.width, 70);
            EXPECT_EQ(info.height, 89);
            EXPECT_EQ(info.bitsPerPixel, 4);
            EXPECT_EQ(info.paletteSize, 16);
        } else {
            EXPECT_EQ(info.width, 15);
            EXPECT_EQ(info.height, 12);
            EXPECT_EQ(info.bitsPerPixel, 8);
            EXPECT_EQ(info.paletteSize, 256);
            EXPECT_EQ(info.compression, 1);
        }
        // Every pixel is written (no holes left by the run-length coder) and the picture is
        // not a blank: a symbol needs at least two colours.
        std::set<std::uint32_t> colours;
        for (std::size_t i = 0; i < decoded.rgba.size(); i += 4) {
            EXPECT_EQ(decoded.rgba[i + 3], 255);
            colours.insert(Le32(&decoded.rgba[i]));
        }
        EXPECT_GE(colours.size(), 2u);
    }
    std::size_t size = 1;
    EXPECT_EQ(ImageData(0, size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(ImageData(13, size), nullptr);
}

TEST(EmbeddedImages, ButtonPicturesDiffer) {
    // Two buttons with the same picture would be a copy-and-paste slip in the art.
    std::vector<std::pair<int, std::vector<std::uint8_t>>> seen;
    for (int image : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12}) {
        std::size_t size = 0;
        const std::uint8_t* data = ImageData(image, size);
        BmpImage decoded;
        ASSERT_TRUE(DecodeBmp(data, size, decoded));
        for (const auto& [other, pixels] : seen) {
            EXPECT_FALSE(pixels == decoded.rgba) << "images " << other << " and " << image;
        }
        seen.emplace_back(image, decoded.rgba);
    }
}

TEST(EmbeddedSound, IsPcmMono22050Hz8BitWith25508DataBytes) {
    const std::uint8_t* wav = AboutSoundData();
    const std::size_t size = AboutSoundSize();
    ASSERT_GE(size, 44u);
    EXPECT_EQ(std::memcmp(wav, "RIFF", 4), 0);
    EXPECT_EQ(Le32(wav + 4), size - 8);
    EXPECT_EQ(std::memcmp(wav + 8, "WAVE", 4), 0);
    // Walk the chunks rather than assuming a fixed layout.
    std::size_t pos = 12;
    bool sawFormat = false, sawData = false;
    while (pos + 8 <= size) {
        const std::uint32_t length = Le32(wav + pos + 4);
        ASSERT_LE(pos + 8 + length, size);
        const std::uint8_t* body = wav + pos + 8;
        if (std::memcmp(wav + pos, "fmt ", 4) == 0) {
            sawFormat = true;
            EXPECT_EQ(body[0] | (body[1] << 8), 1);    // PCM
            EXPECT_EQ(body[2] | (body[3] << 8), 1);    // mono
            EXPECT_EQ(Le32(body + 4), 22050u);         // samples per second
            EXPECT_EQ(body[14] | (body[15] << 8), 8);  // bits per sample
        } else if (std::memcmp(wav + pos, "data", 4) == 0) {
            sawData = true;
            EXPECT_EQ(length, 25508u);
            // Audible, and not clipping: 8-bit silence is 128.
            int low = 255, high = 0;
            for (std::uint32_t i = 0; i < length; ++i) {
                low = std::min<int>(low, body[i]);
                high = std::max<int>(high, body[i]);
            }
            EXPECT_LT(low, 100);
            EXPECT_GT(high, 156);
            EXPECT_GT(low, 0);
            EXPECT_LT(high, 255);
            // It ends in silence, so playback stops without a click.
            EXPECT_NEAR(body[length - 1], 128, 2);
        }
        pos += 8 + length + (length & 1);
    }
    EXPECT_TRUE(sawFormat);
    EXPECT_TRUE(sawData);
}
