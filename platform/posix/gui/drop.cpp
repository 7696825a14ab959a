// Drag and drop onto the FLTK windows: FLTK offers the drag as FL_DND_* events and hands over
// the dropped text (file URIs or plain paths) in FL_PASTE; the drop becomes the target's click.
#include "platform/posix/gui/state.h"  // first, see there

#include "platform/posix/gui/drop.h"

#include <FL/Fl.H>

#include <string>
#include <string_view>
#include <utility>

#include "platform/common/drop_target.h"
#include "platform/common/dropped_text.h"
#include "platform/posix/gui/widgets.h"

namespace gui::fltk {

namespace {

DropTarget& Target() {
    static DropTarget target;
    return target;
}

// Set while a taken drop's text is on its way: FLTK hands it to the control that took the
// release as FL_PASTE, which only then belongs to the drop (a middle-click paste does not).
bool& DropAwaitsText() {
    static bool awaits = false;
    return awaits;
}

// A drop is taken when a click on the target would be, and when no earlier event waits, so
// its click comes next. A modal window (a message) keeps the others from taking input.
bool TakesDrop(ProgramWindow& window, int number) {
    const WindowRecord* record = FindWindow(number);
    const GadgetRecord* gadget = FindGadget(Target().gadget);
    return number == Target().window && record != nullptr && record->enabled &&
           !record->minimised && (Fl::modal() == nullptr || Fl::modal() == &window) &&
           gadget != nullptr && gadget->window == number && gadget->widget->active_r() &&
           gadget->widget->visible_r() && TheState().events.empty();
}

}  // namespace

bool IsDropEvent(int event) {
    return event == FL_DND_ENTER || event == FL_DND_DRAG || event == FL_DND_LEAVE ||
           event == FL_DND_RELEASE || event == FL_PASTE;
}

int HandleDropEvent(ProgramWindow& window, int number, int event) {
    switch (event) {
        case FL_DND_ENTER:
        case FL_DND_DRAG:
            return TakesDrop(window, number) ? 1 : 0;
        case FL_DND_RELEASE:
            DropAwaitsText() = TakesDrop(window, number);
            return DropAwaitsText() ? 1 : 0;
        case FL_PASTE: {
            if (!std::exchange(DropAwaitsText(), false)) return 0;
            const char* text = Fl::event_text();
            const std::string path =
                text == nullptr ? std::string()
                                : FirstDroppedPath(std::string_view(text, Fl::event_length()));
            if (path.empty() || !TakesDrop(window, number)) return 1;
            Target().path = path;
            Queue({EventGadget, number, Target().gadget});
            return 1;
        }
        default:  // FL_DND_LEAVE
            return 1;
    }
}

int PassDropToWindow(Fl_Widget& control, int event) {
    if (!IsDropEvent(event) || (event == FL_PASTE && !DropAwaitsText())) return -1;
    auto* window = dynamic_cast<ProgramWindow*>(control.window());
    return window == nullptr ? 0 : window->HandleDrop(event);
}

}  // namespace gui::fltk

namespace gui {

void SetDropTarget(int window, int gadget) {
    fltk::Target().window = window;
    fltk::Target().gadget = gadget;
}

std::string TakeDroppedPath() {
    return fltk::Target().TakePath();
}

}  // namespace gui
