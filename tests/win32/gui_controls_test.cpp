// The gadgets as native controls: class, styles, identifier, place, text, font, tooltips and
// bitmaps read back through the Win32 API, and the reuse of a gadget number.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/text_win32.h"
#include "tests/win32/gui_fixture.h"
#include "tests/win32/test_images.h"

namespace {

using gui::GadgetKind;

struct KindCase {
    gui::GadgetSpec spec;
    const wchar_t* className;
    DWORD typeMask;  // the part of the style that tells the kind
    DWORD type;
    DWORD exStyle;  // extended styles that must be there
};

TEST_F(GuiWindowTest, EachKindIsTheNativeControlWithItsStyles) {
    gui::GadgetSpec left = Spec(39, GadgetKind::Text, 7, 100, 35, 12, "Bitrate:");
    gui::GadgetSpec centred = Spec(15, GadgetKind::Text, 95, 61, 30, 12, "0:00");
    centred.align = gui::Align::Centre;
    gui::GadgetSpec right = Spec(16, GadgetKind::Text, 228, 44, 20, 12, "7");
    right.align = gui::Align::Right;
    gui::GadgetSpec first = Spec(37, GadgetKind::Option, 5, 133, 122, 12, "Fensterposition merken");
    first.startsGroup = true;
    gui::GadgetSpec slider = Spec(13, GadgetKind::Slider, 4, 44, 212, 18);
    slider.maximum = 500;
    const KindCase cases[] = {
        {Spec(2, GadgetKind::Field, 2, 2, 215, 15, "C:\\Musik\\"), L"edit", ES_AUTOHSCROLL,
         ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {Spec(4, GadgetKind::DefaultButton, 221, 2, 60, 15, "Verzeichnis..."), L"button", 0xF,
         BS_DEFPUSHBUTTON, 0},
        {Spec(5, GadgetKind::Button, 2, 79, 18, 16, "x"), L"button", 0xF, BS_PUSHBUTTON, 0},
        {Spec(9, GadgetKind::Toggle, 98, 79, 22, 16, "Alle"), L"button", 0xF | BS_PUSHLIKE,
         BS_AUTOCHECKBOX | BS_PUSHLIKE, 0},
        {Spec(33, GadgetKind::CheckBox, 5, 117, 122, 12, "Immer im Vordergrund"), L"button",
         0xF | BS_PUSHLIKE, BS_AUTOCHECKBOX, 0},
        {first, L"button", 0xF | WS_GROUP, BS_AUTORADIOBUTTON | WS_GROUP, 0},
        {Spec(38, GadgetKind::Option, 5, 148, 122, 12, "Immer in Bildmitte öffnen"), L"button",
         0xF | WS_GROUP, BS_AUTORADIOBUTTON, 0},
        {Spec(35, GadgetKind::GroupBox, 135, 130, 145, 30, "Transparenz"), L"button", 0xF,
         BS_GROUPBOX, 0},
        {left, L"static", SS_TYPEMASK, SS_LEFT, 0},
        {centred, L"static", SS_TYPEMASK, SS_CENTER, 0},
        {right, L"static", SS_TYPEMASK, SS_RIGHT, 0},
        {Spec(6, GadgetKind::SunkenFrame, 2, 42, 215, 32), L"static", SS_TYPEMASK, SS_LEFT,
         WS_EX_CLIENTEDGE},
        {Spec(30, GadgetKind::EdgeFrame, 2, 99, 100, 14), L"static", SS_TYPEMASK, SS_LEFT,
         WS_EX_STATICEDGE},
        // The combo box hands its scroll bar and edge on to its list (checked below).
        {Spec(3, GadgetKind::DropDown, 2, 20, 280, 160), L"combobox", 0xF, CBS_DROPDOWNLIST, 0},
        {slider, L"msctls_trackbar32", TBS_VERT | TBS_NOTICKS, TBS_HORZ | TBS_NOTICKS, 0},
    };
    for (const KindCase& c : cases) {
        ASSERT_TRUE(gui::CreateGadget(c.spec)) << c.spec.number;
    }
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.spec.number);
        HWND hwnd = Control(c.spec.number);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(ClassOf(hwnd), c.className);
        EXPECT_EQ(StyleOf(hwnd) & c.typeMask, c.type);
        EXPECT_EQ(StyleOf(hwnd) & (WS_CHILD | WS_VISIBLE), DWORD{WS_CHILD | WS_VISIBLE});
        EXPECT_EQ(ExStyleOf(hwnd) & c.exStyle, c.exStyle);
        RECT place = PlaceOf(hwnd);
        EXPECT_EQ(place.left, c.spec.x);
        EXPECT_EQ(place.top, c.spec.y);
        EXPECT_EQ(place.right - place.left, c.spec.width);
        if (c.spec.kind != GadgetKind::DropDown) {  // closed, a drop-down is one line high
            EXPECT_EQ(place.bottom - place.top, c.spec.height);
        }
        if (c.spec.kind != GadgetKind::DropDown && c.spec.kind != GadgetKind::Slider) {
            EXPECT_EQ(TextOf(hwnd), win32::Utf8ToWide(c.spec.text));
        }
    }
    // The list shows its scroll bar once there is more than it can show.
    for (int i = 0; i < 40; ++i) gui::AddGadgetItem(3, std::to_string(i) + ".mp3");
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    ASSERT_TRUE(GetComboBoxInfo(Control(3), &combo));
    EXPECT_NE(StyleOf(combo.hwndList) & WS_VSCROLL, 0u);
    // The trackbar's range, and the gadget's own view of a text with an umlaut.
    EXPECT_EQ(SendMessageW(Control(13), TBM_GETRANGEMAX, 0, 0), 500);
    EXPECT_EQ(SendMessageW(Control(13), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(gui::GetGadgetText(38), "Immer in Bildmitte öffnen");
}

TEST_F(GuiWindowTest, SmallFontOnlyWhereAsked) {
    gui::GadgetSpec small = Spec(8, GadgetKind::Text, 190, 61, 25, 12, "0:00");
    small.smallFont = true;
    ASSERT_TRUE(gui::CreateGadget(small));
    ASSERT_TRUE(gui::CreateGadget(Spec(18, GadgetKind::SunkenFrame, 210, 85, 70, 4)));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Control(8), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof(logical), &logical), 0);
    EXPECT_STREQ(logical.lfFaceName, L"Small Fonts");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(logical.lfHeight, -MulDiv(7, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(SendMessageW(Control(18), WM_GETFONT, 0, 0), 0);  // the system font
}

TEST_F(GuiWindowTest, ImageButtonsShowTheRegisteredBitmaps) {
    static const std::vector<std::uint8_t> play = testimages::Rle8(15, 12);
    static const std::vector<std::uint8_t> about = testimages::Plain4(13, 12);
    ASSERT_TRUE(gui::RegisterImage(1, play.data(), play.size()));
    ASSERT_TRUE(gui::RegisterImage(9, about.data(), about.size()));
    gui::GadgetSpec button = Spec(0, GadgetKind::ImageButton, 21, 79, 18, 16);
    button.image = 1;
    gui::GadgetSpec aboutButton = Spec(36, GadgetKind::ImageButton, 267, 98, 18, 16);
    aboutButton.image = 9;
    gui::GadgetSpec unknown = Spec(29, GadgetKind::ImageButton, 227, 98, 18, 16);
    unknown.image = 77;  // never registered: a plain button, not a failure
    ASSERT_TRUE(gui::CreateGadget(button));
    ASSERT_TRUE(gui::CreateGadget(aboutButton));
    ASSERT_TRUE(gui::CreateGadget(unknown));

    const std::pair<int, SIZE> expected[] = {{0, {15, 12}}, {36, {13, 12}}};
    for (const auto& [id, size] : expected) {
        HWND hwnd = Control(id);
        EXPECT_EQ(StyleOf(hwnd) & BS_BITMAP, DWORD{BS_BITMAP});
        auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(hwnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(bitmap, nullptr) << id;
        BITMAP info{};
        ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, size.cx);
        EXPECT_EQ(info.bmHeight, size.cy);
    }
    EXPECT_EQ(SendMessageW(Control(29), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    // The run-length coded rows came out as coded: row r (from the bottom) has colour r * 7.
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(Control(0), BM_GETIMAGE, IMAGE_BITMAP, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetRValue(GetPixel(dc, 3, 11)), 0);      // bottom row: colour 0
    EXPECT_EQ(GetRValue(GetPixel(dc, 3, 0)), 11 * 7);  // top row: colour 77
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(GuiWindowTest, DamagedBmpDataIsRefused) {
    std::vector<std::uint8_t> good = testimages::Rle8(15, 12);
    EXPECT_FALSE(gui::RegisterImage(50, nullptr, 0));
    EXPECT_FALSE(gui::RegisterImage(50, good.data(), 20));  // cut inside the header
    std::vector<std::uint8_t> cut(good.begin(), good.end() - 10);
    EXPECT_FALSE(gui::RegisterImage(50, cut.data(), cut.size()));  // coded data cut short
    std::vector<std::uint8_t> offset = good;
    testimages::Put32(offset, 10, 0xFFFFFFF0);  // pixel data far behind the end
    EXPECT_FALSE(gui::RegisterImage(50, offset.data(), offset.size()));
    std::vector<std::uint8_t> colours = good;
    testimages::Put32(colours, 46, 100000);  // more colours than the table can hold
    EXPECT_FALSE(gui::RegisterImage(50, colours.data(), colours.size()));
    std::vector<std::uint8_t> plain = testimages::Plain4(13, 12);
    plain.resize(plain.size() - 1);  // last row one byte short
    EXPECT_FALSE(gui::RegisterImage(50, plain.data(), plain.size()));
}

TEST_F(GuiWindowTest, TooltipsAreAlwaysShownStandardTips) {
    ASSERT_TRUE(gui::CreateGadget(Spec(4, GadgetKind::Button, 221, 2, 60, 15, "Verzeichnis...")));
    ASSERT_TRUE(gui::CreateGadget(Spec(24, GadgetKind::Button, 210, 79, 9, 16)));
    gui::SetGadgetTooltip(4, "Verzeichnis mit MP3 Dateien auswählen");
    gui::SetGadgetTooltip(24, "Lautstärkeregler");
    gui::SetGadgetTooltip(24, "Lautstärke");  // a second tip replaces the first

    HWND tips = nullptr;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        if (ClassOf(w) == L"tooltips_class32" && GetWindow(w, GW_OWNER) == main_) tips = w;
    }
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(StyleOf(tips) & TTS_ALWAYSTIP, DWORD{TTS_ALWAYSTIP});
    EXPECT_EQ(StyleOf(tips) & TTS_BALLOON, 0u);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);

    const std::pair<int, const wchar_t*> expected[] = {
        {4, L"Verzeichnis mit MP3 Dateien ausw\u00e4hlen"}, {24, L"Lautst\u00e4rke"}};
    for (const auto& [id, text] : expected) {
        wchar_t buffer[100] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = main_;
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = buffer;
        SendMessageW(tips, TTM_GETTEXTW, 100, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(buffer, text);
        ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), UINT{TTF_IDISHWND | TTF_SUBCLASS});
    }
}

// The main loop moves the position slider several times a second, 500 steps over some 200
// pixels: only a step that moves the thumb may cost a repaint, and the value reads back as set.
TEST_F(GuiWindowTest, SliderRepaintsOnlyWhenItsThumbMoves) {
    gui::GadgetSpec slider = Spec(13, GadgetKind::Slider, 4, 44, 212, 18);
    slider.maximum = 500;
    ASSERT_TRUE(gui::CreateGadget(slider));
    HWND track = Control(13);
    const auto repaintWanted = [track] { return GetUpdateRect(track, nullptr, FALSE) != 0; };
    UpdateWindow(main_);
    ASSERT_FALSE(repaintWanted());
    gui::SetGadgetState(13, 1);
    EXPECT_EQ(gui::GetGadgetState(13), 1);
    EXPECT_FALSE(repaintWanted());
    gui::SetGadgetState(13, 250);
    EXPECT_EQ(gui::GetGadgetState(13), 250);
    EXPECT_TRUE(repaintWanted());
}

TEST_F(GuiWindowTest, ReusedNumberLeavesTheOldControlAndAddressesTheNew) {
    ASSERT_TRUE(gui::CreateGadget(Spec(39, GadgetKind::Text, 7, 100, 35, 12, "Bitrate:")));
    ASSERT_TRUE(gui::CreateGadget(Spec(39, GadgetKind::Text, 110, 100, 60, 12, "Samplingrate:")));
    std::vector<HWND> both = Controls(39);
    ASSERT_EQ(both.size(), 2u);
    gui::SetGadgetText(39, "Rate:");
    EXPECT_EQ(TextOf(both[0]), L"Bitrate:");
    EXPECT_EQ(TextOf(both[1]), L"Rate:");
    EXPECT_TRUE(IsWindowVisible(both[0]));
    EXPECT_EQ(gui::GadgetRect(39).x, 110);
}

TEST_F(GuiWindowTest, StatesItemsAndPlacementRoundTrip) {
    gui::GadgetSpec slider = Spec(34, GadgetKind::Slider, 140, 142, 135, 14);
    slider.maximum = 255;
    ASSERT_TRUE(gui::CreateGadget(slider));
    ASSERT_TRUE(gui::CreateGadget(Spec(3, GadgetKind::DropDown, 2, 20, 280, 160)));
    ASSERT_TRUE(gui::CreateGadget(Spec(24, GadgetKind::Button, 210, 79, 9, 16)));

    gui::SetGadgetState(34, 300);  // beyond the range: the trackbar keeps it inside
    EXPECT_EQ(gui::GetGadgetState(34), 255);
    EXPECT_EQ(gui::GetGadgetState(3), -1);
    EXPECT_EQ(gui::GetGadgetText(3), "");
    gui::AddGadgetItem(3, "b.mp3");
    gui::AddGadgetItem(3, "a & ä.mp3");  // appended as given, not sorted
    EXPECT_EQ(ItemCount(Control(3)), 2);
    EXPECT_EQ(ItemTextOf(Control(3), 1), L"a & \u00e4.mp3");
    EXPECT_EQ(ItemTextOf(Control(3), 2), L"");
    gui::SetGadgetState(3, 1);
    EXPECT_EQ(gui::GetGadgetText(3), "a & ä.mp3");
    gui::ClearGadgetItems(3);
    EXPECT_EQ(ItemCount(Control(3)), 0);
    EXPECT_EQ(gui::GetGadgetState(3), -1);

    gui::ResizeGadget(24, 240, 79, 9, 16);
    EXPECT_EQ(PlaceOf(Control(24)).left, 240);
    gui::SetGadgetVisible(24, false);
    EXPECT_FALSE(IsWindowVisible(Control(24)));
    EXPECT_FALSE(gui::IsGadgetVisible(24));
    gui::SetGadgetEnabled(3, false);
    EXPECT_FALSE(IsWindowEnabled(Control(3)));
    EXPECT_FALSE(gui::IsGadgetEnabled(3));
    // Unknown numbers are ignored.
    gui::SetGadgetText(99, "x");
    EXPECT_EQ(gui::GetGadgetText(99), "");
    EXPECT_EQ(gui::GetGadgetState(99), 0);
}

}  // namespace

// A sunken frame no taller than its edge (the volume track) has no client area; its edge must
// still stand after the window repaints over it, and after the knob moved across it.
TEST_F(GuiWindowTest, AFrameThinnerThanItsEdgeIsStillDrawn) {
    ASSERT_TRUE(gui::CreateGadget(Spec(18, GadgetKind::SunkenFrame, 210, 85, 70, 4)));
    ASSERT_TRUE(gui::CreateGadget(Spec(24, GadgetKind::Button, 210, 79, 9, 16)));
    ShowWindow(main_, SW_SHOW);
    UpdateWindow(main_);
    Drain();
    const auto ink = [this] {
        HDC dc = GetDC(main_);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        int count = 0;
        for (int x = 230; x < 280; ++x) {  // right of the knob
            for (int y = 85; y < 89; ++y) count += GetPixel(dc, x, y) != face;
        }
        ReleaseDC(main_, dc);
        return count;
    };
    EXPECT_GT(ink(), 0);
    InvalidateRect(main_, nullptr, TRUE);
    UpdateWindow(main_);
    Drain();
    EXPECT_GT(ink(), 0);
    gui::ResizeGadget(24, 250, 79, 9, 16);
    gui::ResizeGadget(24, 210, 79, 9, 16);
    UpdateWindow(main_);
    Drain();
    EXPECT_GT(ink(), 0);
}
