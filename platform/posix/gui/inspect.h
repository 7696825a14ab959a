// Private to the FLTK gui backend: what its tests and the scan benchmark read back from the
// windows and drop-downs, which the program itself never needs. Main thread only.
#pragma once

#include <string>

namespace gui::fltk {

std::string GetWindowTitle(int window);                  // empty when not open
int CountGadgetItems(int dropDown);                      // 0 for anything but a drop-down
std::string GetGadgetItemText(int dropDown, int index);  // empty when there is no such item

}  // namespace gui::fltk
