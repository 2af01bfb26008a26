#pragma once

#include <QString>

namespace folionix {

// The value of one header/footer part: a code ("{Filename}", "{Page Number}", …, matched whole and
// ignoring case) or the literal text.
QString GetMacroValue(const QString& text);
// "left|centre|right" of the "Header Codes" and "Footer Codes" records.
QString GetHeaderText();
QString GetFooterText();
// The "Page Headers" font as the header and footer font of the current surface; black unless printing
// in colour.
void ApplyHeaderFont();
// Apply the "Page Headers" font and the header (footer) text to the current surface.
void PrintPageHeader();
void PrintPageFooter();

} // namespace folionix
