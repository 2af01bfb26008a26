#include "DrawConnections.h"

#include <CurrentSurface.h>
#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

#include <algorithm>
#include <cmath>

namespace folionix {

namespace {

constexpr const char* kComponent = "clsDrawConnections";
constexpr size_t kGrowth = 100;

PrintSurface& surface()
{
    if (!g_vsPrinter)
        throw mendwick::AppError(91, QStringLiteral("Object variable or With block variable not set"),
                                 QString::fromLatin1(kComponent));
    return *g_vsPrinter;
}

// Whole twips with halves to the even neighbour, the rounding of every position kept here.
double roundHalfEven(double value)
{
    if (std::abs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

bool same(QStringView a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Calls visit(part) for each colon-separated statement of line until visit returns false. A colon or
// apostrophe inside a string literal belongs to the literal; an apostrophe outside one starts a
// comment, which ends the line.
template <typename Visit> void forEachSegment(QStringView line, Visit&& visit)
{
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u':') {
            if (!visit(line.mid(start, i - start)))
                return;
            start = i + 1;
        } else if (!quoted && c == u'\'') {
            visit(line.mid(start, i - start));
            return;
        }
    }
    visit(line.mid(start));
}

// The first two words of text. Words end at blanks; an opening parenthesis also starts a new word, so
// "While(a)" and "ElseIf(a)" read as their keywords just as "If(a)" does.
void firstTwoWords(QStringView text, QStringView& w1, QStringView& w2)
{
    qsizetype i = 0;
    auto next = [&]() -> QStringView {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !text[i].isSpace() && !(text[i] == u'(' && i > start))
            ++i;
        return text.mid(start, i - start);
    };
    w1 = next();
    w2 = next();
}

enum class Action
{
    Start,
    Middle,
    End,
    Skip,
    Stop
};

enum class Second
{
    Any,   // whatever follows, or nothing
    None,  // no second word
    Is,    // the second word is w2
    Other, // a second word the rows before did not take
};

struct Rule
{
    const char* w1;
    Second second;
    const char* w2;
    Action action;
    const char* recorded; // nullptr: the first word as written
};

// Read top down; the first row that matches decides. "If" is decided by its form, before this table.
constexpr Rule kRules[] = {
    {"#If", Second::Any, nullptr, Action::Start, "#If"},
    {"#Else", Second::Any, nullptr, Action::Middle, "#Else"},
    {"#ElseIf", Second::Any, nullptr, Action::Middle, "#ElseIf"},
    {"#End", Second::Any, nullptr, Action::End, "#EndIf"},
    {"Enum", Second::Any, nullptr, Action::Start, "Enum"},
    {"Private", Second::None, nullptr, Action::Skip, nullptr},
    {"Private", Second::Is, "Type", Action::Start, "Private Type"},
    {"Private", Second::Is, "Enum", Action::Start, "Private Enum"},
    {"Private", Second::Other, nullptr, Action::Stop, nullptr},
    {"Public", Second::None, nullptr, Action::Skip, nullptr},
    {"Public", Second::Is, "Type", Action::Start, "Public Type"},
    {"Public", Second::Is, "Enum", Action::Start, "Public Enum"},
    {"Public", Second::Other, nullptr, Action::Stop, nullptr},
    {"Select", Second::Any, nullptr, Action::Start, nullptr},
    {"With", Second::Any, nullptr, Action::Start, nullptr},
    {"For", Second::Any, nullptr, Action::Start, nullptr},
    {"Do", Second::Any, nullptr, Action::Start, nullptr},
    {"While", Second::Any, nullptr, Action::Start, nullptr},
    {"Type", Second::Any, nullptr, Action::Start, nullptr},
    {"ElseIf", Second::Any, nullptr, Action::Middle, "ElseIf"},
    {"Else", Second::Is, "If", Action::Middle, "Else If"},
    {"Else", Second::Any, nullptr, Action::Middle, "Else"},
    {"End", Second::None, nullptr, Action::Skip, nullptr},
    {"End", Second::Is, "If", Action::End, "End If"},
    {"End", Second::Is, "Select", Action::End, "End Select"},
    {"End", Second::Is, "With", Action::End, "End With"},
    {"End", Second::Is, "Type", Action::End, "End Type"},
    {"End", Second::Is, "Enum", Action::End, "End Enum"},
    {"End", Second::Other, nullptr, Action::Stop, nullptr},
    {"Next", Second::Any, nullptr, Action::End, nullptr},
    {"Loop", Second::Any, nullptr, Action::End, nullptr},
    {"Wend", Second::Any, nullptr, Action::End, nullptr},
    {"#Endif", Second::Any, nullptr, Action::End, nullptr},
    {"Case", Second::Is, "Else", Action::Middle, "Case Else"},
    {"Case", Second::Any, nullptr, Action::Middle, "Case"},
    // The rest of the line is a comment: its words are no keywords.
    {"Rem", Second::Any, nullptr, Action::Stop, nullptr},
};

bool secondMatches(const Rule& rule, QStringView w2)
{
    switch (rule.second) {
    case Second::Any:
        return true;
    case Second::None:
        return w2.isEmpty();
    case Second::Is:
        return same(w2, rule.w2);
    case Second::Other:
        return !w2.isEmpty();
    }
    return false;
}

// An If is a block If unless code follows its Then; string literals and a trailing comment are no code.
bool isBlockIf(QStringView segment)
{
    if (!segment.startsWith(QLatin1String("If "), Qt::CaseInsensitive) &&
        !segment.startsWith(QLatin1String("#If "), Qt::CaseInsensitive))
        return true;
    QString code;
    code.reserve(segment.size() + 2);
    code += u' ';
    for (qsizetype i = 0; i < segment.size(); ++i) {
        const QChar c = segment[i];
        if (c == u'"') {
            const qsizetype close = segment.indexOf(u'"', i + 1);
            if (close < 0)
                break;
            i = close;
            continue;
        }
        if (c == u'\'')
            break;
        code += c;
    }
    code += u' ';
    const qsizetype then = code.indexOf(QLatin1String(" Then "), 0, Qt::CaseInsensitive);
    return then < 0 || QStringView(code).mid(then + 6).trimmed().isEmpty();
}

struct Decision
{
    Action action = Action::Skip;
    QString keyword;
};

Decision decide(QStringView w1, QStringView w2, QStringView segment)
{
    if (same(w1, "If"))
        return isBlockIf(segment) ? Decision{Action::Start, QStringLiteral("If")} : Decision{};
    for (const Rule& rule : kRules) {
        if (!same(w1, rule.w1) || !secondMatches(rule, w2))
            continue;
        return Decision{rule.action, rule.recorded ? QString::fromLatin1(rule.recorded) : w1.toString()};
    }
    return Decision{};
}

// Puts the surface's font back however the measuring ends.
class FontScope
{
public:
    explicit FontScope(PrintSurface& surface) : m_surface(surface), m_saved(surface.SaveFont()) {}
    ~FontScope()
    {
        try {
            m_surface.RestoreFont(m_saved);
        } catch (...) {
            mendwick::Err().Clear();
        }
    }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    PrintSurface& m_surface;
    PrintSurface::FontState m_saved;
};

// The same for the pen: the page border is recorded with whatever pen the page ends with.
class PenScope
{
public:
    explicit PenScope(PrintSurface& surface)
        : m_surface(surface), m_width(surface.PenWidth()), m_color(surface.PenColor())
    {}
    ~PenScope()
    {
        try {
            m_surface.setPenWidth(m_width);
            m_surface.setPenColor(m_color);
        } catch (...) {
            mendwick::Err().Clear();
        }
    }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    PrintSurface& m_surface;
    int m_width;
    WinColor m_color;
};

} // namespace

// Store

int32_t clsDrawConnections::Store::capacity() const
{
    return m_blocks.empty() ? 0 : int32_t(1 + kGrowth * (m_blocks.size() - 1));
}

clsDrawConnections::Entry& clsDrawConnections::Store::operator[](size_t index)
{
    if (index == 0)
        return m_blocks[0][0];
    return m_blocks[1 + (index - 1) / kGrowth][(index - 1) % kGrowth];
}

const clsDrawConnections::Entry& clsDrawConnections::Store::operator[](size_t index) const
{
    return const_cast<Store&>(*this)[index];
}

void clsDrawConnections::Store::push(Entry entry)
{
    if (size_t(capacity()) == m_size)
        m_blocks.push_back(std::make_unique<Entry[]>(m_blocks.empty() ? 1 : kGrowth));
    (*this)[m_size] = std::move(entry);
    ++m_size;
}

void clsDrawConnections::Store::pop()
{
    --m_size;
    (*this)[m_size] = Entry{}; // let the keyword text go now, not when the slot is reused
}

void clsDrawConnections::Store::erase(size_t first, size_t last)
{
    const size_t count = last - first + 1;
    for (size_t i = first; i + count < m_size; ++i)
        (*this)[i] = std::move((*this)[i + count]);
    for (size_t i = 0; i < count; ++i)
        pop();
}

void clsDrawConnections::Store::reset()
{
    m_blocks.clear();
    m_blocks.push_back(std::make_unique<Entry[]>(1));
    m_size = 0;
}

// Drawer

clsDrawConnections::clsDrawConnections()
{
    m_store.reset();
}

std::vector<clsConnection> clsDrawConnections::ConnectionStack() const
{
    std::vector<clsConnection> records;
    records.reserve(m_store.size());
    for (size_t i = 0; i < m_store.size(); ++i) {
        records.push_back(m_store[i].record);
        if (isContinued(i)) {
            records.back().yPos = m_continuedTop;
            records.back().Continued = true;
        }
    }
    return records;
}

void clsDrawConnections::FilterConnectionKeyword(const QString& SourceLine, const QString& Keyword)
{
    mendwick::ErrorTrace trace(kComponent, "FilterConnectionKeyword");
    mendwick::Guard(trace, [&] {
        bool first = true;
        forEachSegment(SourceLine, [&](QStringView segment) {
            const bool more = filterSegment(segment, Keyword, first);
            first = false;
            return more;
        });
    });
}

bool clsDrawConnections::filterSegment(QStringView segment, const QString& keyword, bool first)
{
    QString text = segment.toString();
    text.remove(QLatin1String("<%"));
    text.remove(QLatin1String("%>"));
    text = text.trimmed();
    text.replace(QLatin1String("If("), QLatin1String("If ("), Qt::CaseInsensitive);
    QStringView w1;
    QStringView w2;
    firstTwoWords(text, w1, w2);
    if (w1.isEmpty())
        return false;
    // Only a statement that begins with its keyword is connected: "x = 1: If a Then" is not.
    if (first && keyword != QLatin1String("#") && w1.compare(keyword, Qt::CaseInsensitive) != 0)
        return false;
    const Decision decision = decide(w1, w2, text);
    switch (decision.action) {
    case Action::Start:
        PushKeyword(decision.keyword, true, false, false);
        return true;
    case Action::Middle:
        PushKeyword(decision.keyword, false, true, false);
        return true;
    case Action::End:
        PushKeyword(decision.keyword, false, false, true);
        return true;
    case Action::Skip:
        return true;
    case Action::Stop:
        return false;
    }
    return false;
}

void clsDrawConnections::PushKeyword(const QString& Keyword, bool StartKeyword, bool MiddleKeyword,
                                     bool EndKeyword)
{
    mendwick::ErrorTrace trace(kComponent, "PushKeyword");
    mendwick::Guard(trace, [&] {
        PrintSurface& s = surface();
        s.RefreshTextArea();
        Entry entry;
        clsConnection& record = entry.record;
        record.Keyword = Keyword;
        record.isStartKeyword = StartKeyword;
        record.isMiddleKeyword = MiddleKeyword;
        record.isEndKeyword = EndKeyword;
        record.xPos = int32_t(roundHalfEven(s.CurrentX() - s.TextAreaLeft()));
        record.yPos = int32_t(roundHalfEven(s.CurrentY()));
        record.Continued = false;
        record.Page = s.CurrentPage();
        m_store.push(std::move(entry));
    });
}

void clsDrawConnections::PopKeyword()
{
    mendwick::ErrorTrace trace(kComponent, "PopKeyword");
    mendwick::Guard(trace, [&] {
        if (m_store.size() > 0)
            popTop();
    });
}

void clsDrawConnections::Unstack()
{
    mendwick::ErrorTrace trace(kComponent, "Unstack");
    mendwick::Guard(trace, [&] {
        if (m_store.size() == 0)
            return;
        const clsConnection& top = m_store[m_store.size() - 1].record;
        if (!top.isEndKeyword && top.Keyword.compare(QLatin1String("Case"), Qt::CaseInsensitive) != 0)
            return;
        while (m_store.size() > 0) {
            const bool start = m_store[m_store.size() - 1].record.isStartKeyword;
            popTop();
            if (start)
                break;
        }
    });
}

void clsDrawConnections::UnstackAll()
{
    mendwick::ErrorTrace trace(kComponent, "UnstackAll");
    mendwick::Guard(trace, [&] {
        m_store.reset();
        m_openStarts.clear();
        m_visited = 0;
        m_continued = 0;
    });
}

void clsDrawConnections::AdjustCoordinates(int32_t /*AdjustmentReason*/)
{
    mendwick::ErrorTrace trace(kComponent, "AdjustCoordinates");
    mendwick::Guard(trace, [&] {
        const int32_t top = surface().MarginTop();
        // Every record now present is continued, and later pushes only go above them, so the continued
        // records are always a prefix of the stack: one count and one top stand for all of them.
        m_continued = m_store.size();
        m_continuedTop = top;
        ++m_segment;
    });
}

void clsDrawConnections::DrawConnections()
{
    mendwick::ErrorTrace trace(kComponent, "DrawConnections");
    mendwick::Guard(trace, [&] {
        if (m_store.size() == 0)
            return; // most line ends: nothing open, so no fonts to look up
        trace.Stage("Get fonts object for ", tokenclass::LineNumbers);
        const clsFont& lineNumbers = Options().Font(tokenclass::LineNumbers);
        trace.Stage("Get fonts object for ", tokenclass::Keywords);
        const clsFont& keywords = Options().Font(tokenclass::Keywords);

        PrintSurface& s = surface();
        s.RefreshTextArea();
        const Geometry g = keywordGeometry(s, keywords);
        PenScope pen(s);
        s.setPenColor(WinColor(lineNumbers.Color)); // in monochrome mode too
        s.setPenWidth(1);

        const double left = s.TextAreaLeft();
        const double y2 = roundHalfEven(20 + g.H / 2 + s.CurrentY());
        const auto xOf = [&](size_t i) { return m_store[i].record.xPos + left - g.G; };
        const auto y1Of = [&](size_t i) { return roundHalfEven(g.H / 2 + yPosOf(i) + 20); };

        for (const size_t i : m_openStarts)
            drawVertical(s, i, xOf(i), y1Of(i), y2);

        // Records pushed since the last call: ticks (once), new lines, and the blocks they close.
        while (m_visited < m_store.size()) {
            const size_t i = m_visited;
            const clsConnection& record = m_store[i].record;
            const double x = xOf(i);
            const double y1 = y1Of(i);
            if (record.isEndKeyword) {
                s.DrawLine(x, y1, x + g.G, y1); // an end keyword gets its tick even when continued
                m_visited = closeBlockAt(i);
                continue;
            }
            if ((record.isStartKeyword || record.isMiddleKeyword) && !isContinued(i))
                s.DrawLine(x, y1, x + g.G, y1);
            if (record.isStartKeyword) {
                m_openStarts.push_back(i);
                drawVertical(s, i, x, y1, y2);
            }
            m_visited = i + 1;
        }
    });
}

clsDrawConnections::Geometry clsDrawConnections::keywordGeometry(PrintSurface& surface,
                                                                 const clsFont& keywords)
{
    if (m_measuredOn == &surface && m_measuredName == keywords.Name && m_measuredSize == keywords.Size &&
        m_measuredBold == keywords.Bold && m_measuredItalic == keywords.Italic)
        return m_measured;
    Geometry g;
    {
        // Measured in the Keywords font, which the lines sit beside; the text font is left alone.
        FontScope font(surface);
        surface.setFontSize(keywords.Size);
        surface.setFontName(keywords.Name);
        surface.setFontBold(keywords.Bold);
        surface.setFontItalic(keywords.Italic);
        g.H = roundHalfEven(surface.TextHeight(QStringLiteral("Ag")));
        g.G = roundHalfEven(surface.TextWidth(QStringLiteral("W")) / 2);
    }
    m_measuredOn = &surface;
    m_measuredName = keywords.Name;
    m_measuredSize = keywords.Size;
    m_measuredBold = keywords.Bold;
    m_measuredItalic = keywords.Italic;
    m_measured = g;
    return g;
}

int32_t clsDrawConnections::yPosOf(size_t index) const
{
    return isContinued(index) ? m_continuedTop : m_store[index].record.yPos;
}

void clsDrawConnections::drawVertical(PrintSurface& surface, size_t index, double x, double y1, double y2)
{
    Progress& progress = m_store[index].progress;
    const double from = progress.segment == m_segment ? progress.drawnTo : y1;
    if (y2 > from)
        surface.DrawLine(x, from, x, y2);
    progress = Progress{std::max(from, y2), m_segment};
}

size_t clsDrawConnections::closeBlockAt(size_t index)
{
    // Every start record below index has been met, so the nearest one is the last open start.
    size_t first = 0;
    if (!m_openStarts.empty()) {
        first = m_openStarts.back();
        m_openStarts.pop_back();
    }
    const size_t count = index - first + 1;
    m_store.erase(first, index);
    const auto shift = [&](size_t& mark) {
        if (mark > index)
            mark -= count;
        else if (mark > first)
            mark = first;
    };
    shift(m_visited);
    shift(m_continued);
    return first;
}

void clsDrawConnections::popTop()
{
    const size_t top = m_store.size() - 1;
    if (!m_openStarts.empty() && m_openStarts.back() == top)
        m_openStarts.pop_back();
    m_store.pop();
    m_visited = std::min(m_visited, m_store.size());
    m_continued = std::min(m_continued, m_store.size());
}

clsDrawConnections& DrawConnectionsInstance()
{
    // Never destroyed: page events may still arrive while other process-wide objects go away.
    static clsDrawConnections* instance = new clsDrawConnections;
    return *instance;
}

} // namespace folionix
