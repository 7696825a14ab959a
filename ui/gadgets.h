// The numbers of the program's windows, gadgets and button images. Handlers, displays and the
// main loop address every control through these names; the numbers are fixed and must not change.
#pragma once

namespace ui {

enum Window : int {
    MainWindow = 0,
    AboutWindow = 1,
};

enum Gadget : int {
    // main window
    PlayButton = 0,
    StopButton = 1,
    FolderDisplay = 2,
    SongChoice = 3,  // the song drop-down, "Aktuelles Lied"
    FolderButton = 4,
    PreviousButton = 5,
    PositionFrame = 6,
    NextButton = 7,
    SongLengthText = 8,
    AllToggle = 9,
    RepeatToggle = 11,
    PauseButton = 12,
    PositionSlider = 13,
    SliderStartText = 14,
    ElapsedText = 15,
    SongNumberText = 16,
    SongCountText = 17,
    VolumeTrack = 18,
    SeparatorText = 19,
    CounterFrame = 20,
    RandomToggle = 21,
    MuteButton = 22,
    UnmuteButton = 23,
    VolumeKnob = 24,
    BitrateValue = 25,
    SampleRateValue = 26,
    InfoButton = 29,
    BitrateFrame = 30,
    SampleRateFrame = 31,
    ExpandButton = 32,
    OnTopOption = 33,
    TransparencySlider = 34,
    TransparencyGroup = 35,
    AboutButton = 36,
    RememberPositionOption = 37,
    CentredOption = 38,
    RateLabel = 39,  // "Bitrate:" and then "Samplingrate:", which takes the number over
    ShrinkButton = 41,
    TotalTimeText = 42,
    SubfolderOption = 43,
    BitrateUnit = 44,
    SampleRateUnit = 45,

    // About window
    AboutPicture = 100,
    AboutOkButton = 101,
    AboutCreditText = 102,
    AboutToolText = 103,
    AboutLinkText = 104,
    AboutVersionText = 105,
    AboutOrderText = 107,
    AboutDateFrame = 108,
    AboutDateText = 109,
};

// Image numbers of the button pictures and of the About window's picture.
enum Image : int {
    PlayImage = 1,
    PreviousImage = 2,
    NextImage = 3,
    PauseImage = 4,
    StopImage = 5,
    InfoImage = 6,
    ExpandImage = 7,
    ShrinkImage = 8,
    AboutImage = 9,  // the About button's picture
    AboutPictureImage = 10,
    UnmuteImage = 11,
    MuteImage = 12,
};

}  // namespace ui
