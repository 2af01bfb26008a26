#pragma once

#include <QPixmap>

namespace linkette {

// The picture shown in graphical style when no Picture is set: a small globe, painted rather than
// loaded so that the library carries no image files.
QPixmap builtinPicture();

} // namespace linkette
