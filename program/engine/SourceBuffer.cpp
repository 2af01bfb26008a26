#include "SourceBuffer.h"

#include <algorithm>

namespace folionix {

QStringView SourceBuffer::take(qsizetype n)
{
    n = std::clamp<qsizetype>(n, 0, size());
    const QStringView taken = QStringView(m_text).mid(m_pos, n);
    m_pos += n;
    return taken;
}

qsizetype leadingWhitespaceLength(QStringView text)
{
    qsizetype n = 0;
    while (n < text.size()) {
        const char16_t c = text.at(n).unicode();
        if (c != u' ' && c != u'\r' && c != u'\n' && c != u'\t' && c != u'\f' && c != u'\v')
            break;
        ++n;
    }
    return n;
}

void SourceBuffer::skipWhitespace()
{
    m_pos += leadingWhitespaceLength(rest());
}

qsizetype SourceBuffer::indexOf(QStringView needle, qsizetype from) const
{
    const qsizetype at = QStringView(m_text).indexOf(needle, m_pos + from, Qt::CaseInsensitive);
    return at < 0 ? -1 : at - m_pos;
}

bool SourceBuffer::restContains(QStringView needle) const
{
    if (needle.isEmpty())
        return true;
    auto it =
        std::find_if(m_found.begin(), m_found.end(), [&](const Found& f) { return f.needle == needle; });
    if (it == m_found.end()) {
        m_found.push_back({needle.toString(), -1, -1});
        it = m_found.end() - 1;
    }
    // Nothing found from an earlier point means nothing from here either.
    if (it->searchedFrom >= 0 && it->at < 0 && it->searchedFrom <= m_pos)
        return false;
    if (it->at >= m_pos)
        return true;
    it->searchedFrom = m_pos;
    it->at = QStringView(m_text).indexOf(needle, m_pos, Qt::CaseInsensitive);
    return it->at >= 0;
}

} // namespace folionix
