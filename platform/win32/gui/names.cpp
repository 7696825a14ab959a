// What a screen reader and a foreign name need of the controls: accessible names for controls
// whose caption does not say what they are, and the message font for texts "Small Fonts", a
// raster font without font linking, cannot show.
#include <windows.h>

#include <initguid.h>  // first: defines the GUIDs oleacc.h declares, in this file

#include <oleacc.h>

#include <string>
#include <string_view>

#include "platform/win32/gui/state.h"

namespace gui::win32state {
namespace {

// A memory DC with the small font selected, for measuring; kept for the life of the process.
HDC MeasuringDc() {
    static HDC dc = [] {
        HDC created = CreateCompatibleDC(nullptr);
        if (created != nullptr) SelectObject(created, SmallFont());
        return created;
    }();
    return dc;
}

// The annotation service of the accessibility runtime, created once; nullptr where the system
// has none (before Windows XP with its accessibility update).
// https://learn.microsoft.com/windows/win32/winauto/dynamic-annotation-overview
IAccPropServices* Annotations() {
    static IAccPropServices* services = [] {
        // Apartment-threaded, as the shell's folder requester wants it too; a second
        // initialisation does no harm.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IAccPropServices* created = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&created)))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return created;
    }();
    return services;
}

}  // namespace

int SmallFontHeight() {
    // Point size to pixels for the screen: height = -(points * dpi / 72).
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(7, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return height;
}

HFONT MessageFont() {
    auto& font = GetState().messageFont;
    if (!font) {
        NONCLIENTMETRICSW metrics{};
        // The size without iPaddedBorderWidth, which Windows XP refuses.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
            // The face of the message font at the height the small font really has (a raster
            // font comes in few sizes), so that the controls laid out for the small font keep
            // their height and the text fits them.
            LOGFONTW face = metrics.lfMessageFont;
            TEXTMETRICW small{};
            face.lfHeight = MeasuringDc() != nullptr && GetTextMetricsW(MeasuringDc(), &small)
                                ? -(small.tmHeight - small.tmInternalLeading)
                                : SmallFontHeight();
            face.lfWidth = 0;
            font.Reset(CreateFontIndirectW(&face));
        }
        if (!font) font.Reset(GetStockObject(DEFAULT_GUI_FONT));
    }
    return static_cast<HFONT>(font.Get());
}

bool SmallFontShows(std::wstring_view text) {
    HDC dc = MeasuringDc();
    if (dc == nullptr || text.empty()) return true;
    std::wstring glyphs(text.size(), L'\0');
    // https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-getglyphindicesw
    if (GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()),
                         reinterpret_cast<WORD*>(glyphs.data()),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return true;
    }
    return glyphs.find(wchar_t(0xFFFF)) == std::wstring::npos;
}

void FitFont(GadgetRecord& gadget, std::wstring_view text, bool adding) {
    if (!gadget.smallFont) return;
    const bool lacking = !SmallFontShows(text);
    const bool wanted = adding ? gadget.messageFont || lacking : lacking;
    if (wanted == gadget.messageFont) return;
    gadget.messageFont = wanted;
    SendMessageW(gadget.hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(wanted ? MessageFont() : SmallFont()), TRUE);
}

void SetAccessibleName(HWND control, std::wstring_view name) {
    IAccPropServices* services = Annotations();
    if (services == nullptr) return;
    std::wstring text(name);
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, text.c_str());
}

}  // namespace gui::win32state
