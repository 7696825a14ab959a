// The FLTK gui backend's message window, folder requester, wait cursor, screen queries and
// image registration.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/bmp_decode.h"
#include "platform/common/wrapped_text.h"
#include "platform/posix/gui/requester_stop.h"
#include "platform/posix/gui/widgets.h"

namespace gui::fltk {

namespace {

// Layout pixels; the window scales them (Scaled).
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kOkWidth = 75, kOkHeight = 23;

// The red round error sign with a white cross.
class ErrorIcon : public Fl_Box {
  public:
    ErrorIcon(int x, int y) : Fl_Box(x, y, Scaled(kIconSize), Scaled(kIconSize)) {}

  protected:
    void draw() override {
        fl_color(fl_rgb_color(200, 30, 30));
        fl_pie(x(), y(), w(), h(), 0, 360);
        fl_color(FL_WHITE);
        fl_line_style(FL_SOLID, Scaled(3));
        const int inset = w() / 3;
        fl_line(x() + inset, y() + inset, x() + w() - inset, y() + h() - inset);
        fl_line(x() + w() - inset, y() + inset, x() + inset, y() + h() - inset);
        fl_line_style(0);
    }
};

// The message text as the window shows it: "\r" as line breaks, wrapped so that the window
// stays within 80 % of the screen's width, and cut off with "…" where its lines would not fit
// 80 % of the screen's height (the OK button must stay on screen). The font must be set.
std::string FitMessageText(std::string_view text, int iconSpace) {
    std::string body(text);
    std::replace(body.begin(), body.end(), '\r', '\n');
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    const int maxWidth = std::max(sw * 4 / 5 - Scaled(kMargin * 2) - iconSpace, Scaled(kOkWidth));
    std::vector<std::string> lines = WrapText(body, maxWidth, [](std::string_view c) {
        return int(fl_width(c.data(), int(c.size())) + 0.999);
    });
    const int maxLines =
        std::max(1, (sh * 4 / 5 - Scaled(kMargin * 3 + kOkHeight + 30)) / std::max(1, fl_height()));
    if (int(lines.size()) > maxLines) {
        lines.resize(std::size_t(maxLines));
        lines.back() += "…";
    }
    std::string fitted;
    for (std::size_t i = 0; i < lines.size(); ++i) fitted += (i == 0 ? "" : "\n") + lines[i];
    return fitted;
}

void OnOk(Fl_Widget* button, void*) {
    button->window()->hide();
}
void OnDialogClose(Fl_Widget* dialog, void*) {
    dialog->hide();
}

}  // namespace

}  // namespace gui::fltk

namespace gui {

using namespace gui::fltk;

void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    EnsureStarted();
    const int margin = Scaled(kMargin), okWidth = Scaled(kOkWidth), okHeight = Scaled(kOkHeight);
    const int iconSize = Scaled(kIconSize);
    const int iconSpace = icon == MessageIcon::Error ? iconSize + margin : 0;
    fl_font(NormalFont(), NormalFontSize());
    const std::string body = FitMessageText(text, iconSpace);
    int textWidth = 0, textHeight = 0;
    MeasureTextInEveryScript(body.c_str(), textWidth, textHeight);
    const int width = std::max(margin * 2 + iconSpace + textWidth, okWidth + margin * 2);
    const int contentHeight = std::max(textHeight, icon == MessageIcon::Error ? iconSize : 0);
    const int height = margin * 3 + contentHeight + okHeight;

    Fl_Window dialog(width, height);
    dialog.copy_label(std::string(title).c_str());
    if (icon == MessageIcon::Error) new ErrorIcon(margin, margin);
    auto* message = new Fl_Box(margin + iconSpace, margin, textWidth, contentHeight);
    message->labeltype(PlainLabel());
    message->labelfont(NormalFont());
    message->labelsize(NormalFontSize());
    message->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
    message->copy_label(body.c_str());
    auto* ok =
        new DefaultButton((width - okWidth) / 2, height - margin - okHeight, okWidth, okHeight);
    ok->label("OK");
    ok->labelfont(NormalFont());
    ok->labelsize(NormalFontSize());
    ok->callback(OnOk);
    dialog.end();
    dialog.set_modal();
    dialog.callback(OnDialogClose);  // the close button and Escape
    dialog.size_range(width, height, width, height);
    dialog.show();
    // The program's own work goes on meanwhile; a termination signal closes the message.
    const ModalWait modal;
    while (dialog.shown() && !StopRequested()) WaitModally();
}

std::string RequestFolder(std::string_view prompt, std::string_view startFolder) {
    EnsureStarted();
    Fl_Native_File_Chooser chooser;
    chooser.type(Fl_Native_File_Chooser::BROWSE_DIRECTORY);
    const std::string title(prompt), start(startFolder);
    chooser.title(title.c_str());
    if (!start.empty()) chooser.directory(start.c_str());
    // GTK's requester keeps its own loop until it closes: a termination signal closes it.
    const CloseOnStop closeOnStop(title);
    if (chooser.show() != 0 || chooser.filename() == nullptr) return {};
    std::string folder = chooser.filename();
    if (folder.empty()) return {};
    if (folder.back() != '/') folder += '/';
    return folder;
}

void SetWaitCursor(bool wait) {
    TheState().waitCursor = wait;
    for (auto& [number, record] : TheState().windows) {
        record.window->cursor(wait ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT);
    }
    Fl::flush();
}

int ScreenWidth() {
    EnsureStarted();
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, 0);
    return UnscaledSize(w);
}

int ScreenHeight() {
    EnsureStarted();
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, 0);
    return UnscaledSize(h);
}

Rect DesktopArea() {
    EnsureStarted();
    int left = 0, top = 0, right = 0, bottom = 0;
    for (int n = 0; n < Fl::screen_count(); ++n) {
        int x = 0, y = 0, w = 0, h = 0;
        Fl::screen_xywh(x, y, w, h, n);
        if (n == 0) {
            left = x, top = y, right = x + w, bottom = y + h;
        } else {
            left = std::min(left, x), top = std::min(top, y);
            right = std::max(right, x + w), bottom = std::max(bottom, y + h);
        }
    }
    return {Unscaled(left), Unscaled(top), UnscaledSize(right - left), UnscaledSize(bottom - top)};
}

// The caption and frame of the window manager are not known to the program: mouse positions
// are already given in client coordinates.
int SystemMetric(int) {
    return 0;
}

bool RegisterImage(int image, const std::uint8_t* bmp, std::size_t size) {
    auto record = std::make_unique<ImageRecord>();
    BmpImage decoded;
    if (!DecodeBmp(bmp, size, decoded)) return false;
    record->rgba = std::move(decoded.rgba);
    record->image = std::make_unique<Fl_RGB_Image>(record->rgba.data(), decoded.info.width,
                                                   decoded.info.height, 4);
    TheState().images[image].push_back(std::move(record));
    return true;
}

}  // namespace gui
