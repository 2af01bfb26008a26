#pragma once

#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

namespace folionix {

// Length of the white space of the pattern class \s (blank, CR, LF, TAB, FF, VT) at the front of text.
qsizetype leadingWhitespaceLength(QStringView text);

// The unconsumed rest of a source file: the whole normalised text and a cursor. Parsers take
// characters off the front by moving the cursor; nothing is ever erased or copied.
class SourceBuffer
{
public:
    SourceBuffer() = default;
    explicit SourceBuffer(QString text) : m_text(std::move(text)) {}

    QStringView rest() const { return QStringView(m_text).mid(m_pos); }
    bool isEmpty() const { return m_pos >= m_text.size(); }
    qsizetype size() const { return m_text.size() - m_pos; }
    qsizetype position() const { return m_pos; }
    qsizetype totalLength() const { return m_text.size(); }
    // The character i places from the front, or a null character past the end.
    QChar at(qsizetype i) const { return m_pos + i < m_text.size() ? m_text.at(m_pos + i) : QChar(); }
    bool startsWith(QStringView prefix, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const
    {
        return rest().startsWith(prefix, cs);
    }
    // Takes n characters (at most what is left) off the front.
    QStringView take(qsizetype n);
    void consume(qsizetype n) { take(n); }
    // Takes the white space of the pattern class \s (blank, CR, LF, TAB, FF, VT) off the front.
    void skipWhitespace();
    // Position of needle in the rest (relative to the front), ignoring case, or -1.
    qsizetype indexOf(QStringView needle, qsizetype from = 0) const;

    // Whether needle occurs anywhere in the rest, ignoring case. The answer is remembered per needle,
    // so asking again as the buffer shrinks costs linear time over the whole file.
    bool restContains(QStringView needle) const;

private:
    QString m_text;
    qsizetype m_pos = 0;
    struct Found
    {
        QString needle;
        qsizetype at; // absolute position of the occurrence found, or -1: none at or after searchedFrom
        qsizetype searchedFrom;
    };
    mutable std::vector<Found> m_found;
};

} // namespace folionix
