// The About window's link and sound through the operating system's services.
#include "platform/system.h"
#include "ui/about_window.h"
#include "ui/sound.h"

namespace ui {

AboutActions SystemAboutActions() {
    AboutActions actions;
    actions.openUrl = [](std::string_view url) { sys::OpenUrl(url); };
    actions.playSound = [] { return sys::PlayWav(AboutSoundData(), AboutSoundSize()); };
    return actions;
}

}  // namespace ui
