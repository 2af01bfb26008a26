#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace folionix {

// Re-indents VBScript one physical line at a time. The block depth runs on from call to call, so lines
// must arrive in source order and Reset must come before every file. TabSize and CommentsIndentStyle of
// VBScriptOptions are read at every call.
class clsIndentVBScript
{
public:
    // Builds the keyword lists (again, without doubling them, when called twice) and sets the level and
    // the pending change to 0.
    void Initialise();

    // Starts a new file: level and pending change 0, no continuation, no open continued If and no open
    // Type or Enum block, so nothing a previous file left open leaks into the next one.
    void Reset();

    // Returns the line, trimmed, behind the blanks of its indentation; only the leading blanks matter to
    // the caller. An empty or blank line gives an empty text. With CommentsIndentStyle 2 a line starting
    // with an apostrophe comes back exactly as passed in. A failure is reported and gives an empty text.
    QString IndentLine(const QString& InputLine);

    // Classifies one statement: miIndentNext is how many levels the following lines move in, and
    // iOutdentThis how many levels the statement itself moves out. Updates the continued-If and the
    // Type/Enum flags.
    void CheckLine(QStringView sLine, int16_t& miIndentNext, int16_t& iOutdentThis);

    // True when "Rem " (any case) starts at the 1-based position, at the start or after a blank. Needs
    // the blank after "Rem": callers append one to the line. False for positions outside the text.
    bool IsRem(QStringView sLine, qsizetype position) const;

    // The keyword lists as Initialise builds them, in their order of testing.
    const QStringList& ProcedureStartKeywords() const { return m_procedureStart; }
    const QStringList& IndentKeywords() const { return m_indent; }
    const QStringList& ProcedureEndKeywords() const { return m_procedureEnd; }
    const QStringList& OutdentKeywords() const { return m_outdent; }

private:
    QString indentLine(const QString& inputLine);
    // Applies the classification of a statement; the first one on a physical line moves its own line.
    void apply(int16_t indentNext, int16_t outdentThis, bool firstStatement);
    void classify(QStringView statement, bool firstStatement);

    QStringList m_procedureStart;
    QStringList m_indent;
    QStringList m_procedureEnd;
    QStringList m_outdent;
    // Parallel to m_procedureStart: the entry opens a Type or Enum block.
    std::vector<bool> m_opensTypeOrEnum;

    int16_t m_level = 0;
    int16_t m_pending = 0;
    bool m_continuing = false;
    bool m_inContinuedIf = false;
    bool m_inTypeOrEnum = false;
};

// The process-wide indenter, created and initialised on first use.
clsIndentVBScript& IndentVBScript();

} // namespace folionix
