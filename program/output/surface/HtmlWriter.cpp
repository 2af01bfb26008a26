#include "FlowLayout.h"
#include "OutputBuffer.h"
#include "TextMetrics.h"
#include "WinColor.h"
#include "Writers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QHash>
#include <QSet>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace folionix {

namespace {

// Characters that never reach the page as themselves: the markup characters and the C0 controls.
constexpr bool needsEscape(char16_t c)
{
    return c < 0x20 || c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'';
}

// Text (or an attribute value) with every markup character escaped. Controls become their visible
// control pictures (U+0000 -> U+2400, U+0001..U+001F -> U+2401..U+241F), unpaired surrogates U+FFFD.
void appendEscaped(OutputBuffer& out, QStringView text)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c >= 0x80 || !needsEscape(c))
            continue;
        if (i > start)
            out.appendUtf8(text.mid(start, i - start));
        start = i + 1;
        switch (c) {
        case u'&':
            out.appendLiteral("&amp;");
            break;
        case u'<':
            out.appendLiteral("&lt;");
            break;
        case u'>':
            out.appendLiteral("&gt;");
            break;
        case u'"':
            out.appendLiteral("&quot;");
            break;
        case u'\'':
            out.appendLiteral("&#39;");
            break;
        default: { // U+2400 + c in UTF-8
            const char picture[3] = {char(0xE2), char(0x90), char(0x80 | c)};
            out.append(picture, 3);
        }
        }
    }
    if (start < n)
        out.appendUtf8(text.mid(start));
}

void appendNumber(OutputBuffer& out, qint64 value)
{
    const QByteArray digits = QByteArray::number(value);
    out.append(digits.constData(), digits.size());
}

void appendLatin1(OutputBuffer& out, const QByteArray& bytes)
{
    out.append(bytes.constData(), bytes.size());
}

// A family name as a quoted CSS string; anything that could end the string or the style element is
// written as a CSS escape.
QString cssString(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == u'"' || u == u'\\' || u == u'<' || u == u'>' || u == u'&')
            quoted += u'\\' + QString::number(u, 16) + u' ';
        else
            quoted += c;
    }
    return quoted + u'"';
}

// A style name as a CSS class name: letters, digits, '_' and '-' only, never starting like a number.
QString sanitisedClassName(const QString& name)
{
    QString result;
    result.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                             (u >= u'0' && u <= u'9') || u == u'_' || u == u'-';
        result += allowed ? c : QChar(u'_');
    }
    // A name of nothing but replaced characters says nothing: the run gets a generic class.
    if (result.count(u'_') == result.size())
        return QString();
    if (result[0].isDigit() || result[0] == u'-')
        result.prepend(u'_');
    return result;
}

bool nameHas(const QString& lowerName, std::initializer_list<const char*> hints)
{
    for (const char* hint : hints)
        if (lowerName.contains(QLatin1String(hint)))
            return true;
    return false;
}

// The generic family a browser falls back to when the font is not installed: monospace for fixed
// pitch (by the installed face, or by the name when there is none), serif or sans-serif by the name.
QString genericFamily(const FontKey& key)
{
    const QString name = key.family.toLower();
    if (nameHas(name, {"courier", "mono", "consol", "fixed", "terminal", "typewriter"}) ||
        QFontInfo(toQFont(key)).fixedPitch())
        return QStringLiteral("monospace");
    if (!name.contains(QLatin1String("sans")) &&
        nameHas(name,
                {"serif", "times", "roman", "georgia", "garamond", "palatino", "book", "century", "cambria"}))
        return QStringLiteral("serif");
    return QStringLiteral("sans-serif");
}

// The CSS classes of the document's text: one per (style name, font, colour), named after the style
// with a numeric suffix when the same style appears in another font or colour; runs without a style
// get "s1", "s2", ...
class StyleClasses
{
public:
    explicit StyleClasses(const Document& document) : m_document(document)
    {
        for (const Page& page : document.pages())
            for (const TextRun& run : page.runs)
                if (run.role == ItemRole::Body && run.textLength > 0)
                    of(run);
    }

