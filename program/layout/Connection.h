#pragma once

#include <QString>
#include <cstdint>

namespace folionix {

// A remembered keyword or element occurrence: open HTML elements (with the indentation level in
// xPos) and VBScript block keywords (with their print position).
struct clsConnection
{
    QString Keyword;
    bool isStartKeyword = false;
    bool isMiddleKeyword = false;
    bool isEndKeyword = false;
    int32_t xPos = 0;
    int32_t yPos = 0;
    bool Continued = false;
    int32_t Page = 0;
};

} // namespace folionix
