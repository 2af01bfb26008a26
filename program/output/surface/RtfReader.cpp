#include "RtfReader.h"

#include "PrintSurface.h"

#include <QByteArray>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace folionix {

namespace {

// Windows-1252 where it differs from Latin-1; the fallback when a code page has no decoder.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// The code page a font's \fcharset stands for; 0 where the document's code page applies.
int codePageOfCharset(int charset)
{
    switch (charset) {
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

// Decoders of the code pages a document uses, created on first use. Bytes of a code page without a
// decoder are read as Windows-1252.
class CodePages
{
public:
    void decode(int codePage, const QByteArray& bytes, QString& out)
    {
        QStringDecoder* decoder = decoderFor(codePage);
        if (!decoder) {
            out.reserve(out.size() + bytes.size());
            for (const char byte : bytes) {
                const auto b = uchar(byte);
                out.append(QChar(b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : char16_t(b)));
            }
            return;
        }
        out.append(decoder->decode(bytes));
    }

private:
    QStringDecoder* decoderFor(int codePage)
    {
        if (codePage <= 0 || codePage == 1252)
            return nullptr;
        auto it = m_decoders.find(codePage);
        if (it != m_decoders.end())
            return it->second.get();
        // A real document names a code page or two; a stream of made-up ones is not worth a look-up each.
        if (m_decoders.size() >= MaxCodePages)
            return nullptr;
        return m_decoders.emplace(codePage, create(codePage)).first->second.get();
    }

    static std::unique_ptr<QStringDecoder> create(int codePage)
    {
        if (codePage == 65001)
            return std::make_unique<QStringDecoder>(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QByteArrayList names{"windows-" + QByteArray::number(codePage)};
        switch (codePage) {
        case 932:
            names << "Shift_JIS";
            break;
        case 936:
            names << "GBK";
            break;
        case 949:
            names << "EUC-KR";
            break;
        case 950:
            names << "Big5";
            break;
        default:
            names << "IBM" + QByteArray::number(codePage) << "cp" + QByteArray::number(codePage);
            break;
        }
        for (const QByteArray& name : names) {
            auto decoder =
                std::make_unique<QStringDecoder>(name.constData(), QStringDecoder::Flag::Stateless);
            if (decoder->isValid())
                return decoder;
        }
        return nullptr;
    }

    static constexpr size_t MaxCodePages = 16;
    std::unordered_map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

// The control words the reader acts on.
enum class Word : uint8_t
{
    Unknown,
    Ignore, // a destination of its own that holds no text (\info, \stylesheet, headers, …)
    Ansicpg,
    B,
    Bin,
    Blue,
    Bullet,
    Cell,
    Cf,
    Colortbl,
    Column,
    Deff,
    Emdash,
    Emspace,
    Endash,
    Enspace,
    F,
    Fcharset,
    Fonttbl,
    Fs,
    Green,
    I,
    Jpegblip,
    Ldblquote,
    Li,
    Line,
    Lquote,
    OtherBlip,
    Page,
    Par,
    Pard,
    Pich,
    Pichgoal,
    Picscalex,
    Picscaley,
    Pict,
    Picw,
    Picwgoal,
    Plain,
    Pngblip,
    Qc,
    Qj,
    Ql,
    Qr,
    Rdblquote,
    Red,
    Row,
    Rquote,
    Sect,
    Shppict,
    Tab,
    U,
    Uc,
    Ud,
    Ul,
    Ulnone,
    Upr
};

struct WordEntry
{
    std::string_view name;
    Word word;
};

// Sorted by name for the binary search.
constexpr WordEntry Words[] = {
    {"aftncn", Word::Ignore},
    {"aftnsep", Word::Ignore},
    {"aftnsepc", Word::Ignore},
    {"annotation", Word::Ignore},
    {"ansicpg", Word::Ansicpg},
    {"atnauthor", Word::Ignore},
    {"atnid", Word::Ignore},
    {"author", Word::Ignore},
    {"b", Word::B},
    {"bin", Word::Bin},
    {"blue", Word::Blue},
    {"bullet", Word::Bullet},
    {"buptim", Word::Ignore},
    {"cell", Word::Cell},
    {"cf", Word::Cf},
    {"colortbl", Word::Colortbl},
    {"column", Word::Column},
    {"comment", Word::Ignore},
    {"creatim", Word::Ignore},
    {"deff", Word::Deff},
    {"dibitmap", Word::OtherBlip},
    {"doccomm", Word::Ignore},
    {"emdash", Word::Emdash},
    {"emfblip", Word::OtherBlip},
    {"emspace", Word::Emspace},
    {"endash", Word::Endash},
    {"enspace", Word::Enspace},
    {"f", Word::F},
    {"falt", Word::Ignore},
    {"fcharset", Word::Fcharset},
    {"fldinst", Word::Ignore},
    {"fonttbl", Word::Fonttbl},
    {"footer", Word::Ignore},
    {"footerf", Word::Ignore},
    {"footerl", Word::Ignore},
    {"footerr", Word::Ignore},
    {"footnote", Word::Ignore},
    {"fs", Word::Fs},
    {"ftncn", Word::Ignore},
    {"ftnsep", Word::Ignore},
    {"ftnsepc", Word::Ignore},
    {"green", Word::Green},
    {"header", Word::Ignore},
    {"headerf", Word::Ignore},
    {"headerl", Word::Ignore},
    {"headerr", Word::Ignore},
    {"i", Word::I},
    {"info", Word::Ignore},
    {"jpegblip", Word::Jpegblip},
    {"keywords", Word::Ignore},
    {"ldblquote", Word::Ldblquote},
    {"li", Word::Li},
    {"line", Word::Line},
    {"listoverridetable", Word::Ignore},
    {"listtable", Word::Ignore},
    {"lquote", Word::Lquote},
    {"macpict", Word::OtherBlip},
    {"nonshppict", Word::Ignore},
    {"objclass", Word::Ignore},
    {"objdata", Word::Ignore},
    {"objname", Word::Ignore},
    {"operator", Word::Ignore},
    {"page", Word::Page},
    {"par", Word::Par},
    {"pard", Word::Pard},
    {"pich", Word::Pich},
    {"pichgoal", Word::Pichgoal},
    {"picscalex", Word::Picscalex},
    {"picscaley", Word::Picscaley},
    {"pict", Word::Pict},
    {"picw", Word::Picw},
    {"picwgoal", Word::Picwgoal},
    {"plain", Word::Plain},
    {"pmmetafile", Word::OtherBlip},
    {"pn", Word::Ignore},
    {"pngblip", Word::Pngblip},
    {"printim", Word::Ignore},
    {"private", Word::Ignore},
    {"qc", Word::Qc},
    {"qj", Word::Qj},
    {"ql", Word::Ql},
    {"qr", Word::Qr},
    {"rdblquote", Word::Rdblquote},
    {"red", Word::Red},
    {"revtbl", Word::Ignore},
    {"revtim", Word::Ignore},
    {"row", Word::Row},
    {"rquote", Word::Rquote},
    {"rsidtbl", Word::Ignore},
    {"sect", Word::Sect},
    {"shppict", Word::Shppict},
    {"stylesheet", Word::Ignore},
    {"subject", Word::Ignore},
    {"tab", Word::Tab},
    {"tc", Word::Ignore},
    {"template", Word::Ignore},
    {"title", Word::Ignore},
    {"txe", Word::Ignore},
    {"u", Word::U},
    {"uc", Word::Uc},
    {"ud", Word::Ud},
    {"ul", Word::Ul},
    {"uld", Word::Ul},
    {"uldash", Word::Ul},
    {"uldashd", Word::Ul},
    {"uldashdd", Word::Ul},
    {"uldb", Word::Ul},
    {"ulhwave", Word::Ul},
    {"ulldash", Word::Ul},
    {"ulnone", Word::Ulnone},
    {"ulth", Word::Ul},
    {"ulw", Word::Ul},
    {"ulwave", Word::Ul},
    {"upr", Word::Upr},
    {"userprops", Word::Ignore},
    {"wbitmap", Word::OtherBlip},
    {"wmetafile", Word::OtherBlip},
    {"xe", Word::Ignore},
    {"xmlnstbl", Word::Ignore},
};

static_assert(std::is_sorted(std::begin(Words), std::end(Words),
                             [](const WordEntry& a, const WordEntry& b) { return a.name < b.name; }));

Word lookupWord(std::string_view name)
{
    const auto end = std::end(Words);
    const auto it =
        std::lower_bound(std::begin(Words), end, name,
                         [](const WordEntry& entry, std::string_view key) { return entry.name < key; });
    return it != end && it->name == name ? it->word : Word::Unknown;
}

enum class Destination : uint8_t
{
    Text,
    Skip,
    FontTable,
    ColorTable,
    Picture
};

enum class PictureKind : uint8_t
{
    Png,
    Jpeg,
    Other
};

// Character and paragraph properties and the destination: what a group restores when it ends.
struct GroupState
{
    int font = -1; // font number; -1 is the document's default font
    int halfPoints = 24;
    int color = 0;
    int alignment = 0;
    int leftIndent = 0;
    int fallbackLength = 1; // \uc
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool starred = false; // "\*" opened the group: a destination the reader may not know
    Destination destination = Destination::Text;
    Destination beforeUpr = Destination::Text; // where the Unicode half of \upr goes
};

struct FontEntry
{
    QString name;
    int charset = 0;
};

// Deeper groups are counted, not kept: nesting never costs more memory than this.
constexpr size_t MaxDepth = 4096;
// Numbers are clamped well inside int.
constexpr qint64 MaxNumber = 1'000'000'000;

class RtfParser
{
public:
    explicit RtfParser(QStringView rtf) : m_text(rtf), m_groups(1) {}

    RtfDocument read()
    {
        const char16_t* const s = m_text.utf16();
        const qsizetype n = m_text.size();
        while (m_pos < n) {
            const char16_t c = s[m_pos];
            if (c == u'\\') {
                controlSequence();
                continue;
            }
            ++m_pos;
            if (c == u'{') {
                flushBytes();
                pushGroup();
            } else if (c == u'}') {
                flushBytes();
                popGroup();
            } else if (c == u'\r' || c == u'\n') {
                // Line ends in RTF source are not text.
            } else {
                flushBytes();
                character(c);
            }
        }
        flushBytes();
        flushSurrogate();
        // A last paragraph without \par keeps the properties its text had, not those of the closed
        // groups around it.
        if (!paragraphEmpty())
            endParagraph(m_textAlignment, m_textIndent);
        else if (m_paragraph.pageBreakBefore || m_paragraph.columnBreakBefore)
            endParagraph();
        return std::move(m_document);
    }

private:
    GroupState& state() { return m_groups.back(); }

    // Control sequences

    void controlSequence()
    {
        const char16_t* const s = m_text.utf16();
        const qsizetype n = m_text.size();
        qsizetype p = m_pos + 1;
        if (p >= n) {
            m_pos = n;
            return;
        }
        const char16_t first = s[p];
        if (isLetter(first)) {
            char name[33];
            int length = 0;
            while (p < n && isLetter(s[p])) {
                if (length < 32)
                    name[length] = char(s[p]);
                ++length;
                ++p;
            }
            bool negative = false;
            if (p + 1 < n && s[p] == u'-' && isDigit(s[p + 1])) {
                negative = true;
                ++p;
            }
            bool hasParameter = false;
            qint64 value = 0;
            while (p < n && isDigit(s[p])) {
                hasParameter = true;
                value = std::min(value * 10 + (s[p] - u'0'), MaxNumber);
                ++p;
            }
            if (p < n && s[p] == u' ')
                ++p;
            m_pos = p;
            flushBytes();
            // A name longer than any control word is nobody's: skipped like any unknown word.
            const Word word =
                length <= 32 ? lookupWord(std::string_view(name, size_t(length))) : Word::Unknown;
            controlWord(word, hasParameter, int(negative ? -value : value));
            return;
        }
        if (first == u'\'') {
            // \'hh: a byte in the code page; a broken escape is dropped.
            ++p;
            int value = 0;
            int digits = 0;
            while (digits < 2 && p < n && hexValue(s[p]) >= 0) {
                value = value * 16 + hexValue(s[p]);
                ++digits;
                ++p;
            }
            m_pos = p;
            if (digits == 2)
                byte(char(value));
            return;
        }
        m_pos = p + 1;
        flushBytes();
        controlSymbol(first);
    }

    void controlSymbol(char16_t symbol)
    {
        switch (symbol) {
        case u'\\':
        case u'{':
        case u'}':
            character(symbol);
            break;
        case u'~':
            character(0x00A0);
            break;
        case u'_':
            character(0x2011);
            break;
        case u'\r':
        case u'\n':
            if (state().destination == Destination::Text)
                paragraphEnd();
            break;
        case u'*':
            state().starred = true;
            break;
        default:
            // \- (optional hyphen), \| and the rest show nothing.
            break;
        }
    }

    void controlWord(Word word, bool hasParameter, int parameter)
    {
        GroupState& st = state();
        // A control word ends the fallback of \u early: only characters are skipped.
        m_skip = 0;
        if (word == Word::Bin) {
            binary(hasParameter ? parameter : 0);
            return;
        }
        if (st.destination == Destination::Skip) {
            if (word == Word::Ud && st.starred)
                st.destination = st.beforeUpr;
            return;
        }
        if (st.starred) {
            st.starred = false;
            // Of the optional destinations only the picture wrapper is read; \ud is handled above
            // when it stands under \upr and is plain text otherwise.
            if (word != Word::Shppict && word != Word::Ud) {
                st.destination = Destination::Skip;
                return;
            }
        }
        switch (st.destination) {
        case Destination::FontTable:
            fontTableWord(word, parameter);
            return;
        case Destination::ColorTable:
            colorTableWord(word, parameter);
            return;
        case Destination::Picture:
            pictureWord(word, parameter);
            return;
        case Destination::Skip:
        case Destination::Text:
            break;
        }
        switch (word) {
        case Word::Ignore:
            st.destination = Destination::Skip;
            break;
        case Word::Upr:
            st.beforeUpr = st.destination;
            st.destination = Destination::Skip;
            break;
        case Word::Fonttbl:
            st.destination = Destination::FontTable;
            m_entryNumber = -1;
            m_entryName.clear();
            break;
        case Word::Colortbl:
            st.destination = Destination::ColorTable;
            m_colors.clear();
            m_red = m_green = m_blue = 0;
            break;
        case Word::Pict:
            st.destination = Destination::Picture;
            beginPicture();
            break;
        case Word::Ansicpg:
            if (hasParameter)
                m_codePage = parameter;
            break;
        case Word::Deff:
            m_defaultFont = parameter;
            m_formatDirty = true;
            break;
        case Word::Par:
            paragraphEnd();
            break;
        case Word::Sect:
        case Word::Row:
            if (!paragraphEmpty())
                paragraphEnd();
            break;
        case Word::Line:
            character(u'\n');
            break;
        case Word::Tab:
        case Word::Cell:
            character(u'\t');
            break;
        case Word::Page:
            breakBefore(&RtfParagraph::pageBreakBefore);
            break;
        case Word::Column:
            breakBefore(&RtfParagraph::columnBreakBefore);
            break;
        case Word::Pard:
            st.alignment = 0;
            st.leftIndent = 0;
            break;
        case Word::Ql:
            st.alignment = 0;
            break;
        case Word::Qr:
            st.alignment = 1;
            break;
        case Word::Qc:
            st.alignment = 2;
            break;
        case Word::Qj:
            st.alignment = 3;
            break;
        case Word::Li:
            st.leftIndent = std::clamp(parameter, -31680, 31680);
            break;
        case Word::Plain:
            st.font = -1;
            st.halfPoints = 24;
            st.bold = st.italic = st.underline = false;
            st.color = 0;
            m_formatDirty = true;
            break;
        case Word::B:
            st.bold = !hasParameter || parameter != 0;
            m_formatDirty = true;
            break;
        case Word::I:
            st.italic = !hasParameter || parameter != 0;
            m_formatDirty = true;
            break;
        case Word::Ul:
            st.underline = !hasParameter || parameter != 0;
            m_formatDirty = true;
            break;
        case Word::Ulnone:
            st.underline = false;
            m_formatDirty = true;
            break;
        case Word::Fs:
            // Half points; nonsense sizes fall back to the default, extremes are clamped.
            st.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, 3276) : 24;
            m_formatDirty = true;
            break;
        case Word::F:
            st.font = parameter;
            m_formatDirty = true;
            break;
        case Word::Cf:
            st.color = parameter;
            m_formatDirty = true;
            break;
        case Word::Uc:
            st.fallbackLength = std::clamp(parameter, 0, 16);
            break;
        case Word::U:
            unicode(parameter);
            break;
        case Word::Emdash:
            character(0x2014);
            break;
        case Word::Endash:
            character(0x2013);
            break;
        case Word::Emspace:
            character(0x2003);
            break;
        case Word::Enspace:
            character(0x2002);
            break;
        case Word::Bullet:
            character(0x2022);
            break;
        case Word::Lquote:
            character(0x2018);
            break;
        case Word::Rquote:
            character(0x2019);
            break;
        case Word::Ldblquote:
            character(0x201C);
            break;
        case Word::Rdblquote:
            character(0x201D);
            break;
        default:
            break;
        }
    }

    void unicode(int parameter)
    {
        char16_t unit = 0xFFFD;
        if (parameter >= 0 && parameter <= 0xFFFF)
            unit = char16_t(parameter);
        else if (parameter < 0 && parameter >= -32768)
            unit = char16_t(parameter + 65536);
        character(unit);
        m_skip = state().fallbackLength;
    }

    // \binN: N characters of raw data, picture bytes or nothing.
    void binary(int length)
    {
        const qsizetype available = m_text.size() - m_pos;
        const qsizetype count = std::clamp<qsizetype>(length, 0, available);
        if (state().destination == Destination::Picture) {
            const char16_t* s = m_text.utf16() + m_pos;
            for (qsizetype i = 0; i < count; ++i)
                m_pictureData.append(char(s[i] & 0xFF));
        }
        m_pos += count;
    }

    // Groups

    void pushGroup()
    {
        m_skip = 0;
        if (m_groups.size() >= MaxDepth) {
            ++m_overflow;
            return;
        }
        GroupState inner = m_groups.back();
        inner.starred = false;
        m_groups.push_back(inner);
    }

    void popGroup()
    {
        m_skip = 0;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_groups.size() <= 1)
            return; // a closing brace too many
        const GroupState closing = m_groups.back();
        m_groups.pop_back();
        const Destination outer = m_groups.back().destination;
        if (closing.destination == Destination::FontTable)
            commitFont();
        if (closing.destination == Destination::Picture && outer != Destination::Picture)
            endPicture();
        m_formatDirty = true;
    }

    // Characters

    static bool isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
    static bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
    static int hexValue(char16_t c)
    {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return -1;
    }

    // A character of the document (literal, escaped or \u), after the fallback of a \u.
    void character(char16_t c)
    {
        switch (state().destination) {
        case Destination::Picture:
            pictureHex(c);
            return;
        case Destination::Skip:
            return;
        default:
            break;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        put(c);
    }

    // A decoded character in the current destination.
    void put(char16_t c)
    {
        switch (state().destination) {
        case Destination::Text:
            if (c < 0x20 && c != u'\t' && c != u'\n')
                return; // control characters in RTF source are noise
            text(c);
            return;
        case Destination::FontTable:
            if (c == u';')
                commitFont();
            else if (c >= 0x20)
                m_entryName.append(QChar(c));
            return;
        case Destination::ColorTable:
            if (c == u';') {
                m_colors.push_back(WinColor(m_red) | WinColor(m_green) << 8 | WinColor(m_blue) << 16);
                m_red = m_green = m_blue = 0;
            }
            return;
        case Destination::Picture:
        case Destination::Skip:
            return;
        }
    }

    void byte(char value)
    {
        const Destination destination = state().destination;
        if (destination == Destination::Skip || destination == Destination::Picture)
            return;
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        m_bytes.append(value);
    }

    // Bytes of consecutive \'hh escapes are decoded together, so double-byte code pages read right.
    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        int codePage = m_codePage;
        if (state().destination == Destination::FontTable) {
            if (const int page = codePageOfCharset(m_entryCharset))
                codePage = page;
        } else {
            const auto it = m_fonts.constFind(state().font < 0 ? m_defaultFont : state().font);
            if (it != m_fonts.constEnd()) {
                if (const int page = codePageOfCharset(it->charset))
                    codePage = page;
            }
        }
        m_decoded.clear();
        m_codePages.decode(codePage, m_bytes, m_decoded);
        m_bytes.clear();
        for (const QChar c : std::as_const(m_decoded))
            put(c.unicode());
    }

    // Body text: surrogate halves are joined; a half without its partner becomes U+FFFD.
    void text(char16_t c)
    {
        if (QChar::isHighSurrogate(c)) {
            flushSurrogate();
            m_highSurrogate = c;
            return;
        }
        if (m_highSurrogate) {
            if (QChar::isLowSurrogate(c)) {
                append(m_highSurrogate);
                m_highSurrogate = 0;
                append(c);
                return;
            }
            flushSurrogate();
        }
        append(QChar::isLowSurrogate(c) ? char16_t(0xFFFD) : c);
    }

    void flushSurrogate()
    {
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            append(0xFFFD);
        }
    }

    void append(char16_t c)
    {
        if (m_formatDirty) {
            m_formatDirty = false;
            const RtfCharFormat format = currentFormat();
            if (!(format == m_format)) {
                m_format = format;
                m_spanReady = false;
            }
        }
        if (!m_spanReady) {
            if (m_paragraph.spans.empty() || !(m_paragraph.spans.back().format == m_format))
                m_paragraph.spans.push_back(RtfSpan{QString(), m_format});
            m_spanReady = true;
        }
        m_paragraph.spans.back().text.append(QChar(c));
        m_textAlignment = m_groups.back().alignment;
        m_textIndent = m_groups.back().leftIndent;
    }

    RtfCharFormat currentFormat() const
    {
        const GroupState& st = m_groups.back();
        RtfCharFormat format;
        const auto font = m_fonts.constFind(st.font < 0 ? m_defaultFont : st.font);
        if (font != m_fonts.constEnd())
            format.fontName = font->name;
        format.pointSize = st.halfPoints / 2.0;
        format.bold = st.bold;
        format.italic = st.italic;
        format.underline = st.underline;
        if (st.color >= 0 && size_t(st.color) < m_colors.size())
            format.color = m_colors[size_t(st.color)];
        return format;
    }

    // Paragraphs

    bool paragraphEmpty() const { return m_paragraph.spans.empty() && m_paragraph.pictures.empty(); }

    void paragraphEnd()
    {
        flushSurrogate();
        endParagraph();
    }

    void endParagraph() { endParagraph(m_groups.back().alignment, m_groups.back().leftIndent); }

    void endParagraph(int alignment, int leftIndent)
    {
        m_paragraph.alignment = alignment;
        m_paragraph.leftIndent = leftIndent;
        m_document.paragraphs.push_back(std::move(m_paragraph));
        m_paragraph = RtfParagraph();
        m_spanReady = false;
    }

    // \page and \column end the paragraph they stand in; the next one starts on the new page or column.
    // Two breaks in a row leave an empty paragraph between them, as an empty page or column.
    void breakBefore(bool RtfParagraph::*flag)
    {
        flushSurrogate();
        if (!paragraphEmpty() || m_paragraph.*flag)
            endParagraph();
        m_paragraph.*flag = true;
    }

    // Font table

    void fontTableWord(Word word, int parameter)
    {
        switch (word) {
        case Word::F:
            commitFont();
            m_entryNumber = parameter;
            m_entryCharset = 0;
            break;
        case Word::Fcharset:
            m_entryCharset = parameter;
            break;
        case Word::U:
            unicode(parameter);
            break;
        case Word::Uc:
            state().fallbackLength = std::clamp(parameter, 0, 16);
            break;
        case Word::Upr:
            state().beforeUpr = Destination::FontTable;
            state().destination = Destination::Skip;
            break;
        case Word::Unknown:
        case Word::Fonttbl:
            break;
        default:
            // \panose, \falt and the like add nothing to the name.
            if (word == Word::Ignore || word == Word::Pict)
                state().destination = Destination::Skip;
            break;
        }
    }

    void commitFont()
    {
        flushBytes();
        if (m_entryNumber >= 0) {
            QString name = m_entryName.trimmed();
            while (name.endsWith(u';'))
                name.chop(1);
            FontEntry& entry = m_fonts[m_entryNumber];
            entry.charset = m_entryCharset;
            if (!name.isEmpty() || entry.name.isEmpty())
                entry.name = name;
            m_formatDirty = true;
        }
        m_entryNumber = -1;
        m_entryName.clear();
    }

    // Colour table

    void colorTableWord(Word word, int parameter)
    {
        const auto component = [&] { return std::clamp(parameter, 0, 255); };
        switch (word) {
        case Word::Red:
            m_red = component();
            break;
        case Word::Green:
            m_green = component();
            break;
        case Word::Blue:
            m_blue = component();
            break;
        default:
            break;
        }
        m_formatDirty = true;
    }

    // Pictures

    void beginPicture()
    {
        m_pictureKind = PictureKind::Other;
        m_pictureData.clear();
        m_nibble = -1;
        m_pictureWidth = m_pictureHeight = 0;
        m_goalWidth = m_goalHeight = 0;
        m_scaleX = m_scaleY = 100;
    }

    void pictureWord(Word word, int parameter)
    {
        switch (word) {
        case Word::Pngblip:
            m_pictureKind = PictureKind::Png;
            break;
        case Word::Jpegblip:
            m_pictureKind = PictureKind::Jpeg;
            break;
        case Word::OtherBlip:
            m_pictureKind = PictureKind::Other;
            break;
        case Word::Picw:
            m_pictureWidth = parameter;
            break;
        case Word::Pich:
            m_pictureHeight = parameter;
            break;
        case Word::Picwgoal:
            m_goalWidth = parameter;
            break;
        case Word::Pichgoal:
            m_goalHeight = parameter;
            break;
        case Word::Picscalex:
            m_scaleX = parameter;
            break;
        case Word::Picscaley:
            m_scaleY = parameter;
            break;
        default:
            break;
        }
    }

    void pictureHex(char16_t c)
    {
        const int value = hexValue(c);
        if (value < 0)
            return;
        if (m_nibble < 0) {
            m_nibble = value;
        } else {
            m_pictureData.append(char(m_nibble << 4 | value));
            m_nibble = -1;
        }
    }

    void endPicture()
    {
        if (m_pictureKind == PictureKind::Other || m_pictureData.isEmpty())
            return;
        QImage image = QImage::fromData(m_pictureData, m_pictureKind == PictureKind::Png ? "PNG" : "JPEG");
        m_pictureData.clear();
        if (image.isNull())
            return;
        // The size the document asks for travels as the image's resolution, which is what the surface
        // sizes a picture by.
        const auto resolution = [](int pixels, int goal, int scale) {
            const double twips = double(goal) * (scale > 0 ? scale : 100) / 100.0;
            return twips > 0 ? int(std::lround(pixels * 1440.0 / twips / 0.0254)) : 0;
        };
        const int dpmX = resolution(image.width(), m_goalWidth, m_scaleX);
        const int dpmY = resolution(image.height(), m_goalHeight, m_scaleY);
        if (dpmX > 0)
            image.setDotsPerMeterX(dpmX);
        if (dpmY > 0)
            image.setDotsPerMeterY(dpmY);
        flushSurrogate();
        m_paragraph.pictures.push_back(image);
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_groups;
    size_t m_overflow = 0;
    int m_skip = 0; // fallback characters of a \u still to skip

    int m_codePage = 1252;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    int m_entryNumber = -1;
    int m_entryCharset = 0;
    QString m_entryName;
    std::vector<WinColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;

    CodePages m_codePages;
    QByteArray m_bytes;
    QString m_decoded;
    char16_t m_highSurrogate = 0;

    PictureKind m_pictureKind = PictureKind::Other;
    QByteArray m_pictureData;
    int m_nibble = -1;
    int m_pictureWidth = 0, m_pictureHeight = 0;
    int m_goalWidth = 0, m_goalHeight = 0;
    int m_scaleX = 100, m_scaleY = 100;

    RtfDocument m_document;
    RtfParagraph m_paragraph;
    RtfCharFormat m_format;
    int m_textAlignment = 0; // paragraph properties at the last character of body text
    int m_textIndent = 0;
    bool m_formatDirty = true;
    bool m_spanReady = false;
};

// Draws the paragraphs of a document onto the surface's flow.
class RtfRenderer
{
public:
    explicit RtfRenderer(PrintSurface& surface) : m_surface(surface) {}

    void render(const RtfDocument& document)
    {
        if (document.paragraphs.empty())
            return;
        // Positions are read before anything is added, so the document has to exist by then.
        if (m_surface.DocumentState() == 0)
            m_surface.StartDoc();
        const PrintSurface::FontState font = m_surface.SaveFont();
        const int indent = m_surface.IndentLeft();
        bool first = true;
        for (const RtfParagraph& paragraph : document.paragraphs) {
            renderParagraph(paragraph, indent, first);
            first = false;
        }
        m_surface.setIndentLeft(indent);
        m_surface.RestoreFont(font);
    }

private:
    void renderParagraph(const RtfParagraph& paragraph, int indent, bool first)
    {
        if (paragraph.pageBreakBefore)
            m_surface.NewPage();
        else if (paragraph.columnBreakBefore)
            m_surface.NewColumn();
        // Line ends inside the paragraph come back to its indent; the first line starts there too
        // unless the document began in the middle of a line.
        m_surface.setIndentLeft(indent + paragraph.leftIndent);
        const double lineLeft = m_surface.TextAreaLeft() + indent;
        if (!first || m_surface.CurrentX() <= lineLeft + 0.5)
            m_surface.setCurrentX(lineLeft + paragraph.leftIndent);

        m_lineHasText = false;
        for (const RtfSpan& span : paragraph.spans)
            renderSpan(span);
        for (const QImage& picture : paragraph.pictures)
            renderPicture(picture, lineLeft + paragraph.leftIndent);
        // What follows the paragraph starts at the surface's own indent. A paragraph of pictures only
        // ends where its last picture does.
        m_surface.setIndentLeft(indent);
        if (m_lineHasText || paragraph.pictures.empty())
            m_surface.AddParagraph(QString());
        else
            m_surface.setCurrentX(lineLeft);
    }

    void renderSpan(const RtfSpan& span)
    {
        const RtfCharFormat& format = span.format;
        if (!format.fontName.trimmed().isEmpty())
            m_surface.setFontName(format.fontName);
        if (format.pointSize > 0 && std::isfinite(format.pointSize))
            m_surface.setFontSize(format.pointSize);
        m_surface.setFontBold(format.bold);
        m_surface.setFontItalic(format.italic);
        m_surface.setFontUnderline(format.underline);
        m_surface.setTextColor(format.color);

        const QString& text = span.text;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool end = i == text.size();
            if (!end && text[i] != u'\t' && text[i] != u'\n')
                continue;
            if (i > start) {
                m_surface.AddText(text.mid(start, i - start));
                m_lineHasText = true;
            }
            start = i + 1;
            if (end)
                break;
            if (text[i] == u'\t') {
                tab();
            } else {
                m_surface.AddParagraph(QString());
                m_lineHasText = false;
            }
        }
    }

    // To the next stop of the half-inch grid that starts at the column's left edge.
    void tab()
    {
        constexpr double Stop = 720;
        m_surface.RefreshTextArea();
        const double left = m_surface.TextAreaLeft();
        const double offset = m_surface.CurrentX() - left;
        m_surface.setCurrentX(left + (std::floor(offset / Stop + 1e-9) + 1) * Stop);
    }

    void renderPicture(const QImage& picture, double lineLeft)
    {
        if (m_lineHasText) {
            m_surface.AddParagraph(QString());
            m_lineHasText = false;
        }
        const double dpiY = picture.dotsPerMeterY() > 0 ? picture.dotsPerMeterY() * 0.0254 : 96.0;
        const double height = picture.height() * 1440.0 / dpiY;
        if (!m_surface.AtColumnTop() && m_surface.CurrentY() + height > m_surface.TextAreaBottom())
            m_surface.NewColumn();
        const double y = m_surface.CurrentY();
        m_surface.DrawPicture(picture, m_surface.CurrentX(), y);
        m_surface.setCurrentY(y + height);
        m_surface.setCurrentX(lineLeft);
    }

    PrintSurface& m_surface;
    bool m_lineHasText = false;
};

} // namespace

QString RtfDocument::plainText() const
{
    qsizetype length = 0;
    for (const RtfParagraph& paragraph : paragraphs) {
        for (const RtfSpan& span : paragraph.spans)
            length += span.text.size();
        ++length;
    }
    QString text;
    text.reserve(length);
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            text.append(u'\n');
        for (const RtfSpan& span : paragraphs[i].spans)
            text.append(span.text);
    }
    return text;
}

RtfDocument readRtf(QStringView rtf)
{
    return RtfParser(rtf).read();
}

void renderRtf(PrintSurface& surface, const RtfDocument& document)
{
    RtfRenderer(surface).render(document);
}

} // namespace folionix