    int of(const TextRun& run)
    {
        const quint64 key = (quint64(run.style) << 48) | (quint64(run.font) << 32) | run.color;
        if (key == m_lastKey)
            return m_lastClass;
        auto found = m_byKey.constFind(key);
        int index;
        if (found != m_byKey.cend()) {
            index = *found;
        } else {
            index = int(m_classes.size());
            m_classes.push_back({nameFor(run.style), run.font, run.color});
            m_byKey.insert(key, index);
        }
        m_lastKey = key;
        m_lastClass = index;
        return index;
    }

    size_t size() const { return m_classes.size(); }
    const QByteArray& name(int index) const { return m_classes[size_t(index)].name; }

    // The rule of one class: font family with a generic fallback, size, weight, slant, underline and
    // colour.
    QString rule(int index)
    {
        const Class& c = m_classes[size_t(index)];
        const FontKey& font = m_document.fonts()[c.font];
        QString rule = u'.' + QString::fromLatin1(c.name) + QStringLiteral("{font-family:");
        if (!font.family.trimmed().isEmpty())
            rule += cssString(font.family) + u',';
        rule += generic(c.font);
        if (std::isfinite(font.pointSize) && font.pointSize > 0)
            rule += QStringLiteral(";font-size:") + QString::number(font.pointSize, 'g', 6) +
                    QStringLiteral("pt");
        if (font.bold)
            rule += QStringLiteral(";font-weight:bold");
        if (font.italic)
            rule += QStringLiteral(";font-style:italic");
        if (font.underline)
            rule += QStringLiteral(";text-decoration:underline");
        rule += QStringLiteral(";color:") + colorName(c.color) + QStringLiteral("}\n");
        return rule;
    }

private:
    struct Class
    {
        QByteArray name;
        uint16_t font;
        WinColor color;
    };

    QByteArray nameFor(uint16_t style)
    {
        const std::vector<QString>& names = m_document.styleNames();
        const QString base = style < names.size() ? sanitisedClassName(names[style]) : QString();
        QString name = base;
        if (base.isEmpty() || m_used.contains(name)) {
            // The next free number of this base: each base keeps counting, so a name is found at once.
            const QString stem = base.isEmpty() ? QStringLiteral("s") : base;
            int& next = m_nextSuffix[stem];
            if (next == 0)
                next = base.isEmpty() ? 1 : 2;
            do
                name = stem + QString::number(next++);
            while (m_used.contains(name));
        }
        m_used.insert(name);
        return name.toLatin1();
    }

    const QString& generic(uint16_t font)
    {
        if (m_generic.size() < m_document.fonts().size())
            m_generic.resize(m_document.fonts().size());
        QString& generic = m_generic[font];
        if (generic.isEmpty())
            generic = genericFamily(m_document.fonts()[font]);
        return generic;
    }

    const Document& m_document;
    std::vector<Class> m_classes;
    QHash<quint64, int> m_byKey;
    QSet<QString> m_used;
    QHash<QString, int> m_nextSuffix;
    std::vector<QString> m_generic;
    quint64 m_lastKey = ~quint64(0);
    int m_lastClass = -1;
};

// The pictures as base64 PNG, encoded once however often they are placed.
class PictureData
{
public:
    explicit PictureData(const Document& document) : m_encoded(document.pictures().size()) {}

    const QByteArray& of(const PlacedPicture& placed, const QImage& image)
    {
        std::optional<QByteArray>& data = m_encoded[placed.picture];
        if (!data) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            data = (!image.isNull() && image.save(&buffer, "PNG")) ? png.toBase64() : QByteArray();
        }
        return *data;
    }

private:
    std::vector<std::optional<QByteArray>> m_encoded;
};

