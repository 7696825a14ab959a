// The main window's keys and Tab order, one table for both gui backends.
#include "ui/keys.h"

#include "platform/gui.h"
#include "ui/gadgets.h"
#include "volume/master_volume.h"

namespace ui {
namespace {

struct KeyClick {
    char key;
    int gadget;
};

// The keys small players share for their transport, left to right on the bottom letter row.
constexpr KeyClick TransportKeys[] = {
    {'z', PreviousButton}, {'x', PlayButton}, {'c', PauseButton},
    {'v', StopButton},     {'b', NextButton},
};

void StepVolume(int direction) {
    SetMasterVolume(std::int64_t{GetVolume()} + direction * std::int64_t{VolumeKeyStep});
}

}  // namespace

std::string TooltipWithKey(int gadget, std::string_view tooltip) {
    std::string text(tooltip);
    if (gadget == VolumeKnob) return text + " (+/-)";
    for (const KeyClick& k : TransportKeys) {
        if (k.gadget == gadget) return text + " (" + char(k.key - 'a' + 'A') + ")";
    }
    return text;
}

bool PressMainWindowKey(char key) {
    if (key == '+' || key == '-') {
        StepVolume(key == '+' ? 1 : -1);
        // The knob's own event (it ends a drag, which no key starts) wakes the main loop, which
        // then moves the knob to the new volume, also where the mixer reports no changes.
        gui::PostEvent({gui::EventGadget, MainWindow, VolumeKnob});
        return true;
    }
    for (const KeyClick& k : TransportKeys) {
        if (k.key != key) continue;
        if (gui::IsGadgetEnabled(k.gadget) && gui::IsGadgetVisible(k.gadget)) {
            gui::PostEvent({gui::EventGadget, MainWindow, k.gadget});
        }
        return true;
    }
    return false;
}

void InstallMainWindowKeys() {
    gui::SetKeyCallback(MainWindow, PressMainWindowKey);
    // Top to bottom, left to right, as the eye reads the window; the options come last.
    gui::SetTabOrder(MainWindow, {FolderDisplay,  FolderButton,    SongChoice,
                                  PreviousButton, PlayButton,      PauseButton,
                                  StopButton,     NextButton,      AllToggle,
                                  RepeatToggle,   RandomToggle,    MuteButton,
                                  UnmuteButton,   VolumeKnob,      PositionSlider,
                                  InfoButton,     ExpandButton,    ShrinkButton,
                                  AboutButton,    OnTopOption,     RememberPositionOption,
                                  CentredOption,  SubfolderOption, TransparencySlider});
}

}  // namespace ui
