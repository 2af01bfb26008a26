#include "IndentVBScript.h"

#include <ErrorTrace.h>
#include <Options.h>

#include <algorithm>
#include <limits>

namespace folionix {

namespace {

// (sic) Reports of this class have always carried this component name; support looks for it.
constexpr const char* kComponent = "clsInDdent";

constexpr int32_t kLevelMax = std::numeric_limits<int16_t>::max();
constexpr int32_t kLevelMin = std::numeric_limits<int16_t>::min();

// Level and pending change are 16-bit: absurdly deep nesting stops at the limit instead of wrapping
// round to a negative level (which would then be floored to 0 and lose the whole indentation).
int16_t saturated(int32_t value)
{
    return int16_t(std::clamp(value, kLevelMin, kLevelMax));
}

// The statement as if one blank followed it, so a keyword may end the statement.
QChar charAt(QStringView text, qsizetype i)
{
    return i < text.size() ? text[i] : QChar(u' ');
}

// A keyword matches when the statement starts with it, in any case, and a blank or colon follows.
// "Else" thus matches "Else" and "Else: x = 1" but not "ElseIf a Then".
bool matches(QStringView statement, QStringView keyword)
{
    // Most keywords fail on their first letter: test it (ASCII letters folded inline) first.
    if (statement.isEmpty() || keyword.isEmpty())
        return false;
    const char16_t a = statement.front().unicode();
    const char16_t b = keyword.front().unicode();
    if (a < 128 && b < 128 && (a | 0x20) != (b | 0x20))
        return false;
    if (!statement.startsWith(keyword, Qt::CaseInsensitive))
        return false;
    const QChar next = charAt(statement, keyword.size());
    return next == u' ' || next == u':';
}

bool startsWithWord(QStringView statement, QStringView word)
{
    return statement.startsWith(word, Qt::CaseInsensitive) && charAt(statement, word.size()) == u' ';
}

// The code of a statement with one blank on either side, without string literals (an unclosed one runs
// to the end) and without a trailing comment, so that " Then " is only found where it is a keyword.
// One pass: cutting literals out one by one would cost the square of the length.
QString codeOutsideStrings(QStringView statement)
{
    QString code;
    code.reserve(statement.size() + 3);
    code += u' ';
    bool inString = false;
    for (const QChar c : statement) {
        if (c == u'"') {
            inString = !inString;
            continue;
        }
        if (inString)
            continue;
        if (c == u'\'')
            break;
        code += c;
    }
    code += u"  ";
    return code;
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

QStringView trimmedRight(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.first(end);
}

// Blanks first, then the parts; one allocation.
QString indented(qint64 blanks, std::initializer_list<QStringView> parts)
{
    qsizetype size = qsizetype(blanks);
    for (QStringView part : parts)
        size += part.size();
    QString line;
    line.reserve(size);
    line.resize(qsizetype(blanks), u' ');
    for (QStringView part : parts)
        line += part;
    return line;
}

} // namespace

void clsIndentVBScript::Initialise()
{
    mendwick::ErrorTrace trace(kComponent, "Initialise");
    mendwick::Guard(trace, [&] {
        static constexpr QStringView scopes[] = {u"", u"Public ", u"Private ", u"Friend "};
        static constexpr QStringView statics[] = {u"", u"Static "};
        static constexpr QStringView kinds[] = {
            u"Sub", u"Function", u"Property Let", u"Property Get", u"Property Set", u"Type", u"Enum"};
        m_procedureStart.clear();
        m_opensTypeOrEnum.clear();
        for (QStringView scope : scopes) {
            for (QStringView isStatic : statics) {
                for (QStringView kind : kinds) {
                    QString keyword;
                    keyword += scope;
                    keyword += isStatic;
                    keyword += kind;
                    m_opensTypeOrEnum.push_back(keyword.endsWith(u"Type", Qt::CaseInsensitive) ||
                                                keyword.endsWith(u"Enum", Qt::CaseInsensitive));
                    m_procedureStart.append(std::move(keyword));
                }
            }
        }
        m_indent = {QStringLiteral("If"),          QStringLiteral("ElseIf"),  QStringLiteral("Else"),
                    QStringLiteral("#If"),         QStringLiteral("#ElseIf"), QStringLiteral("#Else"),
                    QStringLiteral("Select Case"), QStringLiteral("Case"),    QStringLiteral("With"),
                    QStringLiteral("For"),         QStringLiteral("Do"),      QStringLiteral("While")};
        m_procedureEnd = {QStringLiteral("End Sub"), QStringLiteral("End Function"),
                          QStringLiteral("End Property"), QStringLiteral("End Type"),
                          QStringLiteral("End Enum")};
        m_outdent = {QStringLiteral("ElseIf"),  QStringLiteral("Else"),       QStringLiteral("End If"),
                     QStringLiteral("#ElseIf"), QStringLiteral("#Else"),      QStringLiteral("#End If"),
                     QStringLiteral("Case"),    QStringLiteral("End Select"), QStringLiteral("End With"),
                     QStringLiteral("Next"),    QStringLiteral("Loop"),       QStringLiteral("Wend")};
        m_level = 0;
        m_pending = 0;
    });
}

void clsIndentVBScript::Reset()
{
    mendwick::ErrorTrace trace(kComponent, "Reset");
    m_level = 0;
    m_pending = 0;
    m_continuing = false;
    // A file that ends inside a continued If or a Type/Enum block must not bend the next file.
    m_inContinuedIf = false;
    m_inTypeOrEnum = false;
}

QString clsIndentVBScript::IndentLine(const QString& InputLine)
{
    mendwick::ErrorTrace trace(kComponent, "IndentLine");
    return mendwick::Guard(
        trace, [&] { return indentLine(InputLine); }, QString());
}

QString clsIndentVBScript::indentLine(const QString& inputLine)
{
    const clsLanguageOptions& options = Options().VBScriptOptions;
    const qint64 width = std::max<qint64>(options.TabSize, 0);
    const int32_t style = options.CommentsIndentStyle;

    QString text = inputLine;
    if (text.contains(u'\r'))
        text.remove(u'\r');
    const QStringView trimmed = QStringView(text).trimmed();
    if (style == 2 && trimmed.startsWith(u'\''))
        return inputLine;

    if (!m_continuing)
        m_pending = 0;
    QString line;
    if (!trimmed.isEmpty()) {
        // One blank appended: a colon or "Rem" at the very end then looks like one inside the line.
        QString s;
        s.reserve(trimmed.size() + 1);
        s += trimmed;
        s += u' ';
        const QStringView S(s);
        const qint64 continuationLevels = m_continuing ? 2 : 0;
        bool inString = false;
        qsizetype start = 0;
        bool comment = false;
        for (qsizetype i = 0; i < S.size() && !comment; ++i) {
            const QChar c = S[i];
            if (c == u'"') {
                inString = !inString;
                continue;
            }
            if (inString)
                continue;
            if (c == u':' && charAt(S, i + 1) == u' ') {
                // The statement runs from its start up to the colon, not beyond it.
                classify(S.sliced(start, i - start), start == 0);
                start = i + 2;
            } else if (c == u'\'' || ((c == u'R' || c == u'r') && IsRem(S, i + 1))) {
                comment = true;
                if (i == 0) {
                    // A whole-line comment takes no part in block tracking.
                    qint64 blanks = 0;
                    if (style == 1)
                        blanks = width * m_level;
                    else if (style == 0 && m_level >= 1)
                        blanks = width;
                    line = indented(blanks, {trimmed});
                } else {
                    classify(S.sliced(start, i - start), start == 0);
                    const QStringView code = trimmedRight(trimmed.first(i));
                    const QString gap(width > 0 ? qsizetype(width) : 1, u' ');
                    line = indented(width * (m_level + continuationLevels), {code, gap, trimmed.sliced(i)});
                    m_continuing = trimmed.endsWith(u" _");
                }
            }
        }
        if (!comment) {
            if (start < trimmed.size())
                classify(S.sliced(start), start == 0);
            line = indented(width * (m_level + continuationLevels), {trimmed});
            m_continuing = trimmed.endsWith(u" _");
        }
    }

    if (!m_continuing) {
        m_level = int16_t(std::clamp<int32_t>(m_level + m_pending, 0, kLevelMax));
        m_pending = 0;
    }
    return line;
}

void clsIndentVBScript::classify(QStringView statement, bool firstStatement)
{
    int16_t indentNext = 0;
    int16_t outdentThis = 0;
    CheckLine(statement, indentNext, outdentThis);
    apply(indentNext, outdentThis, firstStatement);
}

void clsIndentVBScript::apply(int16_t indentNext, int16_t outdentThis, bool firstStatement)
{
    if (firstStatement) {
        m_level = int16_t(std::max<int32_t>(m_level - outdentThis, 0));
        m_pending = saturated(m_pending + indentNext);
    } else {
        m_pending = saturated(m_pending + indentNext - outdentThis);
    }
}

void clsIndentVBScript::CheckLine(QStringView sLine, int16_t& miIndentNext, int16_t& iOutdentThis)
{
    miIndentNext = 0;
    iOutdentThis = 0;
    mendwick::ErrorTrace trace(kComponent, "CheckLine");
    mendwick::Guard(trace, [&] {
        const QStringView s = sLine.trimmed();
        int16_t indentNext = 0;
        int16_t outdentThis = 0;
        if (!m_inTypeOrEnum) {
            for (const QString& keyword : std::as_const(m_indent))
                indentNext += matches(s, keyword);
            for (const QString& keyword : std::as_const(m_outdent))
                outdentThis += matches(s, keyword);
        }
        const bool wasInTypeOrEnum = m_inTypeOrEnum;
        for (qsizetype k = 0; k < m_procedureStart.size(); ++k) {
            if (!matches(s, m_procedureStart[k]))
                continue;
            if (!wasInTypeOrEnum)
                ++indentNext;
            if (m_opensTypeOrEnum[size_t(k)])
                m_inTypeOrEnum = true;
        }
        for (const QString& keyword : std::as_const(m_procedureEnd)) {
            if (matches(s, keyword)) {
                m_inTypeOrEnum = false;
                ++outdentThis;
            }
        }
        if (!m_inTypeOrEnum && (m_inContinuedIf || startsWithWord(s, u"If") || startsWithWord(s, u"#If"))) {
            if (m_inContinuedIf)
                indentNext = 1;
            m_inContinuedIf = s.endsWith(u" _");
            const QString code = codeOutsideStrings(s);
            const qsizetype then = code.indexOf(u" Then ", 0, Qt::CaseInsensitive);
            if (then >= 0) {
                // Code after Then makes it a single-line If.
                if (!isBlank(QStringView(code).sliced(then + 6)))
                    indentNext = 0;
                m_inContinuedIf = false;
            }
            // A continued If indents only after its last line.
            if (m_inContinuedIf)
                indentNext = 0;
        }
        miIndentNext = indentNext;
        iOutdentThis = outdentThis;
    });
}

bool clsIndentVBScript::IsRem(QStringView sLine, qsizetype position) const
{
    mendwick::ErrorTrace trace(kComponent, "IsRem");
    return mendwick::Guard(
        trace,
        [&] {
            if (position < 1 || position + 3 > sLine.size())
                return false;
            const qsizetype i = position - 1;
            return sLine.sliced(i, 4).compare(u"Rem ", Qt::CaseInsensitive) == 0 &&
                   (i == 0 || sLine[i - 1] == u' ');
        },
        false);
}

clsIndentVBScript& IndentVBScript()
{
    // Never destroyed: callers may still indent while other process-wide objects shut down.
    static clsIndentVBScript* instance = [] {
        auto* indenter = new clsIndentVBScript;
        indenter->Initialise();
        return indenter;
    }();
    return *instance;
}

} // namespace folionix
