#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringView>
#include <vector>

namespace folionix {

// The parsers' shared pattern matcher: Pattern, IgnoreCase, Global, Execute. A pattern is compiled
// once and kept until the pattern or a flag changes.
class RegExp
{
public:
    struct Match
    {
        QString Value;
        qsizetype FirstIndex = 0;
        qsizetype Length = 0;
    };

    QString Pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    bool IgnoreCase() const { return m_ignoreCase; }
    void setIgnoreCase(bool on);
    bool Global() const { return m_global; }
    void setGlobal(bool on) { m_global = on; }

    // The first match, or every match when Global is on. "^" anchors at the start of text.
    std::vector<Match> Execute(QStringView text);

private:
    void compile();
    QString m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_dirty = true;
    QRegularExpression m_re;
};

} // namespace folionix
