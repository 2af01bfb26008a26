#pragma once

#include <QString>
#include <cstdint>

namespace folionix {

class PrintSurface;

// Makes surface the current one (g_vsPrinter) and applies the page settings to it.
void InitialisePrinter(PrintSurface& surface);

// A margin in the user's measuring system as twips: "cm" and "in" in any letter case; any other
// system gives 360. A value that is not a number is reported and gives 0.
int32_t CalculateMarginInTwips(const QString& value, const QString& measuringSystem);
// Rounded to the nearest twip, halves to the even neighbour.
int32_t InchesToTwips(double inches);
int32_t CmToTwips(double cm);

// Line spacing choice (1 single, 2 one and a half, 3 double, 4 half) as a percentage.
int32_t LineSpacingPercent(int32_t choice);

// Sets the text font of the current surface; black in monochrome mode.
void SetPrintFont(const QString& name, int32_t size, int32_t color, bool bold, bool italic, bool underline);
// Stores the font of one token class as a named style of the current surface.
void DefineTokenStyle(const QString& tokenClass);
// Applies a named style of the current surface; unknown names are ignored.
void ApplyTokenStyle(const QString& styleName);

} // namespace folionix
