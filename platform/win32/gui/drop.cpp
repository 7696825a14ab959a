// Drops from Explorer: the window accepts files (DragAcceptFiles), and WM_DROPFILES hands over
// their names, of which the first becomes the drop target's click.
// https://learn.microsoft.com/windows/win32/shell/wm-dropfiles
#include "platform/win32/gui/drop.h"

#include <string>

#include "platform/common/drop_target.h"
#include "platform/gui.h"
#include "platform/win32/gui/state.h"
#include "platform/win32/text_win32.h"

namespace gui::win32drop {

namespace {

DropTarget& Target() {
    static DropTarget target;
    return target;
}

// The drop's memory belongs to the receiver, who must give it back with DragFinish.
class DropHandle {
  public:
    explicit DropHandle(HDROP drop) : drop_(drop) {}
    ~DropHandle() {
        if (drop_ != nullptr) DragFinish(drop_);
    }
    DropHandle(const DropHandle&) = delete;
    DropHandle& operator=(const DropHandle&) = delete;

    // The first file's full path; "" for an empty drop.
    std::wstring FirstFile() const {
        if (DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0) == 0) return {};
        const UINT length = DragQueryFileW(drop_, 0, nullptr, 0);
        std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
        name.resize(DragQueryFileW(drop_, 0, name.data(), length + 1));
        return name;
    }

  private:
    HDROP drop_;
};

// A drop is taken when a click on the target would be (a modal message disables the window),
// and when no earlier event waits, so its click comes next.
bool TakesDrop(int number) {
    const win32state::WindowRecord* window = win32state::FindWindowRecord(number);
    const win32state::GadgetRecord* gadget = win32state::FindGadget(Target().gadget);
    return number == Target().window && window != nullptr && IsWindowEnabled(window->hwnd) &&
           !IsIconic(window->hwnd) && gadget != nullptr && gadget->window == number &&
           IsWindowEnabled(gadget->hwnd) && IsWindowVisible(gadget->hwnd) &&
           win32state::GetState().events.empty();
}

}  // namespace

void TakeDroppedFiles(int number, HDROP drop) {
    const DropHandle handle(drop);
    const std::wstring first = handle.FirstFile();
    if (first.empty() || !TakesDrop(number)) return;
    Target().path = ::win32::WideToUtf8(first);
    win32state::GetState().events.push_back(Event{EventGadget, number, Target().gadget});
}

}  // namespace gui::win32drop

namespace gui {

void SetDropTarget(int window, int gadget) {
    DropTarget& target = win32drop::Target();
    if (const auto* old = win32state::FindWindowRecord(target.window)) {
        DragAcceptFiles(old->hwnd, FALSE);
    }
    target.window = window;
    target.gadget = gadget;
    if (const auto* record = win32state::FindWindowRecord(window)) {
        DragAcceptFiles(record->hwnd, gadget >= 0 ? TRUE : FALSE);
    }
}

std::string TakeDroppedPath() {
    return win32drop::Target().TakePath();
}

}  // namespace gui
