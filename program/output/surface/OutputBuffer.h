#pragma once

#include <QIODevice>
#include <QStringView>
#include <cstring>
#include <memory>

namespace folionix {

// Bytes gathered in a fixed buffer and handed to the device in large writes; the streamed writers
// produce millions of small pieces, too many to pass through QIODevice one by one.
class OutputBuffer
{
public:
    explicit OutputBuffer(QIODevice& device) : m_device(device), m_buffer(new char[Capacity]) {}

    void append(char c)
    {
        reserve(1);
        m_buffer[m_size++] = c;
    }
    void append(const char* text, qsizetype length)
    {
        if (length > Capacity / 2) {
            flush();
            write(text, length);
            return;
        }
        reserve(length);
        std::memcpy(m_buffer.get() + m_size, text, size_t(length));
        m_size += length;
    }
    template <qsizetype N> void appendLiteral(const char (&text)[N]) { append(text, N - 1); }
    // UTF-8 of text; an unpaired surrogate becomes U+FFFD.
    void appendUtf8(QStringView text);

    bool finish()
    {
        flush();
        return m_ok;
    }

private:
    static constexpr qsizetype Capacity = 1 << 16;

    void reserve(qsizetype length)
    {
        if (m_size + length > Capacity)
            flush();
    }
    void flush()
    {
        write(m_buffer.get(), m_size);
        m_size = 0;
    }
    void write(const char* data, qsizetype length)
    {
        if (m_ok && length > 0 && m_device.write(data, length) != length)
            m_ok = false;
    }

    QIODevice& m_device;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_size = 0;
    bool m_ok = true;
};

inline void OutputBuffer::appendUtf8(QStringView text)
{
    const qsizetype n = text.size();
    const char16_t* p = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        reserve(4);
        char* out = m_buffer.get() + m_size;
        char32_t c = p[i];
        if (c < 0x80) {
            *out = char(c);
            m_size += 1;
            continue;
        }
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
                c = QChar::surrogateToUcs4(char16_t(c), p[++i]);
            else
                c = 0xFFFD;
        }
        if (c < 0x800) {
            out[0] = char(0xC0 | (c >> 6));
            out[1] = char(0x80 | (c & 0x3F));
            m_size += 2;
        } else if (c < 0x10000) {
            out[0] = char(0xE0 | (c >> 12));
            out[1] = char(0x80 | ((c >> 6) & 0x3F));
            out[2] = char(0x80 | (c & 0x3F));
            m_size += 3;
        } else {
            out[0] = char(0xF0 | (c >> 18));
            out[1] = char(0x80 | ((c >> 12) & 0x3F));
            out[2] = char(0x80 | ((c >> 6) & 0x3F));
            out[3] = char(0x80 | (c & 0x3F));
            m_size += 4;
        }
    }
}

} // namespace folionix
