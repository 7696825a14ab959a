// The About window's link and sound through the operating system's services.
#include <cstddef>
#include <cstdint>

#include "platform/system.h"
#include "ui/about_window.h"

namespace ui {

// The embedded About sound (RIFF/WAVE), generated at build time.
const std::uint8_t* AboutSoundData();
std::size_t AboutSoundSize();

AboutActions SystemAboutActions() {
    AboutActions actions;
    actions.openUrl = [](std::string_view url) { sys::OpenUrl(url); };
    actions.playSound = [] { return sys::PlayWav(AboutSoundData(), AboutSoundSize()); };
    return actions;
}

}  // namespace ui
