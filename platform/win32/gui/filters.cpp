// Message filters: parts of the Win32 backend that live in the gui's windows (the media keys,
// the taskbar buttons) see the windows' messages before the window procedure does.
#include <map>
#include <utility>

#include "platform/win32/gui/state.h"

namespace gui::win32state {
namespace {

struct Filters {
    std::map<int, MessageFilter> byNumber;  // asked in the order they were added
    int last = 0;
};

Filters& TheFilters() {
    static Filters filters;
    return filters;
}

}  // namespace

int AddMessageFilter(MessageFilter filter) {
    Filters& filters = TheFilters();
    const int number = ++filters.last;
    filters.byNumber.emplace(number, std::move(filter));
    return number;
}

void RemoveMessageFilter(int filter) {
    TheFilters().byNumber.erase(filter);
}

bool FilterMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    auto& byNumber = TheFilters().byNumber;
    // Looked up afresh after each call, and called through a copy: a filter may remove itself
    // or others meanwhile.
    for (auto it = byNumber.begin(); it != byNumber.end();) {
        const int number = it->first;
        const MessageFilter filter = it->second;
        if (filter(hwnd, message, wParam, lParam, result)) return true;
        it = byNumber.upper_bound(number);
    }
    return false;
}

}  // namespace gui::win32state
