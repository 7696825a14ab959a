// Access to the images and the sound compiled into the program at build time.
#include "ui/images.h"
#include "ui/resource_data.h"
#include "ui/sound.h"

const std::uint8_t* ImageData(int image, std::size_t& size) {
    if (image < 1 || image > kEmbeddedImageCount) {
        size = 0;
        return nullptr;
    }
    size = kEmbeddedImages[image].size;
    return kEmbeddedImages[image].data;
}

const std::uint8_t* AboutSoundData() {
    return kEmbeddedAboutSound.data;
}
std::size_t AboutSoundSize() {
    return kEmbeddedAboutSound.size;
}
