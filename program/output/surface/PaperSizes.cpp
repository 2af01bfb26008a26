#include "PaperSizes.h"

#include <array>
#include <cmath>

namespace folionix {

namespace {

constexpr double Inch = 1440.0;
constexpr double Mm = 1440.0 / 25.4;

using Q = QPageSize;

constexpr PaperSizeInfo in(int code, double w, double h, Q::PageSizeId id, const char* name)
{
    return {code, w * Inch, h * Inch, id, name};
}

constexpr PaperSizeInfo mm(int code, double w, double h, Q::PageSizeId id, const char* name)
{
    return {code, w * Mm, h * Mm, id, name};
}

constexpr PaperSizeInfo reserved(int code)
{
    return {code, 0, 0, Q::Custom, "Reserved"};
}

// Indexed by code - 1. Transverse papers have the same page as their base size; only the feed differs.
constexpr std::array<PaperSizeInfo, LastPaperCode> Papers = {
    in(1, 8.5, 11, Q::Letter, "Letter"),
    in(2, 8.5, 11, Q::LetterSmall, "Letter Small"),
    in(3, 11, 17, Q::Tabloid, "Tabloid"),
    in(4, 17, 11, Q::Ledger, "Ledger"),
    in(5, 8.5, 14, Q::Legal, "Legal"),
    in(6, 5.5, 8.5, Q::Statement, "Statement"),
    in(7, 7.25, 10.5, Q::ExecutiveStandard, "Executive"),
    mm(8, 297, 420, Q::A3, "A3"),
    mm(9, 210, 297, Q::A4, "A4"),
    mm(10, 210, 297, Q::A4Small, "A4 Small"),
    mm(11, 148, 210, Q::A5, "A5"),
    mm(12, 257, 364, Q::JisB4, "B4 (JIS)"),
    mm(13, 182, 257, Q::JisB5, "B5 (JIS)"),
    in(14, 8.5, 13, Q::FanFoldGermanLegal, "Folio"),
    mm(15, 215, 275, Q::Quarto, "Quarto"),
    in(16, 10, 14, Q::Imperial10x14, "10x14"),
    in(17, 11, 17, Q::Tabloid, "11x17"),
    in(18, 8.5, 11, Q::Note, "Note"),
    in(19, 3.875, 8.875, Q::Envelope9, "Envelope #9"),
    in(20, 4.125, 9.5, Q::Envelope10, "Envelope #10"),
    in(21, 4.5, 10.375, Q::Envelope11, "Envelope #11"),
    in(22, 4.75, 11, Q::Envelope12, "Envelope #12"),
    in(23, 5, 11.5, Q::Envelope14, "Envelope #14"),
    in(24, 17, 22, Q::AnsiC, "C size sheet"),
    in(25, 22, 34, Q::AnsiD, "D size sheet"),
    in(26, 34, 44, Q::AnsiE, "E size sheet"),
    mm(27, 110, 220, Q::EnvelopeDL, "Envelope DL"),
    mm(28, 162, 229, Q::EnvelopeC5, "Envelope C5"),
    mm(29, 324, 458, Q::EnvelopeC3, "Envelope C3"),
    mm(30, 229, 324, Q::EnvelopeC4, "Envelope C4"),
    mm(31, 114, 162, Q::EnvelopeC6, "Envelope C6"),
    mm(32, 114, 229, Q::EnvelopeC65, "Envelope C65"),
    mm(33, 250, 353, Q::EnvelopeB4, "Envelope B4"),
    mm(34, 176, 250, Q::EnvelopeB5, "Envelope B5"),
    mm(35, 176, 125, Q::EnvelopeB6, "Envelope B6"),
    mm(36, 110, 230, Q::EnvelopeItalian, "Envelope Italy"),
    in(37, 3.875, 7.5, Q::EnvelopeMonarch, "Envelope Monarch"),
    in(38, 3.625, 6.5, Q::EnvelopePersonal, "6 3/4 Envelope"),
    in(39, 14.875, 11, Q::FanFoldUS, "US Std Fanfold"),
    in(40, 8.5, 12, Q::FanFoldGerman, "German Std Fanfold"),
    in(41, 8.5, 13, Q::FanFoldGermanLegal, "German Legal Fanfold"),
    mm(42, 250, 353, Q::B4, "B4 (ISO)"),
    mm(43, 100, 148, Q::Postcard, "Japanese Postcard"),
    in(44, 9, 11, Q::Imperial9x11, "9x11"),
    in(45, 10, 11, Q::Imperial10x11, "10x11"),
    in(46, 15, 11, Q::Imperial15x11, "15x11"),
    mm(47, 220, 220, Q::EnvelopeInvite, "Envelope Invite"),
    reserved(48),
    reserved(49),
    in(50, 9.5, 12, Q::LetterExtra, "Letter Extra"),
    in(51, 9.5, 15, Q::LegalExtra, "Legal Extra"),
    in(52, 11.69, 18, Q::Custom, "Tabloid Extra"), // Qt's Tabloid Extra is 12 x 18 in
    in(53, 9.27, 12.69, Q::A4Extra, "A4 Extra"),
    in(54, 8.5, 11, Q::Letter, "Letter Transverse"),
    mm(55, 210, 297, Q::A4, "A4 Transverse"),
    in(56, 9.5, 12, Q::LetterExtra, "Letter Extra Transverse"),
    mm(57, 227, 356, Q::SuperA, "Super A"),
    mm(58, 305, 487, Q::SuperB, "Super B"),
    in(59, 8.5, 12.69, Q::LetterPlus, "Letter Plus"),
    mm(60, 210, 330, Q::A4Plus, "A4 Plus"),
    mm(61, 148, 210, Q::A5, "A5 Transverse"),
    mm(62, 182, 257, Q::JisB5, "B5 (JIS) Transverse"),
    mm(63, 322, 445, Q::A3Extra, "A3 Extra"),
    mm(64, 174, 235, Q::A5Extra, "A5 Extra"),
    mm(65, 201, 276, Q::B5Extra, "B5 (ISO) Extra"),
    mm(66, 420, 594, Q::A2, "A2"),
    mm(67, 297, 420, Q::A3, "A3 Transverse"),
    mm(68, 322, 445, Q::A3Extra, "A3 Extra Transverse"),
};

} // namespace

const PaperSizeInfo* paperSizeInfo(int code)
{
    if (code < FirstPaperCode || code > LastPaperCode)
        return nullptr;
    const PaperSizeInfo& info = Papers[size_t(code - 1)];
    return info.widthTwips > 0 ? &info : nullptr;
}

int paperCodeFor(const QPageSize& pageSize)
{
    if (!pageSize.isValid())
        return 0;
    const int windowsId = pageSize.windowsId();
    if (paperSizeInfo(windowsId))
        return windowsId;
    const QSizeF size = pageSize.size(QPageSize::Millimeter);
    for (const PaperSizeInfo& info : Papers) {
        if (info.widthTwips > 0 && std::abs(info.widthTwips / Mm - size.width()) < 1.0 &&
            std::abs(info.heightTwips / Mm - size.height()) < 1.0)
            return info.code;
    }
    return 0;
}

} // namespace folionix
