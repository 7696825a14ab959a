// The main window (window 0): opening it, its controls, the settings applied to them at start,
// the size callback, the extended/compact sizes and transparency. Main thread only.
#pragma once

#include <string_view>

#include "ui/options.h"

namespace ui {

inline constexpr int MainInnerWidth = 285;  // client pixels of the compact window
inline constexpr int MainInnerHeight = 116;
// Extended mode: tall enough for the whole options area, which ends at y = 160.
inline constexpr int ExtendedInnerHeight = 162;
// The outer size of the compact window with the classic frame (3 pixels each side, a 21-pixel
// caption); the real one depends on the system's caption and frame.
inline constexpr int CompactOuterWidth = 291;
inline constexpr int CompactOuterHeight = 140;

inline constexpr std::string_view MainTitle = "MP3 Klingtal";
inline constexpr std::string_view MinimisedTitle = "MP3 Kiv";

// The only system on which the window may be made translucent.
inline constexpr std::string_view TransparencySystem = "Windows XP";

// Opens window 0 at (x, y) with the compact inner size, caption and minimise box, and makes
// it the current window. False when the toolkit cannot open it.
bool OpenMainWindow(int x, int y);

// Keeps the title and `minimised` (0 or 1, owned by the caller and outliving the window) in
// step with minimising and restoring window 0.
void InstallSizeCallback(int& minimised);

// Creates every control of window 0 in its fixed order; window 0 must be current.
void CreateMainControls(std::string_view songFolder);

// The options applied once the controls exist: extended mode, position options, check boxes
// (subfolders: the song list's option, 0/1), transparency, showing the window (topmost if
// asked), the mute button (muted = GetMute() at start), disabled slider and song list,
// play-mode toggles, the song length text.
void ApplyInitialSettings(const Options& options, int subfolders, std::string_view osName,
                          int muted);

// Start-up in one call: opens window 0 at the options' position, installs the size callback,
// creates the controls (showing songFolder) and applies the options. False, with nothing
// created, when the window cannot be opened.
bool StartMainWindow(const Options& options, std::string_view songFolder, int subfolders,
                     std::string_view osName, int muted, int& minimised);

// Shows the mute button while the mixer is not muted and the unmute button in its place while
// it is (muted: GetMute()'s 1 or 0).
void ShowMuteState(int muted);

// Shows the expand or the shrink button and gives window 0 the matching client area without
// moving it.
void SetExtendedMode(bool extended);

// Sets the window's opacity (0..255, 255 opaque; values outside are clamped) on the one system
// that offers it; elsewhere does nothing.
void ApplyTransparency(int window, int alpha, std::string_view osName);

}  // namespace ui
