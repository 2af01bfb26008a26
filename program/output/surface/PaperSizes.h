#pragma once

#include <QPageSize>
#include <QSizeF>

namespace folionix {

// Windows paper size codes (DMPAPER_*): portrait dimensions and the matching Qt page size.
struct PaperSizeInfo
{
    int code = 0;
    double widthTwips = 0;
    double heightTwips = 0;
    QPageSize::PageSizeId pageSizeId = QPageSize::Custom; // Custom: no Qt equivalent
    const char* name = "";
};

constexpr int FirstPaperCode = 1;
constexpr int LastPaperCode = 68;
constexpr int CustomPaperCode = 256;

// The entry for code, or nullptr for codes without standard dimensions (the reserved 48 and 49,
// custom 256 and anything outside 1..68).
const PaperSizeInfo* paperSizeInfo(int code);

// The paper code whose portrait size matches pageSize within a millimetre, 0 when none does.
int paperCodeFor(const QPageSize& pageSize);

} // namespace folionix
