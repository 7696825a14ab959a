// The song drop-down of the FLTK gui backend: items drawn as given, an open list that scrolls
// instead of one menu row per song (X11 cannot show a window past 32,767 pixels), and typing.
#include "platform/posix/gui/state.h"  // first, see there

#include "platform/posix/gui/drop_down.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstring>

#include "platform/posix/system/natural_order.h"

namespace gui::fltk {

namespace {

constexpr auto kTypingPause = std::chrono::seconds(1);
constexpr int kWheelRows = 3;
constexpr int kDefaultRows = 8;  // when the program gives no height for the open list

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

// Draws a menu item's text with the plain string call, which gives no character a meaning.
void DrawItemLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align) {
    fl_font(label->font, label->size);
    fl_color(label->color);
    DrawItemText(label->value, x, y, w, h);
}

void MeasureItemLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    w = ItemTextWidth(label->value) + 4;
    h = fl_height();
}

Fl_Labeltype ItemLabel() {
    static const Fl_Labeltype type = [] {
        const auto t = static_cast<Fl_Labeltype>(FL_FREE_LABELTYPE + 1);
        Fl::set_labeltype(t, DrawItemLabel, MeasureItemLabel);
        return t;
    }();
    return type;
}

// The length of the UTF-8 character that starts the typed text; 0 for none to type.
std::size_t TypedLength(const char* text, int length) {
    if (text == nullptr || length <= 0 || static_cast<unsigned char>(text[0]) < 0x20) return 0;
    const int n = fl_utf8len1(text[0]);
    return n > 0 && n <= length ? std::size_t(n) : 0;
}

bool WithoutModifiers() {
    return (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) == 0;
}

// Where a navigation key moves the selection of a list of `count` items; -1 for another key.
int Moved(int key, int current, int count, int page) {
    switch (key) {
        case FL_Up:
            return std::max(current - 1, 0);
        case FL_Down:
            return std::min(current + 1, count - 1);
        case FL_Page_Up:
            return std::max(current - page, 0);
        case FL_Page_Down:
            return std::min(std::max(current, 0) + page, count - 1);
        case FL_Home:
            return 0;
        case FL_End:
            return count - 1;
        default:
            return -1;
    }
}

}  // namespace

bool NeedsDisplayText(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

std::string ItemDisplayText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        if (c == '\t') {
            shown += "    ";
        } else if (IsControl(c)) {
            shown += '?';
        } else {
            shown += c;
        }
    }
    return shown;
}

bool TypeAhead::Typing() const {
    return !typed_.empty() && std::chrono::steady_clock::now() - last_ < kTypingPause;
}

int TypeAhead::Next(std::string_view typed, int current, const DropDown& list) {
    if (!Typing()) typed_.clear();
    typed_ += typed;
    last_ = std::chrono::steady_clock::now();
    const int count = list.Count();
    if (count == 0 || typed.empty()) return -1;
    bool repeated = true;  // one letter, once or again and again: the next name with it
    for (std::size_t i = 0; i < typed_.size(); i += typed.size()) {
        repeated = repeated && typed_.compare(i, typed.size(), typed) == 0;
    }
    const std::string_view start = repeated ? typed : std::string_view(typed_);
    const int from = std::max(repeated ? current + 1 : current, 0);
    for (int k = 0; k < count; ++k) {
        const int i = (from + k) % count;
        if (sys::StartsWithFolded(list.Text(i), start)) return i;
    }
    return -1;
}

ListPopup::ListPopup(DropDown& owner, int x, int y, int w, int rows, int rowHeight)
    : Fl_Double_Window(x, y, w, rows * rowHeight + 2),
      owner_(owner),
      rows_(rows),
      rowHeight_(rowHeight) {
    const int barWidth = Fl::scrollbar_size();
    bar_ = new Fl_Scrollbar(w - 1 - barWidth, 1, barWidth, h() - 2);
    bar_->linesize(1);
    bar_->callback(OnScroll, this);
    end();
    box(FL_BORDER_BOX);
    color(FL_BACKGROUND2_COLOR);
    set_override();
    set_menu_window();
    clear_visible_focus();
    Refresh();
}

void ListPopup::OnScroll(Fl_Widget* bar, void* popup) {
    auto* self = static_cast<ListPopup*>(popup);
    self->top_ = static_cast<Fl_Scrollbar*>(bar)->value();
    self->redraw();
}

void ListPopup::Refresh() {
    const int count = owner_.Count();
    top_ = std::clamp(top_, 0, std::max(count - rows_, 0));
    highlighted_ = std::min(highlighted_, count - 1);
    bar_->value(top_, rows_, 0, count);
    if (count <= rows_) bar_->deactivate();
    redraw();
}

