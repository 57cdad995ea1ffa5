#pragma once

class QWidget;

namespace veltrano {

// Window descriptions are in twips: 1440 to the inch, 15 to a pixel at 96 dpi.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

// Puts a window, frame included, in the middle of the screen it is on.
void centreOnScreen(QWidget* window);

}  // namespace veltrano
