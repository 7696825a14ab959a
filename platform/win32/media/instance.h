// Private to the Windows media backend: how a program started later finds the running one's
// window and what it sends there (WM_COPYDATA). Main thread only.
#pragma once

#include <windows.h>

#include <string>

namespace media::win32instance {

// Set on the main window while it takes paths from later programs.
inline constexpr wchar_t ReceiverProperty[] = L"MP3Klingtal.Receiver";
// The WM_COPYDATA kind ("Klng") that tells our block, UTF-16 without a terminator, from any
// other program's.
inline constexpr ULONG_PTR HandOverData = 0x4B6C6E67;

// The folder or song a later program sent ("" : come to the front); false for any other
// WM_COPYDATA and for malformed data.
bool ReadHandedPath(LPARAM copyData, std::string& path);

}  // namespace media::win32instance
