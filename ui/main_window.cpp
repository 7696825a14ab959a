// Opening the main window, its size callback, the settings applied at start, the extended and
// compact sizes, and transparency.
#include "ui/main_window.h"

#include "platform/gui.h"
#include "ui/gadgets.h"
#include "ui/keys.h"

namespace ui {

bool OpenMainWindow(int x, int y) {
    gui::WindowSpec spec;
    spec.number = MainWindow;
    spec.x = x;
    spec.y = y;
    spec.innerWidth = MainInnerWidth;
    spec.innerHeight = MainInnerHeight;
    spec.title = MainTitle;
    spec.minimiseBox = true;
    return gui::OpenWindow(spec);
}

void InstallSizeCallback(int& minimised) {
    gui::SetSizeCallback(MainWindow, [&minimised](bool nowMinimised) {
        gui::SetWindowTitle(MainWindow, nowMinimised ? MinimisedTitle : MainTitle);
        minimised = nowMinimised ? 1 : 0;
    });
}

void SetExtendedMode(bool extended) {
    gui::SetGadgetVisible(ExpandButton, !extended);
    gui::SetGadgetVisible(ShrinkButton, extended);
    gui::ResizeWindowInner(MainWindow, MainInnerWidth,
                           extended ? ExtendedInnerHeight : MainInnerHeight);
}

void ShowMuteState(int muted) {
    gui::SetGadgetVisible(MuteButton, muted == 0);
    gui::SetGadgetVisible(UnmuteButton, muted != 0);
}

void ApplyTransparency(int window, int alpha, std::string_view osName) {
    if (osName != TransparencySystem) return;
    gui::SetWindowOpacity(window, OpacityOf(alpha));
}

// A flag counts as on only when it is exactly 1, as the settings file defines it.
void ApplyInitialSettings(const Options& options, int subfolders, std::string_view osName,
                          int muted) {
    if (options.OptionOn == 1) SetExtendedMode(true);

    gui::SetGadgetState(options.RememberPosition == 1 ? RememberPositionOption : CentredOption, 1);
    gui::SetGadgetState(OnTopOption, options.AlwaysOnTop == 1);
    gui::SetGadgetState(SubfolderOption, subfolders == 1);

    if (osName == TransparencySystem) {
        gui::SetGadgetVisible(TransparencySlider, true);
        gui::SetGadgetVisible(TransparencyGroup, true);
        gui::SetGadgetState(TransparencySlider, options.Transparency);
        ApplyTransparency(MainWindow, options.Transparency, osName);
    }

    gui::ShowWindowNow(MainWindow);
    if (options.AlwaysOnTop == 1) gui::SetWindowTopmost(MainWindow, true);

    ShowMuteState(muted);
    gui::SetGadgetEnabled(PositionSlider, false);
    gui::SetGadgetEnabled(SongChoice, false);

    gui::SetGadgetState(AllToggle, options.AllMode == 1);
    gui::SetGadgetState(RepeatToggle, options.RepeatMode == 1);
    gui::SetGadgetState(RandomToggle, options.RandomMode == 1);
    gui::SetGadgetText(SongLengthText, "0:00");
}

bool StartMainWindow(const Options& options, std::string_view songFolder, int subfolders,
                     std::string_view osName, int muted, int& minimised) {
    if (!OpenMainWindow(options.WindowX, options.WindowY)) return false;
    InstallSizeCallback(minimised);
    CreateMainControls(songFolder);
    ApplyInitialSettings(options, subfolders, osName, muted);
    InstallMainWindowKeys();
    // A folder dropped onto the window answers a click on the folder button.
    gui::SetDropTarget(MainWindow, FolderButton);
    return true;
}

}  // namespace ui
