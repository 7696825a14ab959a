// A Windows program started at all runs on a desktop (a service's hidden one included).
#include <string>

#include "platform/gui.h"

namespace gui {

std::string DesktopProblem() {
    return {};
}

}  // namespace gui
