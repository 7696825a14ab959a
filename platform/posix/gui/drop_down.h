// Private to the FLTK gui backend: the song drop-down. Its open list is a window of its own that
// shows a screenful of rows and scrolls, so lists of 10,000 names open at once; typing a name's
// start selects it, open or closed.
#pragma once

#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Scrollbar.H>

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gui::fltk {

class DropDown;

// What typing into a list selects: the next name starting with the typed letter, or, for
// letters typed within a second of each other, the first name from the current one on that
// starts with all of them. One letter typed again steps on to the next name with it.
class TypeAhead {
  public:
    // The index that `typed` (one UTF-8 character) selects in the list, -1 for none.
    int Next(std::string_view typed, int current, const DropDown& list);
    bool Typing() const;  // a letter came within the last second

  private:
    std::string typed_;
    std::chrono::steady_clock::time_point last_{};
};

// The open list: rows of the drop-down's font, a scroll bar beside them, and the highlighted
// row that Return or a click picks. It holds the pointer and the keyboard while it is open;
// the main loop goes on meanwhile.
class ListPopup : public Fl_Double_Window {
  public:
    ListPopup(DropDown& owner, int x, int y, int w, int rows, int rowHeight);
    int handle(int event) override;
    int Top() const { return top_; }
    int Highlighted() const { return highlighted_; }
    int Rows() const { return rows_; }
    void Highlight(int index);  // scrolled into view
    void ScrollTo(int top);
    void Refresh();  // the list's items changed

  protected:
    void draw() override;

  private:
    static void OnScroll(Fl_Widget* bar, void* popup);
    int RowAt(int y) const;  // the item under a y of this window; -1 outside the rows
    void PickHighlighted();
    DropDown& owner_;
    Fl_Scrollbar* bar_;
    int rows_, rowHeight_;
    int top_ = 0, highlighted_ = -1;
    bool pressedInRows_ = false;
};

// A drop-down list whose items are shown exactly as given. It keeps its own item array so that
// appending stays cheap and no character in a name has a meaning to the menu code.
class DropDown : public Fl_Choice {
  public:
    DropDown(int x, int y, int w, int h);
    ~DropDown() override;
    int handle(int event) override;
    void Add(std::string_view text);
    void Clear();
    int Count() const { return int(texts_.size()); }
    const std::string& Text(int index) const { return texts_[std::size_t(index)]; }
    const char* Shown(int index) const { return items_[std::size_t(index)].text; }
    void Select(int index);  // -1: nothing selected
    // Selects as the user does: the program hears of it as of a click on the item.
    void Pick(int index);
    void Open();  // shows the list, as a click does; a pick is reported as one
    void Close();
    ListPopup* OpenList() const { return popup_.get(); }
    // The height of the open list in pixels, as the program gave it with the closed box's.
    void ListHeight(int pixels) { listHeight_ = pixels; }
    int ListHeight() const { return listHeight_; }
    // A key typed while the closed list has the focus; true when it was used.
    bool TakeKey();
    // The index `typed` selects from `current` on.
    int TypedIndex(std::string_view typed, int current);

  private:
    void Attach(int selected);
    // Deques keep the addresses the menu items' text pointers hold. A text is drawn as given
    // unless it has a tab or a control character; only those keep a second, drawable form.
    std::deque<std::string> texts_;
    std::deque<std::string> shown_;
    std::vector<Fl_Menu_Item> items_;
    std::unique_ptr<ListPopup> popup_;
    TypeAhead typeAhead_;
    int listHeight_ = 0;
};

// The drawable form of a drop-down item: tabs as spaces, other control characters as '?'.
std::string ItemDisplayText(std::string_view text);
bool NeedsDisplayText(std::string_view text);  // whether that form differs from the text

// Draws and measures an item's text in the current font, characters the font lacks in a font
// that has them (text.cpp).
void DrawItemText(const char* text, int x, int y, int w, int h);
int ItemTextWidth(const char* text);

}  // namespace gui::fltk