void ListPopup::ScrollTo(int top) {
    top_ = top;
    Refresh();
}

void ListPopup::Highlight(int index) {
    highlighted_ = index;
    if (index >= 0 && index < top_) top_ = index;
    if (index >= top_ + rows_) top_ = index - rows_ + 1;
    Refresh();
}

int ListPopup::RowAt(int y) const {
    if (y < 1 || y >= 1 + rows_ * rowHeight_) return -1;
    const int index = top_ + (y - 1) / rowHeight_;
    return index < owner_.Count() ? index : -1;
}

void ListPopup::PickHighlighted() {
    DropDown& owner = owner_;
    const int index = highlighted_;
    owner.Close();  // deletes this window later, not now
    if (index >= 0) owner.Pick(index);
}

void ListPopup::draw() {
    Fl_Double_Window::draw();
    const int width = bar_->x() - 1;
    fl_push_clip(1, 1, width, h() - 2);
    fl_font(owner_.textfont(), owner_.textsize());
    const int count = owner_.Count();
    for (int row = 0; row < rows_ && top_ + row < count; ++row) {
        const int index = top_ + row;
        const int y = 1 + row * rowHeight_;
        const bool lit = index == highlighted_;
        fl_color(lit ? FL_SELECTION_COLOR : FL_BACKGROUND2_COLOR);
        fl_rectf(1, y, width, rowHeight_);
        fl_color(lit ? fl_contrast(FL_FOREGROUND_COLOR, FL_SELECTION_COLOR) : FL_FOREGROUND_COLOR);
        DrawItemText(owner_.Shown(index), 1, y, width, rowHeight_);
    }
    fl_pop_clip();
}

int ListPopup::handle(int event) {
    const int ex = Fl::event_x(), ey = Fl::event_y();
    const bool inside = ex >= 0 && ey >= 0 && ex < w() && ey < h();
    const bool onBar = bar_->active() && ex >= bar_->x() && inside;
    switch (event) {
        case FL_PUSH:
            if (!inside) {  // also the closed box: a second click closes the list
                owner_.Close();
                return 1;
            }
            pressedInRows_ = !onBar;
            if (onBar) return Fl_Double_Window::handle(event);
            if (RowAt(ey) >= 0) Highlight(RowAt(ey));
            return 1;
        case FL_DRAG:
        case FL_MOVE:
            if (event == FL_DRAG && !pressedInRows_) return Fl_Double_Window::handle(event);
            if (event == FL_MOVE && onBar) return 1;
            if (RowAt(ey) >= 0) {
                Highlight(RowAt(ey));
            } else if (event == FL_DRAG && inside == false && ex >= 0 && ex < w()) {
                // dragged past an end: the list follows
                Highlight(std::clamp(ey < 0 ? top_ - 1 : top_ + rows_, 0, owner_.Count() - 1));
            }
            return 1;
        case FL_RELEASE:
            if (!pressedInRows_) return Fl_Double_Window::handle(event);
            pressedInRows_ = false;
            if (RowAt(ey) >= 0 && ex < bar_->x()) {
                highlighted_ = RowAt(ey);
                PickHighlighted();
            }
            return 1;
        case FL_MOUSEWHEEL:
            ScrollTo(top_ + Fl::event_dy() * kWheelRows);
            return 1;
        case FL_KEYBOARD: {
            const int key = Fl::event_key();
            if (key == FL_Escape || key == FL_Tab) {
                owner_.Close();
            } else if (key == FL_Enter || key == FL_KP_Enter || key == FL_F + 4 ||
                       ((Fl::event_state() & FL_ALT) != 0 && (key == FL_Up || key == FL_Down))) {
                PickHighlighted();
            } else if (const int to = Moved(key, highlighted_, owner_.Count(), rows_ - 1);
                       to >= 0) {
                Highlight(to);
            } else if (const std::size_t n = TypedLength(Fl::event_text(), Fl::event_length());
                       n > 0 && WithoutModifiers()) {
                const int found = owner_.TypedIndex({Fl::event_text(), n}, highlighted_);
                if (found >= 0) Highlight(found);
            }
            return 1;  // the open list holds the keyboard: no key reaches the main window
        }
        default:
            return Fl_Double_Window::handle(event);
    }
}

DropDown::DropDown(int x, int y, int w, int h) : Fl_Choice(x, y, w, h) {
    items_.push_back(Fl_Menu_Item{});  // the terminator
    ItemLabel();
}

