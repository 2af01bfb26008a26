#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace folionix {

// A growable character buffer for collecting tokens: capacity grows in steps of BufferBump bytes, so
// appending a character at a time stays linear. Positions are zero-based.
class CStringBuilder
{
public:
    CStringBuilder() { Reset(); }

    // Empties the buffer and sets the capacity to 2048 bytes.
    void Reset();
    void Append(QStringView text);
    void Append(QChar c);
    QString ToString() const;

    qsizetype Capacity() const { return qsizetype(m_chars.size()) * 2; } // in bytes
    qsizetype Length() const { return m_length; }
    int BufferBump() const { return m_bump; }
    void setBufferBump(int bytes);
    void EnsureCapacity(qsizetype bytes);

    // Reading past the end raises an error (source "CStringBuilder.Chars").
    QChar Chars(qsizetype index) const;
    // Assigning past the end raises an error (source "CStringBuilder.Chars").
    void setChars(qsizetype index, QChar c);
    // Out-of-range arguments raise an error (sources "CStringBuilder.Insert" / ".Remove").
    void Insert(qsizetype index, QStringView text);
    void Remove(qsizetype index, qsizetype count);

    // Replaces the content with text and puts the reading position at its start.
    void LoadString(QStringView text);
    // The character at the reading position, advancing it; a null character at the end.
    QChar NextChar();
    qsizetype Position() const { return m_position; }
    bool StartsWith(QStringView prefix) const;
    // The content after the first occurrence of find ("" when it does not occur).
    QString After(QStringView find) const;

private:
    QStringView view() const { return QStringView(m_chars.data(), m_length); }
    std::vector<char16_t> m_chars;
    qsizetype m_length = 0;
    qsizetype m_position = 0;
    int m_bump = 2048;
};

} // namespace folionix
