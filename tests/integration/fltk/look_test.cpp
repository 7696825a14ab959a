// What the user sees: every button image and the About picture appear on screen at full size,
// and every caption of the main and About windows fits its control in the small font.
#include <gtest/gtest.h>

#include "platform/common/bmp_decode.h"
#include "platform/gui.h"
#include "platform/posix/gui/state.h"
#include "platform/posix/gui/widgets.h"
#include "tests/integration/fltk/fltk_support.h"
#include "ui/images.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xutil.h>

#include <set>

using namespace fltk_test;

namespace {

struct Placed {
    int gadget;
    int image;
    int x, y, w, h;
};

// Colours (0xRRGGBB) of the image's pixels that are not the button face, and how many there are.
std::multiset<unsigned> SymbolColours(int image) {
    std::size_t size = 0;
    const std::uint8_t* data = ImageData(image, size);
    BmpImage decoded;
    std::multiset<unsigned> colours;
    if (!DecodeBmp(data, size, decoded)) return colours;
    for (std::size_t i = 0; i < decoded.rgba.size(); i += 4) {
        const unsigned c = decoded.rgba[i] << 16 | decoded.rgba[i + 1] << 8 | decoded.rgba[i + 2];
        if (c != 0xc0c0c0) colours.insert(c);
    }
    return colours;
}

// How many pixels of the screen rectangle have one of the given colours.
int CountOnScreen(int sx, int sy, int w, int h, const std::multiset<unsigned>& colours) {
    XSync(fl_display, False);
    XImage* shot = XGetImage(fl_display, RootWindow(fl_display, fl_screen), sx, sy, unsigned(w),
                             unsigned(h), AllPlanes, ZPixmap);
    if (shot == nullptr) return -1;
    int count = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            count += colours.count(unsigned(XGetPixel(shot, x, y) & 0xffffff)) > 0;
        }
    }
    XDestroyImage(shot);
    return count;
}

class FltkLook : public testing::Test {
  protected:
    void TearDown() override {
        gui::CloseWindow(0);
        gui::CloseWindow(1);
        Pump(50);
    }
    static void Open(int number, int w, int h) {
        gui::WindowSpec spec;
        spec.number = number;
        spec.x = 40;
        spec.y = 40;
        spec.innerWidth = w;
        spec.innerHeight = h;
        spec.title = "MP3 Klingtal";
        spec.minimiseBox = true;
        ASSERT_TRUE(gui::OpenWindow(spec));
    }
};

}  // namespace

TEST_F(FltkLook, ImageButtonsAndThePictureShowTheirImages) {
    ASSERT_TRUE(RegisterProgramImages());
    ASSERT_TRUE(RegisterAboutImage());
    Open(0, 300, 140);
    const std::vector<Placed> placed = {
        {5, 2, 2, 79, 18, 16},     {0, 1, 21, 79, 18, 16},   {12, 4, 40, 79, 18, 16},
        {1, 5, 59, 79, 18, 16},    {7, 3, 78, 79, 18, 16},   {22, 12, 187, 79, 18, 16},
        {23, 11, 160, 79, 18, 16}, {29, 6, 227, 98, 18, 16}, {32, 7, 247, 98, 18, 16},
        {41, 8, 130, 98, 18, 16},  {36, 9, 267, 98, 18, 16}, {100, 10, 210, 10, 70, 89},
    };
    for (const Placed& p : placed) {
        gui::GadgetSpec spec;
        spec.number = p.gadget;
        spec.kind = p.image == 10 ? gui::GadgetKind::Picture : gui::GadgetKind::ImageButton;
        spec.image = p.image;
        spec.x = p.x;
        spec.y = p.y;
        spec.width = p.w;
        spec.height = p.h;
        ASSERT_TRUE(gui::CreateGadget(spec));
    }
    Pump(300);
    int ox = 0, oy = 0;
    ClientOrigin(0, ox, oy);
    for (const Placed& p : placed) {
        const std::multiset<unsigned> colours = SymbolColours(p.image);
        ASSERT_FALSE(colours.empty());
        // The whole symbol is drawn: nearly every one of its pixels is found on screen (a few
        // may share the colour of the button's edge).
        const int found = CountOnScreen(ox + p.x, oy + p.y, p.w, p.h, colours);
        EXPECT_GE(found, int(colours.size()) * 9 / 10) << "image " << p.image;
    }
}

TEST_F(FltkLook, EveryCaptionFitsItsControlInTheSmallFont) {
    struct Caption {
        gui::GadgetKind kind;
        gui::Align align;
        int w, h;
        const char* text;
    };
    using K = gui::GadgetKind;
    using A = gui::Align;
    const std::vector<Caption> captions = {
        {K::Button, A::Left, 60, 15, "Verzeichnis..."},
        {K::Toggle, A::Left, 22, 16, "Alle"},
        {K::Toggle, A::Left, 38, 16, "Wiederh"},
        {K::Toggle, A::Left, 23, 16, "Zuf."},
        {K::Text, A::Centre, 30, 12, "0:00"},
        {K::Text, A::Centre, 25, 12, "10:00"},
        {K::Text, A::Left, 30, 12, "0:00"},
        {K::Text, A::Right, 20, 12, "10000"},
        {K::Text, A::Left, 5, 12, "/"},
        {K::Text, A::Left, 20, 12, "10000"},
        {K::Text, A::Centre, 52, 12, "000:00:00"},
        {K::Text, A::Left, 35, 12, "Bitrate:"},
        {K::Text, A::Right, 18, 12, "320"},
        {K::Text, A::Left, 30, 12, "kBit/s"},
        {K::Text, A::Left, 60, 12, "Samplingrate:"},
        {K::Text, A::Right, 25, 12, "44.1"},
        {K::Text, A::Left, 18, 12, "kHz"},
        {K::CheckBox, A::Left, 122, 12, "Immer im Vordergrund"},
        {K::Option, A::Left, 122, 12, "Fensterposition merken"},
        {K::Option, A::Left, 122, 12, "Immer in Bildmitte öffnen"},
        {K::CheckBox, A::Left, 140, 12, "Unterverzeichnisse einlesen"},
        {K::GroupBox, A::Left, 145, 30, "Transparenz"},
        {K::DefaultButton, A::Left, 75, 20, "Ok"},
        {K::Text, A::Centre, 190, 12, "Ein Freeware-Programm geschrieben mit dem "},
        {K::Text, A::Centre, 180, 12, "Version 1.0"},
        {K::Text, A::Centre, 180, 12, "06/05/03 11:26:04"},
    };
    fl_font(gui::fltk::SmallFont(), gui::fltk::SmallFontSize());
    const int lineHeight = fl_height();
    for (const Caption& c : captions) {
        int room = c.w;
        switch (c.kind) {
            case K::Text:
                room = c.w;
                break;
            case K::Button:
            case K::DefaultButton:
            case K::Toggle:
                room = c.w - Fl::box_dw(FL_UP_BOX);
                break;
            case K::CheckBox:
            case K::Option:  // the mark is as wide as the font is high, plus 2 each side
                room = c.w - gui::fltk::SmallFontSize() - 4;
                break;
            default:  // group box: 8 pixels before the caption, 4 after
                room = c.w - 12;
                break;
        }
        int w = 0, h = 0;
        fl_measure(c.text, w, h, 0);
        EXPECT_LE(w, room) << '"' << c.text << "\" is " << w << " pixels wide";
        EXPECT_LE(lineHeight, c.h + 1) << '"' << c.text << '"';
    }
}
