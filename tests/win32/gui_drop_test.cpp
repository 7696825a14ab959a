// Files dropped from Explorer onto the real window: a WM_DROPFILES with a DROPFILES block in
// global memory, as the shell sends it, becomes the target button's click with the first file.
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "tests/win32/gui_fixture.h"

namespace {

// The shell's drop: a DROPFILES header, then the names as wide strings, each ended by a NUL
// and the list by one more. The receiver frees it with DragFinish.
HGLOBAL DropBlock(const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const std::wstring& file : files) names += file + L'\0';
    names += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    CopyMemory(header + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

class GuiDrop : public GuiWindowTest {
  protected:
    // Posts the drop to the window (or a control of it) and counts the target's clicks that
    // follow.
    int Drop(const std::vector<std::wstring>& files, HWND to = nullptr) {
        PostMessageW(to != nullptr ? to : main_, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DropBlock(files)), 0);
        int clicks = 0;
        for (const gui::Event& e : Drain()) clicks += e.type == gui::EventGadget && e.gadget == 4;
        return clicks;
    }
};

TEST_F(GuiDrop, FirstDroppedFileIsTheTargetsClickWhileItIsEnabled) {
    ASSERT_TRUE(gui::CreateGadget(Spec(4, gui::GadgetKind::Button, 221, 2, 60, 15, "V")));
    gui::SetDropTarget(0, 4);
    EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);

    EXPECT_EQ(Drop({L"C:\\Musik\\Die \u00C4rzte", L"C:\\Musik\\zwei.mp3"}), 1);
    EXPECT_EQ(gui::TakeDroppedPath(), "C:\\Musik\\Die \xC3\x84rzte");
    EXPECT_EQ(gui::TakeDroppedPath(), "");

    gui::SetGadgetEnabled(4, false);
    EXPECT_EQ(Drop({L"C:\\Musik\\drei"}), 0);
    EXPECT_EQ(gui::TakeDroppedPath(), "");
    gui::SetDropTarget(0, -1);
}

// A drop that reaches a control (the field, the trackbar) is the window's drop.
TEST_F(GuiDrop, DropOverAControlIsTheWindowsDrop) {
    ASSERT_TRUE(gui::CreateGadget(Spec(2, gui::GadgetKind::Field, 2, 2, 217, 15, "C:\\alt\\")));
    ASSERT_TRUE(gui::CreateGadget(Spec(4, gui::GadgetKind::Button, 221, 2, 60, 15, "V")));
    gui::GadgetSpec slider = Spec(13, gui::GadgetKind::Slider, 4, 44, 212, 18);
    slider.maximum = 500;
    ASSERT_TRUE(gui::CreateGadget(slider));
    gui::SetDropTarget(0, 4);
    for (const int control : {2, 13}) {
        EXPECT_EQ(Drop({L"C:\\Musik\\neu"}, Control(control)), 1) << control;
        EXPECT_EQ(gui::TakeDroppedPath(), "C:\\Musik\\neu") << control;
    }
    EXPECT_EQ(gui::GetGadgetText(2), "C:\\alt\\");
    gui::SetDropTarget(0, -1);
}

}  // namespace
