#pragma once

#include "EngineHost.h"
#include "EngineState.h"
#include "SourceBuffer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <vector>

namespace folionix {

class PrintSurface;

// An entry of the file list: ticked or not, the file name and the folder that holds it.
struct FileListItem
{
    bool Checked = false;
    QString Text;
    QString Tag;
};

// The folder and file name joined, with one separator between them.
QString FullFileName(const QString& folder, const QString& fileName);

// The processing engine: runs ticked files through the per-file pipeline onto the current surface.
// The navigation bar of each page of a paged HTML export (HtmlNavigationBar(0) of the surface).
extern const QString kHtmlNavigationBar;

class clsCodeProcessor
{
public:
    bool InStyleSheet = false;
    int32_t StatementCount = 0;

    // The surroundings of a run; must be set before ProcessFiles or ProcessFile.
    void setHost(EngineHost* host) { m_host = host; }
    EngineHost* host() const { return m_host; }

    // Pipeline
    void ProcessFiles(const std::vector<FileListItem>& items, bool preview);
    void ProcessFile(const QString& fileName);
    void ParseNext(SourceBuffer& buffer);
    void ParseStyleSheet(SourceBuffer& buffer);
    static QString TrimLeadingWhitespace(const QString& text);
    void StartNewPageOrColumn(bool forceNewPage);

    // Rendering
    void OutputLineNumber();
    void OutputLineBreaks(int32_t count);
    void DrawText(const QString& text);
    void SetFonts(const QString& tokenClass, bool procedureHeader = false);
    void DrawScriptIndicator();
    // The highlight box behind a script delimiter, in the given colours.
    void DrawDelimiterBox(const QString& token, int32_t penColor, int32_t brushColor);
    void IndentHTML();
    void IndentJScript();
    void IndentVBScript();
    static QString NextToken(const TokenList& tokens, int& cursor);
    static QString PeekToken(const TokenList& tokens, int cursor);

    // Region parsers (HTML, VBScript, JScript).
    TokenList ParseHTML(SourceBuffer& buffer, const QString& terminator);
    void OutputHTML(const TokenList& tokens);
    // Open-element records: an element with a tag profile (or a script) remembers the indentation
    // level in force before its start tag; its end tag restores it.
    void PushElementIndent(const QString& elementName);
    void PopElementIndent(const QString& elementName);
    void ParseVBScript(SourceBuffer& buffer, const QString& terminator);
    TokenList ParseVBScriptStatement(SourceBuffer& buffer, const QString& terminator);
    void OutputVBScriptStatement(const TokenList& tokens, const QString& terminator);
    // The first character of the buffer, taken off (a lone CR when it is empty) or only looked at
    // ("" when it is empty).
    static QString GetNextChar(SourceBuffer& buffer);
    static QString PeekNextChar(const SourceBuffer& buffer);
    void ParseJScript(SourceBuffer& buffer, const QString& terminator);
    TokenList ParseJScriptStatement(SourceBuffer& buffer, const QString& terminator);
    void OutputJScriptStatement(const TokenList& tokens);

    // Document extras: the cover sheet, a picture per source file, the RTF export's header line.
    void PrintCverSheet();
    void PrintFormBitmap(const QString& fileName);
    // Puts the picture file into the document at the current position; a file that is not a
    // readable picture raises error 481.
    void PrintBitmapFile(const QString& path);
    void ExportHeader(PrintSurface& surface, const QString& fileName);

    // Lets the user interface breathe inside long loops, at most every 30 ms.
    void YieldToUi();

private:
    EngineHost& requireHost() const;
    void startRun(RunMode mode, const std::vector<FileListItem>& items);
    void finishRun(RunMode mode);
    void processBuffer(SourceBuffer& buffer, bool styleSheet);
    void reportFileProgress(bool force);
    void drawIndent(int32_t tabSize);
    void drawWrapped(const QString& text);
    void beginContinuationLine();
    void outputTag(const TokenList& tokens, int& cursor);
    void printWords(QStringView line, const QString& tokenClass, bool spaceAfterLast);
    void printQuotedValue(const QString& value);
    void printComment(const QString& text);
    void printWordByWord(const QString& token, const QString& tokenClass, bool procedureHeader);
    void printLabelAndIndent(TokenList& tokens, QString& text);
    void drawJScriptDelimiterBox(const QString& token);

    EngineHost* m_host = nullptr;
    QElapsedTimer m_sinceYield;
    unsigned m_yieldCalls = 0;
    ProgressBarState m_site;
    ProgressBarState m_file;
    // Where the script indicator was last drawn: page, column and line, so that a line with the same
    // number on another page or column still gets its own indicator.
    int32_t m_indicatorPage = 0;
    int32_t m_indicatorColumn = 0;
};

// The cover sheet's text with its date and time placeholders (any letter case) and %variables%
// filled in, for the moment now.
QString CoverSheetText(const QString& text, const QDateTime& now);
// The picture that belongs to a source file: its base name with the bitmap extension, in the bitmap
// folder when one is set, else beside the source file.
QString FormBitmapFile(const QString& sourceFile);
// One RTF paragraph holding the picture as PNG, indented and aligned (0 left, 1 centre, 2 right).
QString RtfPictureParagraph(const QImage& picture, int indentLeft, int alignment, double widthTwips,
                            double heightTwips);
// The RTF header line of an export from "left|centre|right" header text; "%d" becomes a page field
// showing currentPage until the reader updates it.
QString RtfHeaderLine(const QString& headerText, int currentPage);

// The process-wide engine, created on first use.
clsCodeProcessor& CodeProcessor();

// Language of a script block starting at the front of text: 1 JScript, 2 VBScript, 0 another
// language. May record the first explicit language of a side as that side's default for the file.
int32_t GetScriptLanguage(const SourceBuffer& text);

// A label at the start of a VBScript line: a letter, then letters, digits 1 to 9 or "_", then ":".
bool IsLabel(const QString& text);

// One named surface style per token class from the font settings.
void DefineTokenStyles();

} // namespace folionix
