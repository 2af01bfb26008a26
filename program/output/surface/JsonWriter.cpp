#include "OutputBuffer.h"
#include "PageItems.h"
#include "WinColor.h"
#include "Writers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace folionix {

namespace {

const char16_t* roleName(ItemRole role)
{
    switch (role) {
    case ItemRole::Header:
        return u"header";
    case ItemRole::Footer:
        return u"footer";
    case ItemRole::Border:
        return u"border";
    case ItemRole::Furniture:
        return u"furniture";
    case ItemRole::Body:
        break;
    }
    return u"body";
}

const char16_t* shapeKind(Shape::Kind kind)
{
    switch (kind) {
    case Shape::Kind::Line:
        return u"line";
    case Shape::Kind::Rectangle:
        return u"box";
    case Shape::Kind::RoundedBox:
        break;
    }
    return u"roundedbox";
}

// Writes JSON by hand: a document of a few million runs must not become a tree in memory first.
class JsonOut
{
public:
    explicit JsonOut(QIODevice& device) : m_out(device) {}

    template <qsizetype N> void raw(const char (&text)[N]) { m_out.appendLiteral(text); }

    // Keys are literals, so their lengths are known at compile time.
    template <qsizetype N> void key(const char (&name)[N])
    {
        if (m_needComma)
            m_out.append(',');
        m_out.append('"');
        m_out.appendLiteral(name);
        raw("\":");
        m_needComma = true;
    }

    void beginObject()
    {
        if (m_needComma)
            m_out.append(',');
        m_out.append('{');
        m_needComma = false;
    }
    void endObject()
    {
        m_out.append('}');
        m_needComma = true;
    }
    template <qsizetype N> void beginArray(const char (&name)[N])
    {
        key(name);
        m_out.append('[');
        m_needComma = false;
    }
    void endArray()
    {
        m_out.append(']');
        m_needComma = true;
    }

    // Whole numbers as integers, others with at most two decimals.
    template <qsizetype N> void number(const char (&name)[N], double value)
    {
        key(name);
        char digits[64];
        const double rounded = std::round(value * 100) / 100;
        std::to_chars_result result;
        if (!std::isfinite(value))
            result = std::to_chars(digits, digits + sizeof digits, 0);
        else if (rounded == std::trunc(rounded))
            result = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(rounded));
        else
            result = std::to_chars(digits, digits + sizeof digits, rounded, std::chars_format::fixed, 2);
        char* end = result.ptr;
        if (std::find(digits, end, '.') != end) {
            while (end[-1] == '0')
                --end;
        }
        m_out.append(digits, end - digits);
    }

    template <qsizetype N> void boolean(const char (&name)[N], bool value)
    {
        key(name);
        if (value)
            raw("true");
        else
            raw("false");
    }

    template <qsizetype N> void string(const char (&name)[N], QStringView text)
    {
        key(name);
        m_out.append('"');
        qsizetype plainStart = 0;
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = text[i].unicode();
            const bool lone = QChar::isSurrogate(c) && !(QChar::isHighSurrogate(c) && i + 1 < n &&
                                                         QChar::isLowSurrogate(text[i + 1].unicode()));
            if (c >= 0x20 && c != u'"' && c != u'\\' && !lone) {
                if (QChar::isHighSurrogate(c))
                    ++i;
                continue;
            }
            m_out.appendUtf8(text.sliced(plainStart, i - plainStart));
            escape(c);
            plainStart = i + 1;
        }
        m_out.appendUtf8(text.sliced(plainStart));
        m_out.append('"');
    }

    template <qsizetype N> void color(const char (&name)[N], WinColor value)
    {
        string(name, colorName(value));
    }

    bool finish() { return m_out.finish(); }

private:
    void escape(char16_t c)
    {
        switch (c) {
        case u'"':
            raw("\\\"");
            return;
        case u'\\':
            raw("\\\\");
            return;
        case u'\n':
            raw("\\n");
            return;
        case u'\r':
            raw("\\r");
            return;
        case u'\t':
            raw("\\t");
            return;
        default:
            break;
        }
        // Other control characters, and surrogates without their partner, as \uXXXX.
        static const char hex[] = "0123456789abcdef";
        const char code[6] = {
            '\\', 'u', hex[(c >> 12) & 0xF], hex[(c >> 8) & 0xF], hex[(c >> 4) & 0xF], hex[c & 0xF]};
        m_out.append(code, 6);
    }

    OutputBuffer m_out;
    bool m_needComma = false;
};

