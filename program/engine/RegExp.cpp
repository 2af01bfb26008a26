#include "RegExp.h"

namespace folionix {

void RegExp::setPattern(const QString& pattern)
{
    if (pattern != m_pattern) {
        m_pattern = pattern;
        m_dirty = true;
    }
}

void RegExp::setIgnoreCase(bool on)
{
    if (on != m_ignoreCase) {
        m_ignoreCase = on;
        m_dirty = true;
    }
}

void RegExp::compile()
{
    if (!m_dirty)
        return;
    m_re.setPattern(m_pattern);
    m_re.setPatternOptions(m_ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                        : QRegularExpression::NoPatternOption);
    m_re.optimize();
    m_dirty = false;
}

std::vector<RegExp::Match> RegExp::Execute(QStringView text)
{
    compile();
    std::vector<Match> matches;
    if (!m_re.isValid())
        return matches;
    auto it = m_re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        matches.push_back({m.captured(0), m.capturedStart(0), m.capturedLength(0)});
        if (!m_global)
            break;
    }
    return matches;
}

} // namespace folionix