void writeHead(OutputBuffer& out, const QString& title, StyleClasses& classes, const std::vector<bool>* used)
{
    out.appendLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                      "style-src 'unsafe-inline'; img-src data:\">\n"
                      "<meta name=\"generator\" content=\"Folionix\">\n<title>");
    appendEscaped(out, title);
    out.appendLiteral("</title>\n<style>\n"
                      "body{margin:8px;background:#FFFFFF;color:#000000}\n"
                      ".page+.page{break-before:page}\n"
                      ".sep{margin:1.5em 0 0.5em;padding-top:2px;border-top:1px solid #808080;color:#808080;"
                      "font:9pt sans-serif}\n"
                      ".cols{display:flex;align-items:flex-start}\n"
                      ".cols>pre+pre{margin-left:1.5em;padding-left:1.5em;border-left:1px solid #C0C0C0}\n"
                      "pre{margin:0;white-space:pre;font-family:monospace}\n"
                      "pre img{display:block}\n"
                      "@media print{.sep{display:none}}\n");
    for (size_t i = 0; i < classes.size(); ++i)
        if (!used || (*used)[i])
            out.appendUtf8(classes.rule(int(i)));
    out.appendLiteral("</style>\n</head>\n<body>\n");
}

// The listing's flow as HTML: a page is a block of columns side by side, each column one
// preformatted block with a line per flow line. A picture is a band of its own between lines.
class HtmlFlow : public FlowVisitor
{
public:
    HtmlFlow(StyleClasses& classes, PictureData& pictures, bool separators)
        : m_classes(classes), m_pictures(pictures), m_separators(separators)
    {}

    void setOutput(OutputBuffer* out) { m_out = out; }

    void beginPage(int index, const Page&) override
    {
        m_out->appendLiteral("<div class=\"page\">");
        if (m_separators && index > 0) {
            m_out->appendLiteral("<div class=\"sep\">Page ");
            appendNumber(*m_out, index + 1);
            m_out->appendLiteral("</div>");
        }
        m_out->appendLiteral("<div class=\"cols\">");
    }

    void endPage(int, const Page&) override { m_out->appendLiteral("</div></div>\n"); }

    void beginColumn(int) override
    {
        m_out->appendLiteral("<pre>");
        m_openClass = -1;
        m_pendingBreaks = 0;
        m_columnEmpty = true;
    }

    void endColumn(int) override
    {
        closeSpan();
        writePendingBreaks();
        m_out->appendLiteral("</pre>");
    }

    // Line ends wait for the next item: they stay inside a span the next line continues, and go after
    // its end tag otherwise.
    void lineBreak() override { ++m_pendingBreaks; }

    void text(const TextRun& run, QStringView text, int leadingSpaces) override
    {
        const int cls = m_classes.of(run);
        if (cls != m_openClass) {
            closeSpan();
            writePendingBreaks();
            m_out->appendLiteral("<span class=\"");
            appendLatin1(*m_out, m_classes.name(cls));
            m_out->appendLiteral("\">");
            m_openClass = cls;
        }
        writePendingBreaks();
        for (int i = 0; i < leadingSpaces; ++i)
            m_out->append(' ');
        appendEscaped(*m_out, text);
    }

    void picture(const PlacedPicture& placed, const QImage& image) override
    {
        const QByteArray& data = m_pictures.of(placed, image);
        if (data.isEmpty())
            return;
        // The flow ends the line before a picture; the picture is a block, so what follows it starts a
        // line of its own.
        closeSpan();
        writePendingBreaks();
        m_out->appendLiteral("<img alt=\"\"");
        appendSize(" width=\"", placed.width);
        appendSize(" height=\"", placed.height);
        m_out->appendLiteral(" src=\"data:image/png;base64,");
        appendLatin1(*m_out, data);
        m_out->appendLiteral("\">");
    }

private:
    void writePendingBreaks()
    {
        // The parser drops a line end right after <pre>: a column that starts with a blank line needs
        // one more.
        if (m_pendingBreaks > 0 && m_columnEmpty)
            m_out->append('\n');
        m_columnEmpty = false;
        for (; m_pendingBreaks > 0; --m_pendingBreaks)
            m_out->append('\n');
    }

    void closeSpan()
    {
        if (m_openClass >= 0)
            m_out->appendLiteral("</span>");
        m_openClass = -1;
    }

    // Twips to CSS pixels (15 twips each).
    template <qsizetype N> void appendSize(const char (&attribute)[N], float twips)
    {
        if (!std::isfinite(twips) || twips <= 0)
            return;
        m_out->appendLiteral(attribute);
        appendNumber(*m_out, std::max<qint64>(1, std::llround(std::min(double(twips), 1e9) / 15.0)));
        m_out->append('"');
    }