DropDown::~DropDown() {
    Close();
}

void DropDown::Attach(int selected) {
    // menu() only stores the pointer (and selects the first item); selecting through the item
    // pointer avoids Fl_Choice::value(int), which walks the whole list.
    menu(texts_.empty() ? nullptr : items_.data());
    Fl_Menu_::value(selected >= 0 && selected < Count() ? &items_[std::size_t(selected)] : nullptr);
}

// The closed list shows only the selected item, which an added item does not change: the scan
// adds up to 10,000 items and none of them needs a redraw.
void DropDown::Add(std::string_view text) {
    const int selected = value();
    texts_.emplace_back(text);
    const char* label = texts_.back().c_str();
    if (NeedsDisplayText(text)) {
        shown_.push_back(ItemDisplayText(text));
        label = shown_.back().c_str();
    }
    Fl_Menu_Item item{};
    item.text = label;
    item.labeltype_ = ItemLabel();
    item.labelfont_ = textfont();
    item.labelsize_ = textsize();
    item.labelcolor_ = FL_FOREGROUND_COLOR;
    items_.back() = item;
    items_.push_back(Fl_Menu_Item{});
    Attach(selected);
    if (popup_) popup_->Refresh();
}

void DropDown::Clear() {
    Close();
    const bool showedItem = value() >= 0;
    texts_.clear();
    shown_.clear();
    items_.assign(1, Fl_Menu_Item{});
    Attach(-1);
    if (showedItem) redraw();
}

void DropDown::Select(int index) {
    if (index == value()) return;
    Attach(index);
    redraw();
}

void DropDown::Pick(int index) {
    if (index < 0 || index >= Count() || index == value()) return;
    picked(&items_[std::size_t(index)]);
    redraw();
}

int DropDown::TypedIndex(std::string_view typed, int current) {
    return typeAhead_.Next(typed, current, *this);
}

void DropDown::Open() {
    if (!active_r() || Count() == 0 || popup_ || window() == nullptr) return;
    fl_font(textfont(), textsize());
    const int rowHeight = fl_height() + 2;
    int wanted = listHeight_ > h() ? (listHeight_ - h()) / rowHeight : kDefaultRows;
    const int left = window()->x() + x(), below = window()->y() + y() + h();
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_work_area(sx, sy, sw, sh, left, below);
    // Below the box, or above it where there is more room; never past the screen's edge.
    const int roomBelow = (sy + sh - below - 2) / rowHeight;
    const int roomAbove = (below - h() - sy - 2) / rowHeight;
    const int room = std::max(roomBelow, roomAbove);
    const int rows = std::max(1, std::min({std::max(wanted, 1), Count(), room}));
    const int top = rows <= roomBelow ? below : below - h() - rows * rowHeight - 2;
    popup_ = std::make_unique<ListPopup>(*this, left, top, w(), rows, rowHeight);
    popup_->ScrollTo(value());  // the current item on the top row, as far as the list allows
    popup_->Highlight(value());
    popup_->show();
    Fl::grab(popup_.get());
}

void DropDown::Close() {
    if (!popup_) return;
    if (Fl::grab() == popup_.get()) Fl::grab(nullptr);
    popup_->hide();
    // The list may be closing from inside its own event handling.
    Fl::delete_widget(popup_.release());
    redraw();
}

bool DropDown::TakeKey() {
    if (!active_r() || Count() == 0) return false;
    const int key = Fl::event_key();
    const std::size_t n = TypedLength(Fl::event_text(), Fl::event_length());
    if (key == FL_F + 4 || (key == ' ' && !typeAhead_.Typing())) {
        Open();
        return true;
    }
    fl_font(textfont(), textsize());
    const int page = listHeight_ > h() ? std::max((listHeight_ - h()) / (fl_height() + 2) - 1, 1)
                                       : kDefaultRows - 1;
    int to = Moved(key, value(), Count(), page);
    if (to < 0 && n > 0 && WithoutModifiers()) {
        to = TypedIndex({Fl::event_text(), n}, value());
        if (to < 0) return true;  // a letter no name starts with: taken all the same
    }
    if (to < 0) return false;
    Pick(to);
    return true;
}

int DropDown::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
            if (Fl::visible_focus()) Fl::focus(this);
            Open();
            return 1;
        case FL_KEYBOARD:
            return TakeKey() ? 1 : 0;
        case FL_SHORTCUT:  // the items have none, and the choice would open its menu instead
            return 0;
        default:
            return Fl_Choice::handle(event);
    }
}

}  // namespace gui::fltk
