#include "Options.h"

#include <ErrorTrace.h>

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace folionix {

namespace {

struct FontDefault
{
    const QString* key;
    const char* name;
    int32_t color;
    bool bold;
    bool italic;
};

} // namespace

const std::array<QString, 12>& TokenClassStyleOrder()
{
    using namespace tokenclass;
    static const std::array<QString, 12> order{Attributes,       Comments, Constants,   Elements,
                                               Identifiers,      Keywords, LineNumbers, PageHeaders,
                                               ProcedureHeaders, Strings,  Text,        TOC};
    return order;
}

bool KeywordTable::add(const QString& word)
{
    const QString key = word.toCaseFolded();
    if (m_words.contains(key))
        return false;
    m_words.insert(key, word);
    return true;
}

bool KeywordTable::contains(QStringView word) const
{
    // Looked up for every word printed: fold short words into a local buffer instead of allocating.
    constexpr qsizetype kShort = 64;
    if (word.size() > kShort)
        return m_words.contains(word.toString().toCaseFolded());
    char16_t folded[kShort];
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        if (c.isSurrogate())
            return m_words.contains(word.toString().toCaseFolded());
        const char16_t u = c.unicode();
        folded[i] =
            u < 128 ? ((u >= u'A' && u <= u'Z') ? char16_t(u | 0x20) : u) : c.toCaseFolded().unicode();
    }
    return m_words.contains(QString::fromRawData(reinterpret_cast<const QChar*>(folded), word.size()));
}

void clsOptions::ResetFontDefaults()
{
    using namespace tokenclass;
    static const FontDefault defaults[] = {
        {&PageHeaders, "Times New Roman", 0x000080, true, false},
        {&TOC, "Courier New", 0x800000, false, false},
        {&Identifiers, "Courier New", 0x800000, false, false},
        {&LineNumbers, "Courier New", 0x808080, false, false},
        {&Comments, "Courier New", 0x008000, false, true},
        {&Keywords, "Courier New", 0x0000FF, false, false},
        {&Strings, "Courier New", 0xFF0000, false, false},
        {&Constants, "Courier New", 0x808000, false, false},
        {&ProcedureHeaders, "Times New Roman", 0x808000, true, false},
        {&Elements, "Courier New", 0x0000FF, false, false},
        {&Attributes, "Courier New", 0x808000, false, false},
        {&Text, "Courier New", 0x000000, false, false},
    };
    Fonts.clear();
    for (const FontDefault& d : defaults) {
        clsFont font;
        font.Name = QString::fromLatin1(d.name);
        font.Size = 8;
        font.Color = d.color;
        font.Bold = d.bold;
        font.Italic = d.italic;
        Fonts.emplace(*d.key, font);
    }
}

void clsOptions::ApplyDefaults(QSize screenTwips)
{
    *this = clsOptions();
    ResetFontDefaults();
    HeaderCodes.clear();
    AddHeader(QStringLiteral("Header Codes"), QStringLiteral("{Filename}"), QStringLiteral("{Blank}"),
              QStringLiteral("{Blank}"));
    AddHeader(QStringLiteral("Footer Codes"), QStringLiteral("{Filename}"), QStringLiteral("{Page Number}"),
              QStringLiteral("{Datetime}"));
    MainWindowHeight = int32_t(std::llrint(screenTwips.height() * 0.9));
    MainWindowWidth = int32_t(std::llrint(screenTwips.width() * 0.75));
    ApplySplitterDefaults();
}

void clsOptions::ApplySplitterDefaults()
{
    HorizontalSplitterPosition = int32_t(std::llrint(MainWindowHeight * 0.5));
    VerticalSplitterPosition = int32_t(std::llrint(MainWindowWidth * 0.35));
}

clsLanguageOptions& clsOptions::LanguageOptions(int32_t language)
{
    switch (language) {
    case LangJScript:
        return JScriptOptions;
    case LangVBScript:
        return VBScriptOptions;
    default:
        return HTMLOptions;
    }
}

clsFont& clsOptions::Font(const QString& tokenClass)
{
    auto it = Fonts.find(tokenClass);
    if (it == Fonts.end())
        throw mendwick::AppError(mendwick::errnum::InvalidProcedureCall,
                                 QStringLiteral("Font record not found: ") + tokenClass,
                                 QStringLiteral("clsOptions"));
    return it->second;
}

const clsFont& clsOptions::Font(const QString& tokenClass) const
{
    return const_cast<clsOptions*>(this)->Font(tokenClass);
}

void clsOptions::AddHeader(const QString& key, const QString& left, const QString& centre,
                           const QString& right)
{
    mendwick::ErrorTrace trace("clsOptions", "AddHeader");
    mendwick::Guard(trace, [&] {
        trace.Stage("Populate Header Code object for ", key);
        if (HeaderCodes.contains(key))
            throw mendwick::AppError(457,
                                     QStringLiteral("This key is already associated with an element of "
                                                    "this collection"),
                                     QStringLiteral("clsOptions"));
        HeaderCodes.emplace(key, clsHeaderCode{left, centre, right});
    });
}

QSize DefaultScreenTwips()
{
    // Twips per pixel at the screen's logical dpi (15 at 96 dpi).
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize px = screen->size();
            const double perPixelX = 1440.0 / screen->logicalDotsPerInchX();
            const double perPixelY = 1440.0 / screen->logicalDotsPerInchY();
            if (px.width() > 0 && px.height() > 0)
                return QSize(int(std::llrint(px.width() * perPixelX)),
                             int(std::llrint(px.height() * perPixelY)));
        }
    }
    return QSize(1920 * 15, 1080 * 15);
}

clsOptions& Options()
{
    static clsOptions* options = [] {
        auto* o = new clsOptions;
        o->ApplyDefaults(DefaultScreenTwips());
        return o;
    }();
    return *options;
}

std::map<QString, clsHTMLElementProfile>& TagProfiles()
{
    static std::map<QString, clsHTMLElementProfile> table;
    return table;
}

KeywordTable& VBScriptKeywords()
{
    static KeywordTable table;
    return table;
}

KeywordTable& JScriptKeywords()
{
    static KeywordTable table;
    return table;
}

KeywordTable& HTMLKeywords()
{
    static KeywordTable table;
    return table;
}

} // namespace folionix
