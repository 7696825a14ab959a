// Text in every script for the FLTK gui backend: FLTK 1.3 draws with one Xft font at a time and
// drops what that font lacks, so a run of such characters is drawn with the font fontconfig
// names for them, as the desktop's own toolkits do.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xft/Xft.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/gui/drop_down.h"

// FLTK's current Xft font, which x.H declares only for FLTK's own sources.
extern void* fl_xftfont;

namespace gui::fltk {

namespace {

// The FLTK font numbers after the small font are the fallback fonts, one per family.
constexpr Fl_Font kFirstFallbackFont = FL_FREE_FONT + 1;

// The family fontconfig offers for a character, as an FLTK font number; -1 when none has it.
Fl_Font FallbackFor(unsigned codePoint) {
    static std::map<unsigned, Fl_Font> byCharacter;
    static std::map<std::string, Fl_Font> byFamily;
    static std::vector<std::string> names;  // FLTK keeps the pointer to the name
    const auto known = byCharacter.find(codePoint);
    if (known != byCharacter.end()) return known->second;
    Fl_Font font = -1;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* characters = FcCharSetCreate();
    FcCharSetAddChar(characters, codePoint);
    FcPatternAddCharSet(pattern, FC_CHARSET, characters);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* family = nullptr;
        FcCharSet* has = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
            FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch &&
            FcCharSetHasChar(has, codePoint)) {
            // A leading space: the name carries no bold or italic mark.
            const std::string name = std::string(" ") + reinterpret_cast<const char*>(family);
            auto [entry, added] = byFamily.try_emplace(name, Fl_Font(-1));
            if (added && names.size() < 64) {
                names.push_back(name);
                entry->second = Fl_Font(kFirstFallbackFont + int(byFamily.size()) - 1);
                Fl::set_font(entry->second, names.back().c_str());
            }
            font = entry->second;
        }
        FcPatternDestroy(match);
    }
    FcCharSetDestroy(characters);
    FcPatternDestroy(pattern);
    byCharacter[codePoint] = font;
    return font;
}

bool CurrentFontHas(unsigned codePoint) {
    auto* font = static_cast<XftFont*>(fl_xftfont);
    return font == nullptr || XftCharExists(fl_display, font, codePoint) != 0;
}

// Splits text into runs of one font each and hands every run with its font to `run`. The
// current font is the text's own font again afterwards.
template <class Run>
void ForEachRun(std::string_view text, Run run) {
    const Fl_Font own = fl_font();
    const Fl_Fontsize size = fl_size();
    std::size_t start = 0;
    Fl_Font runFont = own;
    for (std::size_t i = 0; i < text.size();) {
        int length = 0;
        const unsigned cp = fl_utf8decode(text.data() + i, text.data() + text.size(), &length);
        Fl_Font font = own;
        if (cp >= 0x80 && !CurrentFontHas(cp)) {
            const Fl_Font fallback = FallbackFor(cp);
            if (fallback >= 0) font = fallback;
        }
        if (font != runFont && i > start) {
            fl_font(runFont, size);
            run(text.substr(start, i - start));
            fl_font(own, size);
            start = i;
        }
        runFont = font;
        i += std::size_t(std::max(length, 1));
    }
    fl_font(runFont, size);
    if (start < text.size()) run(text.substr(start));
    fl_font(own, size);
}

bool Covered(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        int length = 0;
        const unsigned cp = fl_utf8decode(text.data() + i, text.data() + text.size(), &length);
        if (cp >= 0x80 && !CurrentFontHas(cp)) return false;
        i += std::size_t(std::max(length, 1));
    }
    return true;
}

int RunsWidth(std::string_view text) {
    double width = 0;
    ForEachRun(text,
               [&width](std::string_view run) { width += fl_width(run.data(), int(run.size())); });
    return int(width + 0.5);
}

void DrawRuns(std::string_view text, int x, int baseline) {
    double at = x;
    ForEachRun(text, [&at, baseline](std::string_view run) {
        fl_draw(run.data(), int(run.size()), int(at + 0.5), baseline);
        at += fl_width(run.data(), int(run.size()));
    });
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return lines;
        start = end + 1;
    }
}

}  // namespace

void DrawItemText(const char* text, int x, int y, int w, int h) {
    fl_push_clip(x, y, w, h);
    const int baseline = y + (h - fl_height()) / 2 + fl_height() - fl_descent();
    DrawRuns(text, x + 2, baseline);
    fl_pop_clip();
}

int ItemTextWidth(const char* text) {
    return RunsWidth(text);
}

bool DrawTextInEveryScript(const char* text, int x, int y, int w, int h, Fl_Align align) {
    if (text == nullptr || Covered(text)) return false;
    const std::vector<std::string_view> lines = Lines(text);
    const int lineHeight = fl_height();
    const int total = lineHeight * int(lines.size());
    int top = y + (h - total) / 2;
    if ((align & FL_ALIGN_TOP) != 0) top = y;
    if ((align & FL_ALIGN_BOTTOM) != 0) top = y + h - total;
    fl_push_clip(x, y, w, h);
    for (std::string_view line : lines) {
        const int width = RunsWidth(line);
        int left = x + (w - width) / 2;
        if ((align & FL_ALIGN_LEFT) != 0) left = x;
        if ((align & FL_ALIGN_RIGHT) != 0) left = x + w - width;
        DrawRuns(line, left, top + lineHeight - fl_descent());
        top += lineHeight;
    }
    fl_pop_clip();
    return true;
}

bool DrawsOnlyWithFallback(const char* text) {
    return text != nullptr && !Covered(text);
}

void MeasureTextInEveryScript(const char* text, int& w, int& h) {
    w = 0;
    h = 0;
    if (text == nullptr) return;
    if (Covered(text)) {
        fl_measure(text, w, h, 0);
        return;
    }
    for (std::string_view line : Lines(text)) {
        w = std::max(w, RunsWidth(line));
        h += fl_height();
    }
}

}  // namespace gui::fltk
