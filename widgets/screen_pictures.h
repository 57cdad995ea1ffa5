#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Pictures for the screen's resolution. Every picture in the resources is
// there as name.ext, name@2x.ext and name@3x.ext, each drawn at its own
// size; these pick the one a device pixel ratio needs and mark it with its
// ratio, so that it takes the room of the 1x picture and shows every device
// pixel.

// The picture `resource` (":/assets/equations.png") for `devicePixelRatio`.
[[nodiscard]] QPixmap screenPicture(const QString& resource, qreal devicePixelRatio);

// The program icon in every size a desktop asks for: 16, 24, 32, 48, 64,
// 128 and 256 pixels.
[[nodiscard]] QIcon programIcon();

// The hand pointer over the links, for `devicePixelRatio`; its hot spot is
// the tip of the index finger.
[[nodiscard]] QCursor handCursor(qreal devicePixelRatio);
