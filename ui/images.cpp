// Registration of the embedded images with the gui.
#include "ui/images.h"

#include "platform/gui.h"
#include "ui/gadgets.h"
#include "ui/resource_data.h"

namespace {

bool Register(int image) {
    std::size_t size = 0;
    const std::uint8_t* data = ImageData(image, size);
    return data != nullptr && gui::RegisterImage(image, data, size);
}

}  // namespace

bool RegisterProgramImages() {
    bool ok = true;
    for (int image = 1; image <= kEmbeddedImageCount; ++image) {
        if (image != ui::AboutPictureImage) ok = Register(image) && ok;
    }
    return ok;
}

bool RegisterAboutImage() {
    return Register(ui::AboutPictureImage);
}
