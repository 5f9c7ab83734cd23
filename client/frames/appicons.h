#pragma once
// The program's own icons and pictures, drawn for it and kept as SVG in the
// program's resources.
#include <QIcon>
#include <QPixmap>

namespace corvexa::client {

// :/icons/NAME.svg; an empty icon when there is none.
QIcon appIcon(const char* name);
// :/pictures/NAME.svg at its own size, or at the given size.
QPixmap appPicture(const char* name, QSize size = {});

} // namespace corvexa::client
