#include "HeaderCodes.h"
#include "EngineState.h"

#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

#include <QDateTime>
#include <QLocale>

namespace folionix {

namespace {

QString fileNameOnly(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

QString longDate()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat);
}

QString longTime()
{
    return QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat);
}

QString compositeText(const char* member, const QString& key)
{
    mendwick::ErrorTrace trace("basMain", member);
    return mendwick::Guard(trace, [&] {
        const auto it = Options().HeaderCodes.find(key);
        if (it == Options().HeaderCodes.end())
            throw mendwick::AppError(5, QStringLiteral("Invalid procedure call or argument"),
                                     QStringLiteral("basMain"));
        const clsHeaderCode& code = it->second;
        return GetMacroValue(code.Left) + u'|' + GetMacroValue(code.Centre) + u'|' +
               GetMacroValue(code.Right);
    });
}

void applyHeaderFont(const char* member, bool header)
{
    mendwick::ErrorTrace trace("basMain", member);
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        s.setHeaderFlag(false);
        ApplyHeaderFont();
        if (header)
            s.setHeaderText(GetHeaderText());
        else
            s.setFooterText(GetFooterText());
    });
}

} // namespace

void ApplyHeaderFont()
{
    const clsFont& font = Options().Font(tokenclass::PageHeaders);
    PrintSurface& s = Surface();
    s.setHeaderFontSize(font.Size);
    s.setHeaderFontName(font.Name);
    s.setHeaderColor(Options().ColorMode == 2 ? WinColor(font.Color) : 0);
    s.setHeaderFontBold(font.Bold);
    s.setHeaderFontItalic(font.Italic);
    s.setHeaderFontUnderline(font.Underline);
}

QString GetMacroValue(const QString& text)
{
    mendwick::ErrorTrace trace("basMain", "GetMacroValue");
    try {
        const auto is = [&](const char* code) {
            return text.compare(QLatin1String(code), Qt::CaseInsensitive) == 0;
        };
        if (is("{Filename}"))
            return g_sCurrentFile;
        if (is("{Filename - No Path}"))
            return fileNameOnly(g_sCurrentFile);
        if (is("{Date}"))
            return longDate();
        if (is("{Page Number}"))
            return QStringLiteral("Page ") + QString::number(Surface().CurrentPage());
        if (is("{Time}"))
            return longTime();
        if (is("{Datetime}"))
            return longDate() + QLatin1String("  ") + longTime();
        if (is("{Blank}"))
            return QStringLiteral(" ");
        return text;
    } catch (...) {
        mendwick::Err().Clear();
        return QStringLiteral("Not known");
    }
}

QString GetHeaderText()
{
    return compositeText("GetHeaderText", QStringLiteral("Header Codes"));
}

QString GetFooterText()
{
    return compositeText("GetFooterText", QStringLiteral("Footer Codes"));
}

void PrintPageHeader()
{
    applyHeaderFont("PrintPageHeader", true);
}

void PrintPageFooter()
{
    applyHeaderFont("PrintPageFooter", false);
}

} // namespace folionix
