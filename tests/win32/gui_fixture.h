// A real main window for the gui backend tests, opened fresh for each test, with helpers that
// read the native controls back through the Win32 API.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui.h"

class GuiWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gui::WindowSpec spec;
        spec.number = 0;
        spec.x = 100;
        spec.y = 80;
        spec.innerWidth = 285;
        spec.innerHeight = 116;
        spec.title = "MP3 Klingtal";
        spec.minimiseBox = true;
        ASSERT_TRUE(gui::OpenWindow(spec));
        main_ = FindWindowW(L"KlingtalWindow", L"MP3 Klingtal");
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        gui::CloseWindow(0);
        Drain();
    }

    // Every event the backend has for us now, after the messages waiting have been handled.
    static std::vector<gui::Event> Drain() {
        std::vector<gui::Event> events;
        for (gui::Event e = gui::PollEvent(); e.type != gui::EventNone; e = gui::PollEvent()) {
            events.push_back(e);
        }
        return events;
    }

    // All child controls with this identifier, in creation order.
    std::vector<HWND> Controls(int id) const {
        std::vector<HWND> found;
        for (HWND child = GetWindow(main_, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == id) found.push_back(child);
        }
        return found;
    }
    HWND Control(int id) const {
        std::vector<HWND> found = Controls(id);
        return found.empty() ? nullptr : found.back();
    }

    static std::wstring ClassOf(HWND hwnd) {
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        return CharLowerW(name);
    }
    static std::wstring TextOf(HWND hwnd) {
        wchar_t text[256] = {};
        GetWindowTextW(hwnd, text, 256);
        return text;
    }
    // A combo box's items; an index past the end reads as empty.
    static int ItemCount(HWND combo) {
        return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    }
    static std::wstring ItemTextOf(HWND combo, int index) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == CB_ERR) return L"";
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    static DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }
    static DWORD ExStyleOf(HWND hwnd) {
        return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    }
    // Position and size in the client coordinates of the main window.
    RECT PlaceOf(HWND hwnd) const {
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    static gui::GadgetSpec Spec(int number, gui::GadgetKind kind, int x, int y, int w, int h,
                                std::string text = "") {
        gui::GadgetSpec spec;
        spec.number = number;
        spec.kind = kind;
        spec.x = x;
        spec.y = y;
        spec.width = w;
        spec.height = h;
        spec.text = std::move(text);
        return spec;
    }

    HWND main_ = nullptr;
};
