// The controls of the main window in creation order, with geometry, texts, fonts and tooltips.
#include <string>
#include <string_view>

#include "platform/gui.h"
#include "ui/gadget_spec.h"
#include "ui/gadgets.h"
#include "ui/keys.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace ui {

namespace {

using gui::Align;
using gui::GadgetKind;
using gui::GadgetSpec;

constexpr bool SmallFont = true;

// Every text of the window is in the small font.
GadgetSpec Label(int number, Align align, int x, int y, int w, int h, std::string text = {}) {
    GadgetSpec spec = MakeGadget(number, GadgetKind::Text, x, y, w, h, std::move(text), SmallFont);
    spec.align = align;
    return spec;
}

// All image buttons are 18 x 16.
GadgetSpec Picture(int number, int x, int y, int image) {
    GadgetSpec spec = MakeGadget(number, GadgetKind::ImageButton, x, y, 18, 16);
    spec.image = image;
    return spec;
}

GadgetSpec Slider(int number, int x, int y, int w, int h, int maximum) {
    GadgetSpec spec = MakeGadget(number, GadgetKind::Slider, x, y, w, h);
    spec.maximum = maximum;
    return spec;
}

GadgetSpec FirstOption(GadgetSpec spec) {
    spec.startsGroup = true;
    return spec;
}

void Create(const GadgetSpec& spec, std::string_view tooltip = {}) {
    gui::CreateGadget(spec);
    if (!tooltip.empty()) gui::SetGadgetTooltip(spec.number, TooltipWithKey(spec.number, tooltip));
}

}  // namespace

void CreateMainControls(std::string_view songFolder) {
    using K = GadgetKind;
    Create(MakeGadget(FolderDisplay, K::Field, 2, 2, 215, 15, std::string(songFolder), SmallFont),
           "Aktuelles Verzeichnis");
    Create(MakeGadget(FolderButton, K::DefaultButton, 221, 2, 60, 15, "Verzeichnis...", SmallFont),
           "Verzeichnis mit MP3 Dateien auswählen");
    Create(MakeGadget(AllToggle, K::Toggle, 98, 79, 22, 16, "Alle", SmallFont),
           "Alle Lieder abspielen");
    Create(MakeGadget(RepeatToggle, K::Toggle, 122, 79, 38, 16, "Wiederh", SmallFont),
           "Wiederhole das Lied oder Verzeichnis");
    Create(MakeGadget(RandomToggle, K::Toggle, 162, 79, 23, 16, "Zuf.", SmallFont),
           "Zufällige Abspielreihenfolge");
    Create(Picture(MuteButton, 187, 79, MuteImage), "Schaltet den Ton aus");
    Create(Picture(UnmuteButton, 187, 79, UnmuteImage), "Schaltet den Ton ein");
    Create(MakeGadget(SongChoice, K::DropDown, 2, 20, 280, 160, {}, SmallFont), "Aktuelles Lied");
    Create(Picture(PreviousButton, 2, 79, PreviousImage), "vorheriges Lied");
    Create(Picture(PlayButton, 21, 79, PlayImage), "Wiedergabe");
    Create(Picture(PauseButton, 40, 79, PauseImage), "Pause");
    Create(Picture(StopButton, 59, 79, StopImage), "Stop");
    Create(Picture(NextButton, 78, 79, NextImage), "nächstes Lied");
    Create(Label(ElapsedText, Align::Centre, 95, 61, 30, 12, "0:00"));
    Create(Label(SongLengthText, Align::Centre, 190, 61, 25, 12, "0:00"));
    Create(Label(SliderStartText, Align::Left, 4, 61, 30, 12, "0:00"));
    Create(Slider(PositionSlider, 4, 44, 212, 18, PositionSteps), "Position innerhalb des Liedes");
    Create(MakeGadget(PositionFrame, K::SunkenFrame, 2, 42, 215, 32));
    Create(Label(SongNumberText, Align::Right, 228, 44, 20, 12));
    Create(Label(SeparatorText, Align::Left, 250, 44, 5, 12, "/"));
    Create(Label(SongCountText, Align::Left, 255, 44, 20, 12));
    Create(Label(TotalTimeText, Align::Centre, 227, 61, 52, 12, "000:00:00"));
    Create(MakeGadget(CounterFrame, K::SunkenFrame, 219, 42, 63, 32));
    Create(MakeGadget(VolumeTrack, K::SunkenFrame, VolumeTrackX, 85, VolumeTrackWidth, 4));
    Create(MakeGadget(VolumeKnob, K::Button, VolumeTrackX, VolumeKnobY, VolumeKnobWidth,
                      VolumeKnobHeight),
           "Lautstärkeregler");
    // Both rate labels get the number 39; the second takes it over and no handler needs it.
    Create(Label(RateLabel, Align::Left, 7, 100, 35, 12, "Bitrate:"));
    Create(Label(BitrateValue, Align::Right, 45, 100, 18, 12));
    Create(Label(BitrateUnit, Align::Left, 65, 100, 30, 12, "kBit/s"));
    Create(MakeGadget(BitrateFrame, K::EdgeFrame, 2, 99, 100, 14));
    Create(Label(RateLabel, Align::Left, 110, 100, 60, 12, "Samplingrate:"));
    Create(Label(SampleRateValue, Align::Right, 173, 100, 25, 12));
    Create(Label(SampleRateUnit, Align::Left, 200, 100, 18, 12, "kHz"));
    Create(MakeGadget(SampleRateFrame, K::EdgeFrame, 105, 99, 120, 14));
    Create(Picture(ExpandButton, 247, 98, ExpandImage), "Vergrössert Fenster für mehr Optionen");
    Create(Picture(ShrinkButton, 247, 98, ShrinkImage), "Verkleinert das Fenster auf Normalgrösse");
    Create(Picture(InfoButton, 227, 98, InfoImage),
           "Zeigt, falls vorhanden, mehr Infos zum aktuellen Lied an");
    Create(Picture(AboutButton, 267, 98, AboutImage), "Über Klingtal...");
    Create(
        MakeGadget(OnTopOption, K::CheckBox, 5, 117, 122, 12, "Immer im Vordergrund", SmallFont));
    Create(FirstOption(MakeGadget(RememberPositionOption, K::Option, 5, 133, 122, 12,
                                  "Fensterposition merken", SmallFont)));
    Create(MakeGadget(CentredOption, K::Option, 5, 148, 122, 12, "Immer in Bildmitte öffnen",
                      SmallFont));
    Create(MakeGadget(SubfolderOption, K::CheckBox, 135, 117, 140, 12,
                      "Unterverzeichnisse einlesen", SmallFont));
    Create(Slider(TransparencySlider, 140, 142, 135, 14, OpacityMax),
           "Stellt die Fenstertransparenz ein");
    Create(MakeGadget(TransparencyGroup, K::GroupBox, 135, 130, 145, 30, "Transparenz", SmallFont));

    // Hidden until the settings or the mixer ask for them.
    for (int hidden : {UnmuteButton, ShrinkButton, TransparencySlider, TransparencyGroup}) {
        gui::SetGadgetVisible(hidden, false);
    }
    // Nothing to choose or seek in until a scan finds songs.
    gui::SetGadgetEnabled(SongChoice, false);
    gui::SetGadgetEnabled(PositionSlider, false);
}

}  // namespace ui
