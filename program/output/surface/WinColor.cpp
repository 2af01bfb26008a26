#include "WinColor.h"

#include <array>

namespace folionix {

namespace {

constexpr uint32_t SystemColorFlag = 0x80000000u;

// Classic scheme, indexed by the GetSysColor number (COLOR_SCROLLBAR = 0 … COLOR_MENUBAR = 30).
constexpr std::array<QRgb, 31> SystemColors = {
    0xD4D0C8, // 0 scroll bar
    0x3A6EA5, // 1 desktop
    0x0A246A, // 2 active caption
    0x808080, // 3 inactive caption
    0xD4D0C8, // 4 menu
    0xFFFFFF, // 5 window
    0x000000, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0xFFFFFF, // 9 caption text
    0xD4D0C8, // 10 active border
    0xD4D0C8, // 11 inactive border
    0x808080, // 12 application workspace
    0x0A246A, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xD4D0C8, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xD4D0C8, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x404040, // 21 3D dark shadow
    0xD4D0C8, // 22 3D light
    0x000000, // 23 tooltip text
    0xFFFFE1, // 24 tooltip background
    0xC0C0C0, // 25 unused slot
    0x000080, // 26 hot-tracked item
    0xA6CAF0, // 27 active caption gradient
    0xC0C0C0, // 28 inactive caption gradient
    0x316AC5, // 29 menu highlight
    0xD4D0C8, // 30 menu bar
};

} // namespace

QColor toQColor(WinColor color)
{
    if (color & SystemColorFlag) {
        const uint32_t index = color & 0x00FFFFFFu;
        return index < SystemColors.size() ? QColor::fromRgb(SystemColors[index]) : QColor(Qt::black);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

WinColor fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return WinColor(rgb.red()) | (WinColor(rgb.green()) << 8) | (WinColor(rgb.blue()) << 16);
}

QString colorName(WinColor color)
{
    return toQColor(color).name(QColor::HexRgb).toUpper();
}

} // namespace folionix
