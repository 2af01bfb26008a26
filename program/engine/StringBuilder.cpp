#include "StringBuilder.h"

#include <ErrorTrace.h>

#include <algorithm>

namespace folionix {

namespace {

constexpr int32_t kBuilderError = int32_t(0x80040200u);

[[noreturn]] void fail(const char* member, const char* description)
{
    throw mendwick::AppError(kBuilderError, QString::fromLatin1(description),
                             QStringLiteral("CStringBuilder") + QLatin1String(member));
}

} // namespace

void CStringBuilder::Reset()
{
    m_chars.assign(2048 / 2, u'\0');
    m_length = 0;
    m_position = 0;
}

void CStringBuilder::setBufferBump(int bytes)
{
    if (bytes < 2)
        fail(".BufferBump", "Argument(s) out of range.");
    m_bump = bytes;
}

void CStringBuilder::EnsureCapacity(qsizetype bytes)
{
    if (bytes <= Capacity())
        return;
    // The next multiple of the growth step that holds the request.
    const qsizetype steps = (bytes + m_bump - 1) / m_bump;
    m_chars.resize(size_t(steps * m_bump / 2), u'\0');
}

void CStringBuilder::Append(QStringView text)
{
    EnsureCapacity((m_length + text.size()) * 2);
    std::copy(text.utf16(), text.utf16() + text.size(), m_chars.begin() + m_length);
    m_length += text.size();
}

void CStringBuilder::Append(QChar c)
{
    Append(QStringView(&c, 1));
}

QString CStringBuilder::ToString() const
{
    return m_length == 0 ? QString() : view().toString();
}

QChar CStringBuilder::Chars(qsizetype index) const
{
    if (index < 0 || index >= m_length)
        fail(".Chars", "Tried reading character past end of buffer.");
    return QChar(m_chars[size_t(index)]);
}

void CStringBuilder::setChars(qsizetype index, QChar c)
{
    if (index < 0 || index >= m_length)
        fail(".Chars", "Tried assigning character past end of buffer.");
    m_chars[size_t(index)] = c.unicode();
}

void CStringBuilder::Insert(qsizetype index, QStringView text)
{
    if (index < 0 || index > m_length)
        fail(".Insert", "Argument(s) out of range.");
    EnsureCapacity((m_length + text.size()) * 2);
    std::copy_backward(m_chars.begin() + index, m_chars.begin() + m_length,
                       m_chars.begin() + m_length + text.size());
    std::copy(text.utf16(), text.utf16() + text.size(), m_chars.begin() + index);
    m_length += text.size();
}

void CStringBuilder::Remove(qsizetype index, qsizetype count)
{
    if (index < 0 || count < 0 || index + count > m_length)
        fail(".Remove", "Argument(s) out of range.");
    std::copy(m_chars.begin() + index + count, m_chars.begin() + m_length, m_chars.begin() + index);
    m_length -= count;
    m_position = std::min(m_position, m_length);
}

void CStringBuilder::LoadString(QStringView text)
{
    Reset();
    Append(text);
}

QChar CStringBuilder::NextChar()
{
    return m_position < m_length ? QChar(m_chars[size_t(m_position++)]) : QChar();
}

bool CStringBuilder::StartsWith(QStringView prefix) const
{
    return view().startsWith(prefix);
}

QString CStringBuilder::After(QStringView find) const
{
    const qsizetype at = view().indexOf(find);
    return at < 0 ? QString() : view().mid(at + find.size()).toString();
}

} // namespace folionix
