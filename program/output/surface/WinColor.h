#pragma once

#include "Document.h"

#include <QColor>

namespace folionix {

// Windows colour (0x00BBGGRR, or 0x80000000 + n for system colour n) to a Qt colour. System colours
// map to the fixed classic Windows scheme so every output looks the same on every desktop.
QColor toQColor(WinColor color);

// The inverse for plain colours: 0x00BBGGRR.
WinColor fromQColor(const QColor& color);

// "#RRGGBB" (upper case) of the resolved colour.
QString colorName(WinColor color);

} // namespace folionix