class DocumentJson
{
public:
    DocumentJson(const Document& document, QIODevice& device) : m_document(document), m_json(device) {}

    bool write()
    {
        m_json.beginObject();
        m_json.beginArray("pages");
        for (const Page& page : m_document.pages())
            writePage(page);
        m_json.endArray();
        m_json.endObject();
        m_json.raw("\n");
        return m_json.finish();
    }

private:
    void writePage(const Page& page)
    {
        m_json.beginObject();
        m_json.number("width", page.width);
        m_json.number("height", page.height);
        m_json.number("scale", page.scalePercent);
        m_json.beginArray("items");
        PageItemCursor cursor(page);
        for (auto kind = cursor.next(); kind != PageItemCursor::Kind::End; kind = cursor.next()) {
            switch (kind) {
            case PageItemCursor::Kind::Run:
                // Blank-line markers are not runs anybody added.
                if (page.runs[cursor.runIndex()].textLength > 0)
                    writeRun(page.runs[cursor.runIndex()]);
                break;
            case PageItemCursor::Kind::Shape:
                writeShape(cursor.shape());
                break;
            case PageItemCursor::Kind::Picture:
                writePicture(cursor.picture());
                break;
            case PageItemCursor::Kind::TextBox:
                writeTextBox(cursor.textBox());
                break;
            case PageItemCursor::Kind::End:
                break;
            }
            cursor.skip(kind);
        }
        m_json.endArray();
        m_json.endObject();
    }

    void writeFont(uint16_t index, WinColor color)
    {
        const FontKey& font = m_document.fonts()[index];
        m_json.string("font", font.family);
        m_json.number("size", font.pointSize);
        m_json.boolean("bold", font.bold);
        m_json.boolean("italic", font.italic);
        m_json.boolean("underline", font.underline);
        m_json.color("color", color);
    }

    void writeRun(const TextRun& run)
    {
        m_json.beginObject();
        m_json.string("kind", u"text");
        m_json.number("x", run.x);
        m_json.number("y", run.y);
        m_json.number("width", run.width);
        m_json.number("height", run.height);
        m_json.string("text", m_document.textOf(run));
        m_json.string("style", m_document.styleNames()[run.style]);
        writeFont(run.font, run.color);
        m_json.string("role", roleName(run.role));
        m_json.endObject();
    }

    void writeShape(const Shape& shape)
    {
        m_json.beginObject();
        m_json.string("kind", shapeKind(shape.kind));
        m_json.number("x1", shape.x1);
        m_json.number("y1", shape.y1);
        m_json.number("x2", shape.x2);
        m_json.number("y2", shape.y2);
        if (shape.kind == Shape::Kind::RoundedBox) {
            m_json.number("rx", shape.rx);
            m_json.number("ry", shape.ry);
        }
        m_json.color("pen", shape.penColor);
        m_json.number("penWidth", shape.penWidth);
        if (shape.filled) {
            m_json.color("brush", shape.brushColor);
        } else {
            m_json.key("brush");
            m_json.raw("null");
        }
        m_json.string("role", roleName(shape.role));
        m_json.endObject();
    }

    void writePicture(const PlacedPicture& picture)
    {
        m_json.beginObject();
        m_json.string("kind", u"picture");
        m_json.number("x", picture.x);
        m_json.number("y", picture.y);
        m_json.number("width", picture.width);
        m_json.number("height", picture.height);
        m_json.number("picture", picture.picture);
        m_json.endObject();
    }

    void writeTextBox(const TextBox& box)
    {
        m_json.beginObject();
        m_json.string("kind", u"textbox");
        m_json.number("x", box.left);
        m_json.number("y", box.top);
        m_json.number("width", box.width);
        m_json.number("height", box.height);
        m_json.string("text", m_document.textOf(box));
        writeFont(box.font, box.color);
        m_json.boolean("wrap", box.wrap);
        m_json.endObject();
    }

    const Document& m_document;
    JsonOut m_json;
};

} // namespace

bool writeJson(const Document& document, QIODevice& device)
{
    return DocumentJson(document, device).write();
}

} // namespace folionix
