// The headless backend shows nothing and so always has a desktop.
#include <string>

#include "platform/gui.h"

namespace gui {

std::string DesktopProblem() {
    return {};
}

}  // namespace gui
