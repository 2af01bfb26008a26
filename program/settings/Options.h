#pragma once

#include <QHash>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <map>

namespace folionix {

// Token classes: the keys of the font table and the names of the surface's text styles.
namespace tokenclass {
inline const QString PageHeaders = QStringLiteral("Page Headers");
inline const QString TOC = QStringLiteral("TOC");
inline const QString Identifiers = QStringLiteral("Identifiers");
inline const QString LineNumbers = QStringLiteral("Line Numbers");
inline const QString Comments = QStringLiteral("Comments");
inline const QString Keywords = QStringLiteral("Keywords");
inline const QString Strings = QStringLiteral("Strings");
inline const QString Constants = QStringLiteral("Constants");
inline const QString ProcedureHeaders = QStringLiteral("Procedure Headers");
inline const QString Elements = QStringLiteral("Elements");
inline const QString Attributes = QStringLiteral("Attributes");
inline const QString Text = QStringLiteral("Text");
} // namespace tokenclass

// The twelve classes in the order their styles are defined.
const std::array<QString, 12>& TokenClassStyleOrder();

// Language codes wherever a language is chosen by number.
enum Language : int32_t
{
    LangJScript = 1,
    LangVBScript = 2,
    LangHTML = 3
};

// Per-language options; all three records share these defaults.
struct clsLanguageOptions
{
    bool AttibuteUpperCase = true; // (sic) the stored name has no second "r"
    int32_t CommentsIndentStyle = 1;
    bool ElementUpperCase = true;
    bool FormatKeywords = true;
    bool FormatSource = true;
    bool HighlightScriptTags = true;
    bool IndentSourceCode = true;
    bool PrintConnections = false;
    bool PrintScriptIndicator = true;
    int32_t ScriptTagsBorderColor = 0x808080;
    int32_t ScriptTagsFillColor = 0x00FFFF;
    int32_t TabSize = 2;
};

// Print attributes of one token class.
struct clsFont
{
    QString Name;
    int16_t Size = 8;
    int32_t Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

// The three parts of a page header or footer line.
struct clsHeaderCode
{
    QString Left;
    QString Centre;
    QString Right;
};

// Formatting profile of one HTML element.
struct clsHTMLElementProfile
{
    QString ElementName;
    int32_t Before = 0;
    int32_t InsideStart = 0;
    int32_t InsideEnd = 0;
    int32_t After = 0;
    bool Indent = false;
    bool Format = false;
};

// Keyword tables compare keys without regard to case; the value is the keyword as written in its file.
class KeywordTable
{
public:
    void clear() { m_words.clear(); }
    // Adds a keyword; a second spelling of the same word is ignored and false returned.
    bool add(const QString& word);
    bool contains(QStringView word) const;
    qsizetype size() const { return m_words.size(); }

private:
    QHash<QString, QString> m_words; // case-folded → as written
};

// All user settings. Fields in declaration order; records owned here are shared by reference.
class clsOptions
{
public:
    int32_t ExportFormat = 0;
    QString ExportPath;
    int32_t AlwaysShowCustomWindow = 0;
    int32_t bmAlignment = 1;
    QString bmDirectory;
    QString bmFileExtension = QStringLiteral("GIF");
    bool bmIncludeFormBitmaps = false;
    bool bmNewPageAfter = false;
    int32_t bmPrintLocation = 0;
    int32_t ClientSideScriptingLanguage = 1;
    int32_t ColorMode = 2;
    int32_t Columns = 1;
    QString CoverSheetFileName;
    QString CurrentHomeSite = QStringLiteral("[All Drives]");
    QString Device = QStringLiteral(" ");
    int32_t Duplex = 1;
    QString FileFilter = QStringLiteral("*.asp;*.htm;*.htm;*.css");
    std::map<QString, clsFont> Fonts;
    std::map<QString, clsHeaderCode> HeaderCodes;
    int32_t HorizontalSplitterPosition = 0;
    int32_t LineSpacing = 1;
    int32_t MainWindowHeight = 0;
    int32_t MainWindowLeft = 50;
    int32_t MainWindowTop = 50;
    int32_t MainWindowWidth = 0;
    double MarginBottom = 0.5;
    double MarginLeft = 0.5;
    double MarginRight = 0.5;
    double MarginTop = 0.5;
    QString MeasuringSystem = QStringLiteral("in");
    int32_t PageBorder = 3;
    int32_t PageOrientation = 0;
    int32_t PaperBin = 7;
    int32_t PaperSize = 1;
    int32_t PrintQuality = -4;
    bool PrintToc = true;
    int32_t PrintWhat = 3;
    int32_t ScaleOutput = 100;
    int32_t ServerSideScriptingLanguage = 2;
    bool ShowFilesInSubFolders = false;
    bool SourceFontBold = false;
    int32_t SourceFontColor = int32_t(0x80000008u);
    int32_t SourceBackColor = int32_t(0x80000005u);
    bool SourceFontItalic = false;
    QString SourceFontName = QStringLiteral("Lucida Console");
    int32_t SourceFontSize = 9;
    bool SourceWordWrap = false;
    bool ToolbarVisible = false;
    int32_t VerticalSplitterPosition = 0;
    bool ViewExportedFile = true;
    QString WatermarkBitmapFile;
    double Zoom = 100;
    int32_t ZoomMode = 3;
    int16_t LineNumberStep = 1;
    bool LineNumbersRequired = true;
    int32_t ResetLineNumbersOn = 1;
    clsLanguageOptions VBScriptOptions;
    clsLanguageOptions JScriptOptions;
    clsLanguageOptions HTMLOptions;
    // How source files are decoded: "auto" detects, any other value names the encoding.
    QString SourceEncoding = QStringLiteral("auto");

    // Every field to its default; the screen-relative sizes from screen (in twips).
    void ApplyDefaults(QSize screenTwips);
    // The window-derived defaults: splitters from the window size just loaded.
    void ApplySplitterDefaults();
    // Default font records (all twelve classes).
    void ResetFontDefaults();

    // Language record by code: 1 JScript, 2 VBScript, anything else HTML.
    clsLanguageOptions& LanguageOptions(int32_t language);
    // Font record of a token class; throws mendwick::AppError when the class is not in the table.
    clsFont& Font(const QString& tokenClass);
    const clsFont& Font(const QString& tokenClass) const;

    // Adds a header/footer record; an existing key is reported through the tracer and left unchanged.
    void AddHeader(const QString& key, const QString& left, const QString& centre, const QString& right);
};

// The process-wide settings object, created on first use with its defaults.
clsOptions& Options();

// Screen size in twips used by the defaults: the primary screen, else 1920×1080 pixels at 96 dpi.
QSize DefaultScreenTwips();

// Process-wide tables filled from the keyword and tag-profile files.
std::map<QString, clsHTMLElementProfile>& TagProfiles();
KeywordTable& VBScriptKeywords();
KeywordTable& JScriptKeywords();
KeywordTable& HTMLKeywords();

} // namespace folionix