    StyleClasses& m_classes;
    PictureData& m_pictures;
    bool m_separators;
    OutputBuffer* m_out = nullptr;
    int m_openClass = -1;
    qsizetype m_pendingBreaks = 0;
    bool m_columnEmpty = true;
};

// The pieces of a paged export's file name: "/out/site.html" -> "/out/", "site", ".html".
struct PagedName
{
    QString folder;
    QString base;
    QString extension;
};

PagedName splitPagedName(const QString& fileName)
{
    const qsizetype slash = fileName.lastIndexOf(u'/');
    PagedName pieces;
    pieces.folder = fileName.left(slash + 1);
    const QString name = fileName.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    pieces.base = dot > 0 ? name.left(dot) : name;
    pieces.extension = dot > 0 ? name.mid(dot) : QString();
    return pieces;
}

// The navigation bars name a symbol font most systems lack; inside its font elements the arrows are
// written as the Unicode arrows and the face becomes one that has them.
bool isSymbolFace(QStringView value)
{
    return value.trimmed().compare(u"Wingdings", Qt::CaseInsensitive) == 0;
}

QString withUnicodeArrows(const QString& bar)
{
    const QString face = QStringLiteral("face=\"DejaVu Sans, Segoe UI Symbol, sans-serif\"");
    QString result;
    result.reserve(bar.size() + 64);
    std::vector<bool> symbolFont; // per open font element: does its text use the symbol font
    const qsizetype n = bar.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = bar[i];
        if (c != u'<') {
            const bool symbol = !symbolFont.empty() && symbolFont.back();
            if (symbol && c == QChar(0x00E7))
                result += QChar(0x21E6);
            else if (symbol && c == QChar(0x00E8))
                result += QChar(0x21E8);
            else
                result += c;
            ++i;
            continue;
        }
        // A tag: up to the '>' that is not inside a quoted value.
        qsizetype end = i + 1;
        QChar quote;
        while (end < n && (bar[end] != u'>' || !quote.isNull())) {
            if (!quote.isNull()) {
                if (bar[end] == quote)
                    quote = QChar();
            } else if (bar[end] == u'"' || bar[end] == u'\'') {
                quote = bar[end];
            }
            ++end;
        }
        const qsizetype tagEnd = std::min(end + 1, n);
        const QStringView tag = QStringView(bar).mid(i, tagEnd - i);
        const bool closing = tag.size() > 1 && tag[1] == u'/';
        const QStringView name = tag.mid(closing ? 2 : 1);
        const bool isFont = name.startsWith(u"font", Qt::CaseInsensitive) &&
                            (name.size() == 4 || name[4].isSpace() || name[4] == u'>' || name[4] == u'/');
        if (!isFont) {
            result += tag;
        } else if (closing) {
            if (!symbolFont.empty())
                symbolFont.pop_back();
            result += tag;
        } else {
            // Attributes: name, optionally '=' and a quoted or bare value.
            bool symbol = !symbolFont.empty() && symbolFont.back();
            bool symbolFace = false;
            qsizetype faceStart = -1, faceEnd = -1;
            qsizetype k = 5;
            while (k < tag.size()) {
                while (k < tag.size() && (tag[k].isSpace() || tag[k] == u'/'))
                    ++k;
                const qsizetype attrStart = k;
                while (k < tag.size() && !tag[k].isSpace() && tag[k] != u'=' && tag[k] != u'>')
                    ++k;
                const QStringView attrName = tag.mid(attrStart, k - attrStart);
                if (attrName.isEmpty())
                    break;
                while (k < tag.size() && tag[k].isSpace())
                    ++k;
                QStringView value;
                if (k < tag.size() && tag[k] == u'=') {
                    ++k;
                    while (k < tag.size() && tag[k].isSpace())
                        ++k;
                    if (k < tag.size() && (tag[k] == u'"' || tag[k] == u'\'')) {
                        const QChar q = tag[k];
                        const qsizetype valueStart = ++k;
                        while (k < tag.size() && tag[k] != q)
                            ++k;
                        value = tag.mid(valueStart, k - valueStart);
                        if (k < tag.size())
                            ++k;
                    } else {
                        const qsizetype valueStart = k;
                        while (k < tag.size() && !tag[k].isSpace() && tag[k] != u'>')
                            ++k;
                        value = tag.mid(valueStart, k - valueStart);
                    }
                }
                if (attrName.compare(u"face", Qt::CaseInsensitive) == 0) {
                    symbolFace = isSymbolFace(value);
                    symbol = symbolFace;
                    faceStart = attrStart;
                    faceEnd = k;
                }
            }
            if (symbolFace) {
                result += tag.left(faceStart);
                result += face;
                result += tag.mid(faceEnd);
            } else {
                result += tag;
            }
            symbolFont.push_back(symbol);
        }
        i = tagEnd;
    }
    return result;
}

