// Text conversion at the Win32 boundary: the program holds UTF-8, the ...W calls take UTF-16
// (converted by platform/utf8.h, as everywhere). The few ...A calls left take plain ASCII,
// which every ANSI code page holds.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace win32 {

inline std::wstring Utf8ToWide(std::string_view text) {
    return utf8::ToUtf16<wchar_t>(text);
}

inline std::string WideToMultiByte(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                        nullptr, nullptr);
    return text;
}

inline std::string WideToUtf8(std::wstring_view wide) {
    return utf8::FromUtf16(wide);
}

inline std::string Utf8ToAnsi(std::string_view text) {
    return WideToMultiByte(Utf8ToWide(text), CP_ACP);
}

// A window's or control's text, as UTF-8.
inline std::string WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

// "\r" is the program's line break; Windows controls and message boxes want "\r\n".
inline std::string WithWindowsLineBreaks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) out += '\n';
    }
    return out;
}

}  // namespace win32
