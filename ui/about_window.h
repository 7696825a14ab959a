// The modal About window (window 1): credits, version, build time, a picture that links to the
// toolkit's web page, and a short sound. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

// What the About window asks of the system; the program passes SystemAboutActions(), tests
// pass recorders.
struct AboutActions {
    std::function<void(std::string_view url)> openUrl;  // failures are not reported
    std::function<bool()> playSound;                    // false: no sound output
};

// Opens the web page with the system's browser and plays the embedded sound.
AboutActions SystemAboutActions();

// The page a click on the picture opens.
extern const std::string_view AboutWebAddress;

// "dd/mm/yy hh:mm:ss" of a time in seconds since 1970-01-01 00:00 UTC, shown as UTC.
std::string FormatBuildTime(std::int64_t secondsSince1970);

// Shows the About window and returns when the user closes it. Window 0 is disabled meanwhile
// and is the current window again afterwards.
void ShowAboutWindow(const AboutActions& actions);

}  // namespace ui
