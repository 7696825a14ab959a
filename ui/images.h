// The program's images as BMP file bytes, and their registration with the gui. Images 1 to 9,
// 11 and 12 are the buttons; image 10 is the About picture.
#pragma once

#include <cstddef>
#include <cstdint>

// The BMP bytes of image 1..12 and their size; nullptr and 0 for any other number. The bytes
// live as long as the process.
const std::uint8_t* ImageData(int image, std::size_t& size);

// Registers the button images (1 to 9, 11, 12) with the gui, as start-up does. False when one
// of them was refused.
bool RegisterProgramImages();

// Registers the About picture (image 10); the About window calls it when it opens.
bool RegisterAboutImage();
