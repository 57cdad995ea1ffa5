#pragma once

#include <Qt>
#include <array>

#include "window_geometry.h"

namespace veltrano {

enum class ControlKind {
    Button,
    Entry,        // single-line text field, text right-aligned
    Label,        // plain caption, no border
    ResultLabel,  // fixed single border, right-aligned, white background
    Frame,        // etched frame with a caption
    Image,        // 24 x 24 picture, unscaled
};

enum class FontRole {
    Window,    // the program's default face
    Sans975,   // "MS Sans Serif" 9.75 pt, or a plain sans-serif face
    Greek12,   // the 12 pt face for sigma
    Greek975,  // the 9.75 pt face for the lambdas
};

struct ControlSpec {
    const char* name;  // objectName
    ControlKind kind;
    const char* container;         // nullptr: the window itself
    const char* text;              // UTF-8; for an image, the resource of its picture
    int left, top, width, height;  // twips, from the container's top-left corner
    FontRole font;
    Qt::Alignment alignment;
    bool visible;
    const char* accessibleName;
};

// The main window: client area 6330 x 4350 twips (422 x 290 pixels).
inline constexpr int kForm1Width = 6330;
inline constexpr int kForm1Height = 4350;

// Every control of the main window. The order is the stacking order, bottom
// first: Frame2 lies under Text1 and Command2, which it frames.
// clang-format off
inline constexpr ControlSpec kForm1Controls[] = {
    // name      kind                      in        text                            left  top   width height font               alignment        visible accessible name
    {"Frame2",   ControlKind::Frame,        nullptr,  "numero iterazioni",             360,  360,  1935, 975,  FontRole::Sans975,  Qt::AlignLeft,    true,  "numero iterazioni"},
    {"Command2", ControlKind::Button,       nullptr,  "X",                             1680, 720,  255,  255,  FontRole::Window,   Qt::AlignCenter,  true,  "X: torna a n"},
    {"Text1",    ControlKind::Entry,        nullptr,  "100",                           600,  720,  1000, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "n"},
    {"Frame1",   ControlKind::Frame,        nullptr,  "valori parametri",              3240, 360,  2295, 1935, FontRole::Sans975,  Qt::AlignLeft,    true,  "valori parametri"},
    {"Label5",   ControlKind::Label,        "Frame1", "\u03C3",                        480,  390,  255,  375,  FontRole::Greek12,  Qt::AlignLeft,    true,  "sigma"},
    {"Text2",    ControlKind::Entry,        "Frame1", "10",                            840,  360,  1095, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "sigma"},
    {"Label6",   ControlKind::Label,        "Frame1", "R",                             480,  900,  255,  375,  FontRole::Sans975,  Qt::AlignLeft,    true,  "R"},
    {"Text3",    ControlKind::Entry,        "Frame1", "28",                            840,  840,  1095, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "R"},
    {"Label7",   ControlKind::Label,        "Frame1", "b",                             480,  1380, 255,  375,  FontRole::Sans975,  Qt::AlignLeft,    true,  "b"},
    {"Text4",    ControlKind::Entry,        "Frame1", "2.6667",                        840,  1320, 1095, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "b"},
    {"Command1", ControlKind::Button,       nullptr,  "CALCOLA",                       600,  1680, 1000, 495,  FontRole::Window,   Qt::AlignCenter,  true,  "CALCOLA"},
    {"Label8",   ControlKind::Label,        nullptr,  "t",                             480,  2760, 1005, 255,  FontRole::Sans975,  Qt::AlignHCenter, true,  "t"},
    {"Label9",   ControlKind::Label,        nullptr,  "\u03BB1",                       1800, 2760, 1005, 255,  FontRole::Greek975, Qt::AlignHCenter, true,  "lambda 1"},
    {"Label10",  ControlKind::Label,        nullptr,  "\u03BB2",                       3120, 2760, 1005, 255,  FontRole::Greek975, Qt::AlignHCenter, true,  "lambda 2"},
    {"Label11",  ControlKind::Label,        nullptr,  "\u03BB3",                       4440, 2760, 1005, 255,  FontRole::Greek975, Qt::AlignHCenter, true,  "lambda 3"},
    {"Label1",   ControlKind::ResultLabel,  nullptr,  "",                              480,  3120, 1005, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "t"},
    {"Label2",   ControlKind::ResultLabel,  nullptr,  "",                              1800, 3120, 1005, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "lambda 1"},
    {"Label3",   ControlKind::ResultLabel,  nullptr,  "",                              3120, 3120, 1005, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "lambda 2"},
    {"Label4",   ControlKind::ResultLabel,  nullptr,  "",                              4440, 3120, 1005, 375,  FontRole::Sans975,  Qt::AlignRight,   true,  "lambda 3"},
    {"Label13",  ControlKind::Label,        nullptr,  "Tempo di calcolo in secondi:",  480,  3795, 2055, 375,  FontRole::Window,   Qt::AlignLeft,    true,  "Tempo di calcolo in secondi"},
    {"Label12",  ControlKind::Label,        nullptr,  "",                              2640, 3795, 1215, 375,  FontRole::Window,   Qt::AlignLeft,    true,  "tempo di calcolo in secondi"},
    {"Image1",   ControlKind::Image,        nullptr,  ":/assets/help-normal.png",      5880, 110,  360,  360,  FontRole::Window,   Qt::AlignLeft,    true,  "About Veltrano"},
    {"Image2",   ControlKind::Image,        nullptr,  ":/assets/help-pressed.png",     5880, 600,  360,  360,  FontRole::Window,   Qt::AlignLeft,    false, "pressed look"},
    {"Image3",   ControlKind::Image,        nullptr,  ":/assets/help-hover.png",       5880, 1080, 360,  360,  FontRole::Window,   Qt::AlignLeft,    false, "hover look"},
    {"Image4",   ControlKind::Image,        nullptr,  ":/assets/help-normal.png",      5880, 1560, 360,  360,  FontRole::Window,   Qt::AlignLeft,    false, "normal look"},
};
// clang-format on

// Tab stops in order; "X" is not one, so the window opens with the focus in Text1.
inline constexpr std::array<const char*, 5> kForm1TabOrder = {"Text1", "Text2", "Text3", "Text4", "Command1"};

}  // namespace veltrano
