#pragma once

#include <QFont>

namespace veltrano {

// The program's faces: "MS Sans Serif" where it exists, otherwise a plain
// sans-serif face of similar width that also has the Greek letters.
QFont sansSerifFont(double pointSize, bool bold = false);

// The face of the window and of every control without a font of its own.
QFont windowFont();

}  // namespace veltrano
