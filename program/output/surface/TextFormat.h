#pragma once

#include "Document.h"

#include <QString>

namespace folionix {

// The surface's current text attributes: what the next run is recorded with.
struct TextFormat
{
    FontKey font{QStringLiteral("Arial"), 10};
    WinColor color = 0;
    QString styleName; // the last applied style; cleared by any direct font or colour change
};

// Header and footer lines: "left|centre|right" with "%d" for the page number, and their font.
struct HeaderFooterFormat
{
    QString header;
    QString footer;
    FontKey font{QStringLiteral("Arial"), 10};
    WinColor color = 0;
    bool flag = false;
};

} // namespace folionix
