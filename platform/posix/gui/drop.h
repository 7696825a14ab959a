// Private to the FLTK gui backend: files and folders dragged onto a program window.
#pragma once

namespace gui::fltk {

class ProgramWindow;

// True for the events of a drag and drop: FL_DND_ENTER, FL_DND_DRAG, FL_DND_LEAVE,
// FL_DND_RELEASE and the FL_PASTE that delivers the dropped text.
bool IsDropEvent(int event);

// Handles one of those events for window `number`, whichever of its controls it reached:
// accepts the drag while a drop would be taken, and on the FL_PASTE of a taken drop queues
// the drop target's click with the first dropped path.
int HandleDropEvent(ProgramWindow& window, int number, int event);

}  // namespace gui::fltk
