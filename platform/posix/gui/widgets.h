// Private to the FLTK gui backend: the widget classes the gadgets and windows are made of.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Slider.H>

#include "platform/posix/gui/drop_down.h"

namespace gui::fltk {

// A top-level window of the program. It reports minimise and restore, ignores input while
// disabled and maps Return and Escape onto the window's chosen button.
class ProgramWindow : public Fl_Double_Window {
  public:
    ProgramWindow(int number, int x, int y, int w, int h);
    int handle(int event) override;
    // A drag and drop event that reached a control of this window, taken as the window's own.
    int HandleDrop(int event);

  private:
    bool TakeKey();
    int number_;
};

// A control that takes a drag and drop for its window: FLTK offers the drag, the release and
// the dropped text to the control under the pointer, and a drop is the window's, wherever it
// lands. Nothing dropped reaches the control itself (a field would type the text in).
int PassDropToWindow(Fl_Widget& control, int event);

template <class Control>
class DropPassing : public Control {
  public:
    using Control::Control;
    int handle(int event) override {
        const int taken = PassDropToWindow(*this, event);
        return taken >= 0 ? taken : Control::handle(event);
    }
};

// The read-only folder field. Fl_Input draws with one font; a text that font cannot show whole
// is drawn from its start with the fallback fonts instead.
class Field : public Fl_Input {
  public:
    Field(int x, int y, int w, int h) : Fl_Input(x, y, w, h) {}

  protected:
    void draw() override;
};

// A push button that Return presses, drawn with the darker edge of a default button.
class DefaultButton : public Fl_Button {
  public:
    DefaultButton(int x, int y, int w, int h) : Fl_Button(x, y, w, h) {}
    int handle(int event) override;

  protected:
    void draw() override;
};

// A static text: drawn over the whole width, without the 3-pixel inset FLTK gives aligned
// labels, so captions fit controls laid out for the Windows metrics.
class TextBox : public Fl_Box {
  public:
    TextBox(int x, int y, int w, int h) : Fl_Box(x, y, w, h) {}

  protected:
    void draw() override;
};

// An etched frame with its caption set into the top edge.
class GroupFrame : public Fl_Box {
  public:
    GroupFrame(int x, int y, int w, int h) : Fl_Box(x, y, w, h) {}

  protected:
    void draw() override;
};

// A horizontal slider that asks to be drawn again only when a new value moves its knob by at
// least one pixel: the position slider takes 500 steps over some 200 pixels, and the main loop
// moves it several times a second. The value itself is always taken, so it reads back as set.
// A press on the track beside the knob moves the knob's middle to the pointer at once (a
// change, as a drag gives), and a drag carries on from there.
class Slider : public Fl_Slider {
  public:
    Slider(int x, int y, int w, int h) : Fl_Slider(x, y, w, h) { type(FL_HOR_NICE_SLIDER); }
    int handle(int event) override;

  protected:
    void draw() override;
    void value_damage() override;

  private:
    int KnobSize() const;    // pixels, as Fl_Slider::draw has it
    int KnobOffset() const;  // pixels from the left end of the track, as Fl_Slider::draw has it
    void JumpTo(int x);      // x in window pixels
    int drawnOffset_ = -1;   // where the knob was last drawn; -1 before the first drawing
};

}  // namespace gui::fltk
