#pragma once

#include <QIcon>
#include <QImage>

namespace kf {

// The picture with the given resource number (139, 204, 205, 219, 220) as carried inside the
// program; a null image for a number that names no picture.
QImage resourcePicture(int id);

// The program's icon, resource 128, in its 16 and 32 pixel sizes.
QIcon appIcon();

} // namespace kf