// The bar of one page: "%s" in order takes the first, previous, next and last page's link attributes,
// "%d" the page number, then the page count.
QString filledBar(const QString& bar, const QString (&links)[4], int page, int pageCount)
{
    QString result;
    result.reserve(bar.size() + 128);
    int linkCount = 0;
    int numbers = 0;
    const qsizetype n = bar.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bar[i] == u'%' && i + 1 < n && bar[i + 1] == u's') {
            if (linkCount < 4)
                result += links[linkCount];
            ++linkCount;
            ++i;
        } else if (bar[i] == u'%' && i + 1 < n && bar[i + 1] == u'd') {
            if (numbers < 2)
                result += QString::number(numbers == 0 ? page : pageCount);
            ++numbers;
            ++i;
        } else {
            result += bar[i];
        }
    }
    return result;
}

QString escapedAttribute(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            result += QStringLiteral("&amp;");
            break;
        case u'"':
            result += QStringLiteral("&quot;");
            break;
        case u'\'':
            result += QStringLiteral("&#39;");
            break;
        case u'<':
            result += QStringLiteral("&lt;");
            break;
        case u'>':
            result += QStringLiteral("&gt;");
            break;
        default:
            result += c;
        }
    }
    return result;
}

// ` href="site3.html"`: the page file's name only, relative to the page that links to it.
QString pageLink(const QString& fileName, int page)
{
    const QString name = pagedHtmlFileName(fileName, page).section(u'/', -1);
    const QByteArray encoded = QUrl::toPercentEncoding(name, "!$&'()*+,;=@");
    return QStringLiteral(" href=\"") + escapedAttribute(QString::fromLatin1(encoded)) + u'"';
}

// The paged export: the flow is walked once; each page is gathered in memory and then written to its
// own file with the bars around it.
class PagedHtml
{
public:
    PagedHtml(const Document& document, const QString& fileName, const HtmlExportOptions& options,
              QString* error)
        : m_document(document), m_fileName(fileName), m_options(options), m_error(error), m_classes(document),
          m_pictures(document), m_flow(*this)
    {
        m_bars[0] = withUnicodeArrows(options.navigationBar[0]);
        m_bars[1] = withUnicodeArrows(options.navigationBar[1]);
        m_pageCount = std::max<int>(1, int(document.pages().size()));
    }

    bool write()
    {
        if (m_document.pages().empty()) {
            // Nothing was printed: one empty page, so that the first page's link still leads somewhere.
            startPage(0);
            m_body->appendLiteral("<div class=\"page\"><div class=\"cols\"></div></div>\n");
            finishPage(0);
        } else {
            walkFlow(m_document, m_flow);
        }
        if (!m_ok)
            return false;
        removePagedHtmlFiles(m_fileName, m_pageCount + 1);
        return true;
    }

private:
    class Flow : public HtmlFlow
    {
    public:
        explicit Flow(PagedHtml& owner) : HtmlFlow(owner.m_classes, owner.m_pictures, false), m_owner(owner)
        {}

        void beginPage(int index, const Page& page) override
        {
            m_owner.startPage(index);
            HtmlFlow::beginPage(index, page);
        }

        void endPage(int index, const Page& page) override
        {
            HtmlFlow::endPage(index, page);
            m_owner.finishPage(index);
        }

    private:
        PagedHtml& m_owner;
    };

