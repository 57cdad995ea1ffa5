#pragma once

#include "links.h"

namespace veltrano {

// Sizes in twips (15 to a pixel at 96 dpi).
inline constexpr int kForm2Width = 6270;
inline constexpr int kForm2Height = 5190;
inline constexpr int kTabStripHeight = 300;

enum class AboutKind {
    Label,      // wraps at word boundaries, clipped to its box
    Reference,  // blue on the active-border colour
    Link,       // bold blue, hand pointer, opens an address
    Picture,    // a resource shown unscaled at the top-left corner
};

struct AboutControl {
    const char* name;
    AboutKind kind;
    int page;                      // 0 "Help", 1 "Contact"
    const char* content;           // UTF-8 text, or the resource of a picture
    int left, top, width, height;  // twips from the tab control's top-left corner
};

inline constexpr const char* kReference =
    "\"Determining Lyapunov Exponents From a Time Series\", A. Wolf, J. B. Swift, H. L. Swinney and "
    "J. A. Vastano, Physica 16D (1985) 285-317";

// clang-format off
inline constexpr AboutControl kForm2Controls[] = {
    // name        kind                  page content                                                   left  top   width height
    {"Label1",    AboutKind::Label,     0, "Calcolo degli esponenti di Lyapunov per il sistema di Lorentz, basato sul codice "
                                           "riportato in \"Appendice A\" di:",                          240,  480,  5775, 615},
    {"Label7",    AboutKind::Reference, 0, kReference,                                                   240,  960,  5655, 735},
    {"Label8",    AboutKind::Label,     0, "Integrazione numerica eseguita con metodo di Runge - Kutta del 4\u00B0 ordine. "
                                           "Passo incrementale: h = 0.01. Numero massimo di iterazioni: 10000.",
                                                                                                         240,  1560, 5535, 375},
    {"Label9",    AboutKind::Label,     0, "Problema differenziale integrato:",                          240,  2160, 2895, 255},
    {"Image1",    AboutKind::Picture,   0, ":/assets/equations.png",                                     240,  2520, 4260, 1215},
    {"Image2",    AboutKind::Picture,   0, ":/assets/initial-values.png",                                240,  3840, 3015, 450},

    {"Picture2",  AboutKind::Picture,   1, ":/assets/program.png",                                       360,  600,  495,  495},
    {"Label3",    AboutKind::Label,     1, "Programma Veltrano for Lorentz System",                      960,  600,  3135, 495},
    {"Picture1",  AboutKind::Picture,   1, ":/assets/banner.jpg",                                        4320, 600,  1590, 2835},
    {"Label10",   AboutKind::Label,     1, "Version 1.0",                                                360,  1320, 2055, 255},
    {"Label2",    AboutKind::Label,     1, "Freeware. \u00A9 2026 Torvessa, tutti i diritti riservati.", 360,  1680, 2775, 375},
    {"Label4",    AboutKind::Label,     1, "",                                                           360,  2280, 2655, 255},
    {"Label5",    AboutKind::Label,     1, "For informations:",                                          360,  2760, 2175, 255},
    {"Label6",    AboutKind::Link,      1, kHomePageText,                                                360,  3000, 2535, 255},
    {"Label11",   AboutKind::Label,     1, "For mathematical details:",                                  360,  3360, 1935, 375},
    {"Label12",   AboutKind::Link,      1, "Torvessa: Fisica - Matematica, Scritti Tecnici",             360,  3600, 4455, 375},
    {"Label13",   AboutKind::Label,     1, "For software download:",                                     360,  3960, 2055, 255},
    {"Label14",   AboutKind::Link,      1, "Torvessa: Fisica - Matematica, Download",                    360,  4200, 4215, 255},
};
// clang-format on

// What each picture shows, as assistive technology announces it.
struct PictureName {
    const char* picture;  // objectName
    const char* spoken;
};
inline constexpr PictureName kPictureNames[] = {
    {"Image1", "Lorenz equations: x1 dot = -sigma x1 + sigma x2; x2 dot = R x1 - x2 - x1 x3; "
               "x3 dot = -b x3 + x1 x2"},
    {"Image2", "Initial values: x1(0) = x2(0) = x3(0) = 1"},
    {"Picture2", "Veltrano program icon"},
    {"Picture1", "Torvessa studio banner"},
};

// "CHIUDI", in front of the pages.
inline constexpr int kCloseLeft = 2520, kCloseTop = 4560, kCloseWidth = 1095, kCloseHeight = 375;

}  // namespace veltrano
