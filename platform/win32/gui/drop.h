// Private to the Win32 gui backend: files and folders dropped onto a program window.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace gui::win32drop {

// WM_DROPFILES for window `number`: takes the first file of the drop as the drop target's
// click when a click would be taken, and releases the drop in any case.
void TakeDroppedFiles(int number, HDROP drop);

}  // namespace gui::win32drop