    void startPage(int index)
    {
        m_body.reset();
        m_bodyDevice.reset();
        m_bodyBytes.clear();
        m_bodyDevice = std::make_unique<QBuffer>(&m_bodyBytes);
        m_bodyDevice->open(QIODevice::WriteOnly);
        m_body = std::make_unique<OutputBuffer>(*m_bodyDevice);
        m_flow.setOutput(m_body.get());

        // The classes this page's text uses: its style sheet holds only those.
        m_used.assign(m_classes.size(), false);
        if (size_t(index) < m_document.pages().size())
            for (const TextRun& run : m_document.pages()[size_t(index)].runs)
                if (run.role == ItemRole::Body && run.textLength > 0)
                    m_used[size_t(m_classes.of(run))] = true;
    }

    void finishPage(int index)
    {
        m_body->finish();
        if (!m_ok)
            return; // an earlier page failed: the export has failed, the walk only runs out
        const int page = index + 1;
        QString links[4];
        if (page > 1) {
            links[0] = pageLink(m_fileName, 1);
            links[1] = pageLink(m_fileName, page - 1);
        }
        if (page < m_pageCount) {
            links[2] = pageLink(m_fileName, page + 1);
            links[3] = pageLink(m_fileName, m_pageCount);
        }
        m_ok = writeFileAtomically(
            pagedHtmlFileName(m_fileName, page),
            [&](QIODevice& device) {
                OutputBuffer out(device);
                writeHead(out, m_options.title, m_classes, &m_used);
                out.appendUtf8(filledBar(m_bars[0], links, page, m_pageCount));
                out.append(m_bodyBytes.constData(), m_bodyBytes.size());
                out.appendUtf8(filledBar(m_bars[1], links, page, m_pageCount));
                out.appendLiteral("</body>\n</html>\n");
                return out.finish();
            },
            m_error);
    }

    const Document& m_document;
    QString m_fileName;
    const HtmlExportOptions& m_options;
    QString* m_error;
    StyleClasses m_classes;
    PictureData m_pictures;
    Flow m_flow;
    QString m_bars[2];
    int m_pageCount = 1;
    bool m_ok = true;
    std::vector<bool> m_used;
    QByteArray m_bodyBytes;
    std::unique_ptr<QBuffer> m_bodyDevice;
    std::unique_ptr<OutputBuffer> m_body;
};

} // namespace

bool writeHtml(const Document& document, QIODevice& device, const HtmlExportOptions& options, QString* error)
{
    StyleClasses classes(document);
    PictureData pictures(document);
    OutputBuffer out(device);
    writeHead(out, options.title, classes, nullptr);
    HtmlFlow flow(classes, pictures, true);
    flow.setOutput(&out);
    walkFlow(document, flow);
    out.appendLiteral("</body>\n</html>\n");
    if (out.finish())
        return true;
    if (error)
        *error = device.errorString().isEmpty() ? QStringLiteral("The HTML could not be written")
                                                : device.errorString();
    return false;
}

bool writePagedHtml(const Document& document, const QString& fileName, const HtmlExportOptions& options,
                    QString* error)
{
    return PagedHtml(document, fileName, options, error).write();
}

QString pagedHtmlFileName(const QString& fileName, int page)
{
    const PagedName pieces = splitPagedName(fileName);
    return pieces.folder + pieces.base + QString::number(page) + pieces.extension;
}

void removePagedHtmlFiles(const QString& fileName, int fromPage)
{
    const PagedName pieces = splitPagedName(fileName);
    const QDir folder(pieces.folder.isEmpty() ? QStringLiteral(".") : pieces.folder);
    const qsizetype fixed = pieces.base.size() + pieces.extension.size();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.size() <= fixed || !name.startsWith(pieces.base) || !name.endsWith(pieces.extension))
            continue;
        const QStringView digits = QStringView(name).mid(pieces.base.size(), name.size() - fixed);
        // Page numbers are written without leading zeros: "site01.html" is not one of ours.
        bool allDigits = digits[0] != u'0';
        for (const QChar c : digits)
            allDigits = allDigits && c >= u'0' && c <= u'9';
        if (!allDigits)
            continue;
        // More digits than an int holds is a page number beyond any start.
        if (digits.size() <= 9 && digits.toInt() < fromPage)
            continue;
        QFile::remove(folder.filePath(name));
    }
}

} // namespace folionix
