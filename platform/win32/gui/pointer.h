// Private to the Win32 gui backend: what the message loop does with the pointer's messages
// before the controls see them (a press on a trackbar's channel, the wheel, a drop).
#pragma once

#include <windows.h>

namespace gui::win32pointer {

// Handles the message for the program where the controls would handle it otherwise; true when
// it is taken and must not be dispatched. Main thread only, from the message loop.
bool TakePointerMessage(const MSG& message);

}  // namespace gui::win32pointer
