// Private to the Windows media backend: how a program started later finds the running one's
// window and what it sends there (WM_COPYDATA). Main thread only.
#pragma once

#include <windows.h>

#include <string>

namespace media::win32instance {

// Set on the main window while it takes paths from later programs.
inline constexpr wchar_t ReceiverProperty[] = L"MP3Klingtal.Receiver";

// The folder or song a later program sent ("" : come to the front); false for any other
// WM_COPYDATA and for malformed data.
bool ReadHandedPath(LPARAM copyData, std::string& path);

}  // namespace media::win32instance
