#include "CorpusGenerator.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace folionix::bench {
namespace {

// splitmix64: small and fully specified, so every build and platform produces the same corpus
// (std distributions differ between standard library versions).
class Rng
{
public:
    explicit Rng(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Modulo bias does not matter for test data.
    int between(int lo, int hi) { return lo + int(next() % quint64(hi - lo + 1)); }
    bool chance(int percent) { return between(0, 99) < percent; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) { return items[next() % N]; }

private:
    quint64 m_state;
};

constexpr const char* kNouns[] = {"Customer", "Order",    "Product",  "Invoice",  "Employee", "Account",
                                  "Report",   "Basket",   "Supplier", "Category", "Region",   "Branch",
                                  "Payment",  "Shipment", "Message",  "Ticket",   "Member",   "Course",
                                  "Booking",  "Article",  "Vendor",   "Item",     "Budget",   "Contract"};
constexpr const char* kVerbs[] = {"Get",    "Load",   "Save",   "Show",     "Build", "Check",
                                  "Format", "Update", "Delete", "Render",   "Calc",  "Find",
                                  "Send",   "Print",  "List",   "Validate", "Write", "Read"};
constexpr const char* kVbPrefixes[] = {"str", "int", "lng", "bln", "dtm", "obj", "cur", "dbl", "arr"};
constexpr const char* kSuffixes[] = {"",     "",     "Id",   "Name", "Count", "Total", "List",
                                     "Date", "Code", "Text", "Sql",  "Index", "Flag"};
constexpr const char* kWords[] = {
    "the",       "order",  "customer",   "report",  "please",   "enter",    "your",    "name",   "and",
    "password",  "to",     "continue",   "monthly", "sales",    "figures",  "are",     "shown",  "below",
    "for",       "each",   "region",     "click",   "here",     "view",     "details", "of",     "latest",
    "invoice",   "our",    "staff",      "will",    "contact",  "you",      "shortly", "thank",  "using",
    "intranet",  "page",   "department", "updated", "every",    "morning",  "stock",   "levels", "in",
    "warehouse", "before", "noon",       "after",   "approval", "by",       "manager", "all",    "prices",
    "include",   "tax",    "new",        "members", "must",     "register", "with",    "a",      "valid",
    "address",   "this",   "list",       "is",      "printed",  "weekly"};
constexpr const char* kFields[] = {"ID",    "Name",  "Price", "Quantity", "Created", "Status",
                                   "Email", "Phone", "City",  "Total",    "Notes",   "Owner"};
constexpr const char* kFonts[] = {"Verdana, Arial, sans-serif", "Arial", "\"Times New Roman\", serif",
                                  "Tahoma", "\"Courier New\", monospace"};
constexpr const char* kCssUnits[] = {"px", "pt", "em", "%"};
constexpr const char* kAligns[] = {"left", "center", "right"};

QByteArray num(qint64 value)
{
    return QByteArray::number(value);
}

// Joins parts in order. The parts of a braced list are evaluated left to right, unlike the operands
// of '+' or the arguments of a call, so random draws come in the same order with every compiler.
QByteArray cat(std::initializer_list<QByteArrayView> parts)
{
    qsizetype size = 0;
    for (const QByteArrayView part : parts)
        size += part.size();
    QByteArray joined;
    joined.reserve(size);
    for (const QByteArrayView part : parts)
        joined += part;
    return joined;
}

// Indented lines with the page's line end and indentation style.
class Writer
{
public:
    Writer(QByteArray& out, QByteArrayView eol, QByteArrayView indentUnit)
        : m_out(out), m_eol(eol), m_unit(indentUnit)
    {}
    void line(QByteArrayView text)
    {
        for (int i = 0; i < m_depth; ++i)
            m_out += m_unit;
        m_out += text;
        m_out += m_eol;
    }
    void open(QByteArrayView text)
    {
        line(text);
        ++m_depth;
    }
    void close(QByteArrayView text)
    {
        m_depth = std::max(0, m_depth - 1);
        line(text);
    }
    void indent() { ++m_depth; }
    void outdent() { m_depth = std::max(0, m_depth - 1); }
    QByteArrayView eol() const { return m_eol; }

private:
    QByteArray& m_out;
    QByteArrayView m_eol;
    QByteArrayView m_unit;
    int m_depth = 0;
};

class Generator
{
public:
    explicit Generator(quint32 seed) : m_rng(quint64(seed) * 0x2545F4914F6CDD1DULL + 0x1234567ULL) {}

    // A whole page of at most limit bytes; exactly limit bytes when the next block would not fit,
    // which only happens at the end of the corpus.
    QByteArray page(qint64 limit);

private:
    // Identifiers and literals
    QByteArray word() { return m_rng.pick(kWords); }
    QByteArray words(int count);
    QByteArray sentence();
    QByteArray vbVar();
    QByteArray procName();
    QByteArray jsVar();
    QByteArray colour();
    QByteArray vbString();
    QByteArray vbLiteral();
    QByteArray vbExpr();
    QByteArray vbCondition();
    QByteArray jsString();
    QByteArray jsRegex();

    // HTML
    void pageHead(Writer& w);
    void paragraphs(Writer& w);
    void nestedElements(Writer& w, int depth);
    void table(Writer& w);
    void form(Writer& w);
    void comment(Writer& w);
    void style(Writer& w);
    void inlineServer(Writer& w);
    void longLine(Writer& w);
    QByteArray cssProperty();

    // Scripts
    void serverVbBlock(Writer& w);
    void vbProcedure(Writer& w, bool client);
    void vbStatements(Writer& w, int depth, int count, bool client);
    void vbIf(Writer& w, int depth, bool client);
    void vbSelect(Writer& w, int depth, bool client);
    void vbLoop(Writer& w, int depth, bool client);
    void vbSimpleStatement(Writer& w, bool client);
    void jscriptServer(Writer& w);
    void clientVbScript(Writer& w);
    void clientJavaScript(Writer& w);
    void jsFunction(Writer& w, bool server);
    void jsStatements(Writer& w, int depth, int count, bool server);

    void block(Writer& w);
    QByteArray filler(qint64 size, QByteArrayView eol);

    Rng m_rng;
};

// ---------------------------------------------------------------------------------------------
// Identifiers and literals

QByteArray Generator::words(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += word();
    }
    return text;
}

QByteArray Generator::sentence()
{
    QByteArray text = words(m_rng.between(6, 18));
    text[0] = char(text[0] - 'a' + 'A');
    text += m_rng.chance(85) ? "." : "!";
    return text;
}

QByteArray Generator::vbVar()
{
    return cat({m_rng.pick(kVbPrefixes), m_rng.pick(kNouns), m_rng.pick(kSuffixes)});
}

QByteArray Generator::procName()
{
    return cat({m_rng.pick(kVerbs), m_rng.pick(kNouns), m_rng.pick(kSuffixes)});
}

QByteArray Generator::jsVar()
{
    QByteArray name = cat({m_rng.pick(kNouns), m_rng.pick(kSuffixes)});
    name[0] = char(name[0] - 'A' + 'a');
    return name;
}

QByteArray Generator::colour()
{
    return "#" + QByteArray::number(quint32(m_rng.next() & 0xFFFFFF), 16).rightJustified(6, '0').toUpper();
}

QByteArray Generator::vbString()
{
    QByteArray text = words(m_rng.between(1, 6));
    if (m_rng.chance(25))
        text += cat({" \"\"", words(m_rng.between(1, 3)), "\"\""});
    if (m_rng.chance(15))
        text = cat({"<td class=\"\"", word(), "\"\">", text, "</td>"});
    return cat({"\"", text, "\""});
}

QByteArray Generator::vbLiteral()
{
    switch (m_rng.between(0, 5)) {
    case 0:
        return num(m_rng.between(0, 5000));
    case 1:
        return "&H" + QByteArray::number(m_rng.between(1, 0xFFFF), 16).toUpper();
    case 2:
        return cat({"#", num(m_rng.between(1, 12)), "/", num(m_rng.between(1, 28)), "/",
                    num(m_rng.between(1995, 2005)), "#"});
    case 3:
        return m_rng.chance(50) ? "True" : "False";
    default:
        return vbString();
    }
}

QByteArray Generator::vbExpr()
{
    const QByteArray field = m_rng.pick(kFields);
    switch (m_rng.between(0, 9)) {
    case 0:
        return cat({"Trim(Request.Form(\"", jsVar(), "\"))"});
    case 1:
        return cat({"CLng(Request.QueryString(\"", field.toLower(), "\"))"});
    case 2:
        return cat({"Server.HTMLEncode(rs(\"", field, "\"))"});
    case 3:
        return "FormatDateTime(Now(), vbShortDate)";
    case 4:
        return cat({"DateAdd(\"d\", ", num(m_rng.between(1, 30)), ", ", vbVar(), ")"});
    case 5:
        return cat({"Replace(", vbVar(), ", \"'\", \"''\")"});
    case 6:
        return cat({vbVar(), " & ", vbString()});
    case 7:
        return cat({vbVar(), m_rng.chance(50) ? " + " : " * ", vbLiteral()});
    case 8:
        return cat({"UCase(Left(", vbVar(), ", ", num(m_rng.between(1, 9)), "))"});
    default:
        return vbLiteral();
    }
}

QByteArray Generator::vbCondition()
{
    switch (m_rng.between(0, 6)) {
    case 0:
        return cat({vbVar(), " = ", vbLiteral()});
    case 1:
        return vbVar() + " <> \"\"";
    case 2:
        return "Not rs.EOF";
    case 3:
        return cat({vbVar(), " > ", num(m_rng.between(0, 100)), " And ", vbVar(), " < &H",
                    QByteArray::number(m_rng.between(16, 255), 16).toUpper()});
    case 4:
        return cat({"IsNull(rs(\"", m_rng.pick(kFields), "\"))"});
    case 5:
        return cat({"Len(", vbVar(), ") = 0 Or ", vbVar()});
    default:
        return cat({vbVar(), " >= ", vbLiteral()});
    }
}

QByteArray Generator::jsString()
{
    if (m_rng.chance(30))
        return cat({"'", words(m_rng.between(1, 4)), "'"});
    QByteArray text = words(m_rng.between(1, 5));
    if (m_rng.chance(20))
        text += cat({" \\\"", word(), "\\\""});
    return cat({"\"", text, "\""});
}

QByteArray Generator::jsRegex()
{
    static constexpr const char* patterns[] = {
        "/^\\s*\\d+\\s*$/",
        "/^[\\w.-]+@[\\w-]+\\.[a-z]{2,4}$/i",
        "/,/g",
        "/<[^>]+>/g",
        "/^\\d{1,2}\\/\\d{1,2}\\/\\d{4}$/",
        "/\\s+$/",
        "/[\"'&<>]/g",
        "/^#[0-9A-F]{6}$/i",
    };
    return m_rng.pick(patterns);
}

// ---------------------------------------------------------------------------------------------
// HTML

void Generator::pageHead(Writer& w)
{
    if (m_rng.chance(60))
        w.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    w.line("<html>");
    w.open("<head>");
    w.line(cat({"<title>", m_rng.pick(kNouns), " ", m_rng.pick(kVerbs), " - ", words(2), "</title>"}));
    w.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">");
    if (m_rng.chance(40))
        w.line(cat({"<link rel=\"stylesheet\" type=\"text/css\" href=\"/styles/", word(), ".css\">"}));
    if (m_rng.chance(50))
        style(w);
    w.close("</head>");
    w.line(cat({"<body bgcolor=\"", colour(), "\" text=", colour(), " topmargin=0 leftmargin=\"0\">"}));
}

void Generator::paragraphs(Writer& w)
{
    for (int i = m_rng.between(1, 4); i > 0; --i) {
        QByteArray text;
        for (int s = m_rng.between(1, 4); s > 0; --s) {
            if (!text.isEmpty())
                text += ' ';
            text += sentence();
        }
        if (m_rng.chance(30))
            text += cat({" <a href=\"", word(), ".asp?id=<%= ", vbVar(), " %>\">", words(2), "</a>"});
        if (m_rng.chance(20))
            text += cat({" &nbsp;&copy; ", word(), " &amp; ", word()});
        if (m_rng.chance(40))
            w.line(cat({"<p class=", word(), ">", text, "</p>"}));
        else
            w.line(cat({"<p>", text, "</p>"}));
    }
}

void Generator::nestedElements(Writer& w, int depth)
{
    static constexpr const char* containers[] = {"div", "span", "font", "center", "blockquote"};
    const QByteArray tag = m_rng.pick(containers);
    QByteArray attributes;
    if (tag == "font")
        attributes = cat({" face=\"Arial\" size=2 color=\"", colour(), "\""});
    else if (m_rng.chance(60))
        attributes = cat({" class=\"", word(), "\" id=", jsVar()});
    if (m_rng.chance(30))
        attributes += cat({" style=\"color: ", colour(), "; font-weight: bold\""});
    w.open(cat({"<", tag, attributes, ">"}));
    for (int i = m_rng.between(1, 3); i > 0; --i) {
        const int r = m_rng.between(0, 9);
        if (depth < 3 && r < 3) {
            nestedElements(w, depth + 1);
        } else if (r < 5) {
            w.open("<ul>");
            for (int li = m_rng.between(2, 5); li > 0; --li)
                w.line(cat({"<li><a href=\"", word(), ".asp\">", words(m_rng.between(1, 4)), "</a></li>"}));
            w.close("</ul>");
        } else if (r < 7) {
            w.line(cat({"<img src=\"images/", word(), ".gif\" width=", num(m_rng.between(8, 400)),
                        " height=", num(m_rng.between(8, 300)), " border=0 alt=\"", words(2), "\">"}));
        } else {
            w.line(cat({"<b>", words(m_rng.between(1, 3)), "</b> <i>", sentence(), "</i><br>"}));
        }
    }
    w.close(cat({"</", tag, ">"}));
}

void Generator::table(Writer& w)
{
    const int columns = m_rng.between(2, 6);
    w.open(cat({"<table width=\"", num(m_rng.between(50, 100)), "%\" border=", num(m_rng.between(0, 2)),
                " cellpadding=\"2\" cellspacing=0 bgcolor=", colour(), ">"}));
    w.open(cat({"<tr bgcolor=\"", colour(), "\">"}));
    for (int c = 0; c < columns; ++c)
        w.line(cat({"<th align=", m_rng.pick(kAligns), ">", m_rng.pick(kFields), "</th>"}));
    w.close("</tr>");
    w.line("<% Do While Not rs.EOF %>");
    w.open("<tr>");
    for (int c = 0; c < columns; ++c) {
        const QByteArray field = m_rng.pick(kFields);
        if (m_rng.chance(60))
            w.line(cat({"<td><%= Server.HTMLEncode(rs(\"", field, "\")) %></td>"}));
        else
            w.line(
                cat({"<td align=\"right\" nowrap><%= FormatNumber(rs(\"", field, "\"), 2) %>&nbsp;</td>"}));
    }
    w.close("</tr>");
    w.line("<%");
    w.indent();
    w.line("rs.MoveNext");
    w.outdent();
    w.line("Loop");
    w.line("%>");
    w.close("</table>");
}

void Generator::form(Writer& w)
{
    w.open(cat({"<form name=\"frm", m_rng.pick(kNouns), "\" method=\"post\" action=\"", word(),
                ".asp\" onsubmit=\"return check(this);\">"}));
    for (int i = m_rng.between(2, 5); i > 0; --i) {
        w.line(cat({m_rng.pick(kFields), ": <input type=text name=\"", jsVar(),
                    "\" size=", num(m_rng.between(10, 40)), " maxlength=\"", num(m_rng.between(10, 255)),
                    "\" value=\"<%= Server.HTMLEncode(", vbVar(), ") %>\"><br>"}));
    }
    w.open(cat({"<select name=\"", jsVar(), "\">"}));
    w.line(cat({"<% For i = 1 To ", num(m_rng.between(3, 31)), " %>"}));
    w.line(cat({"<option value=\"<%= i %>\"<% If i = ", vbVar(),
                " Then Response.Write \" selected\" %>><%= i %></option>"}));
    w.line("<% Next %>");
    w.close("</select>");
    w.line(cat({"<input type=\"submit\" value=\"", m_rng.pick(kVerbs), "\" class=button>"}));
    w.close("</form>");
}

void Generator::comment(Writer& w)
{
    switch (m_rng.between(0, 3)) {
    case 0:
        w.line(cat({"<!-- #include file=\"", word(), "_", word(), ".inc\" -->"}));
        break;
    case 1:
        w.line(cat({"<!-- ", sentence(), " -->"}));
        break;
    case 2:
        w.line("<!--");
        for (int i = m_rng.between(1, 4); i > 0; --i)
            w.line("  " + sentence());
        w.line("-->");
        break;
    default:
        w.line(cat({"<!-- ===== ", QByteArray(m_rng.pick(kNouns)).toUpper(), " ===== -->"}));
        break;
    }
}

QByteArray Generator::cssProperty()
{
    switch (m_rng.between(0, 6)) {
    case 0:
        return cat({"color: ", colour(), "; "});
    case 1:
        return cat({"background-color: ", colour(), "; "});
    case 2:
        return cat({"font-family: ", m_rng.pick(kFonts), "; "});
    case 3:
        return cat({"font-size: ", num(m_rng.between(7, 14)), m_rng.pick(kCssUnits), "; "});
    case 4:
        return cat({"margin: ", num(m_rng.between(0, 10)), "px ", num(m_rng.between(0, 10)), "px; "});
    case 5:
        return cat({"border: 1px solid ", colour(), "; "});
    default:
        return cat({"text-align: ", m_rng.pick(kAligns), "; "});
    }
}

void Generator::style(Writer& w)
{
    static constexpr const char* selectors[] = {"body",    "td",      "th",           "a",
                                                "a:hover", "h1, h2",  "p.note",       "table.grid td",
                                                ".nav",    "#footer", "input.button", "li"};
    w.open("<style type=\"text/css\">");
    w.line("<!--");
    for (int i = m_rng.between(2, 7); i > 0; --i) {
        if (m_rng.chance(20))
            w.line(cat({"/* ", words(m_rng.between(2, 6)), " */"}));
        QByteArray rule = m_rng.pick(selectors);
        rule += " { ";
        for (int p = m_rng.between(1, 4); p > 0; --p)
            rule += cssProperty();
        w.line(rule + '}');
    }
    w.line("-->");
    w.close("</style>");
}

void Generator::inlineServer(Writer& w)
{
    w.line(cat({"<% If bln", m_rng.pick(kNouns), " Then %>"}));
    w.line(cat({"  <p class=\"ok\">", sentence(), " <b><%= ", vbVar(), " %></b></p>"}));
    if (m_rng.chance(50)) {
        w.line(cat({"<% ElseIf ", vbCondition(), " Then %>"}));
        w.line(cat({"  <p>", sentence(), "</p>"}));
    }
    w.line("<% Else %>");
    w.line(cat({"  <p class=\"error\"><font color=\"", colour(), "\">", sentence(), "</font></p>"}));
    w.line("<% End If %>");
}

void Generator::longLine(Writer& w)
{
    const int target = m_rng.between(500, 3000);
    QByteArray text;
    switch (m_rng.between(0, 3)) {
    case 0:
        text = "<tr>";
        while (text.size() < target)
            text += cat({"<td bgcolor=", colour(), " align=center>", words(m_rng.between(1, 3)), "</td>"});
        text += "</tr>";
        break;
    case 1:
        text = "<% Response.Write \"<table>\"";
        while (text.size() < target)
            text += cat({" & \"<tr><td>", words(2), "</td><td>\" & ", vbVar(), " & \"</td></tr>\""});
        text += " & \"</table>\" %>";
        break;
    case 2:
        text = cat({"<script type=\"text/javascript\">var ", jsVar(), " = ["});
        while (text.size() < target)
            text += jsString() + ", ";
        text += "\"\"];</script>";
        break;
    default:
        text = "<p>";
        while (text.size() < target)
            text += sentence() + ' ';
        text += "</p>";
        break;
    }
    w.line(text);
}

// ---------------------------------------------------------------------------------------------
// VBScript

void Generator::serverVbBlock(Writer& w)
{
    w.line("<%");
    for (int i = m_rng.between(1, 3); i > 0; --i) {
        if (m_rng.chance(55))
            vbProcedure(w, false);
        else
            vbStatements(w, 0, m_rng.between(2, 6), false);
    }
    w.line("%>");
}

void Generator::vbProcedure(Writer& w, bool client)
{
    static constexpr const char* visibility[] = {"", "", "Private ", "Public "};
    static constexpr const char* passing[] = {"", "ByVal ", "ByRef "};
    const bool function = !client && m_rng.chance(50);
    const QByteArray kind = function ? "Function" : "Sub";
    const QByteArray name = client ? cat({"btn", m_rng.pick(kVerbs), "_OnClick"}) : procName();
    QByteArray parameters;
    for (int i = client ? 0 : m_rng.between(0, 3); i > 0; --i) {
        if (!parameters.isEmpty())
            parameters += ", ";
        parameters += m_rng.pick(passing);
        parameters += vbVar();
    }
    if (m_rng.chance(40))
        w.line("' " + sentence());
    const QByteArray scope = client ? "" : m_rng.pick(visibility);
    w.open(cat({scope, kind, " ", name, "(", parameters, ")"}));
    w.line(cat({"Dim ", vbVar(), ", ", vbVar()}));
    vbStatements(w, 1, m_rng.between(2, 6), client);
    if (function)
        w.line(cat({name, " = ", vbExpr()}));
    w.close("End " + kind);
    w.line("");
}

void Generator::vbIf(Writer& w, int depth, bool client)
{
    w.open(cat({"If ", vbCondition(), " Then"}));
    vbStatements(w, depth + 1, m_rng.between(1, 3), client);
    if (m_rng.chance(40)) {
        w.close(cat({"ElseIf ", vbCondition(), " Then"}));
        w.indent();
        vbStatements(w, depth + 1, m_rng.between(1, 2), client);
    }
    if (m_rng.chance(50)) {
        w.close("Else");
        w.indent();
        vbStatements(w, depth + 1, m_rng.between(1, 2), client);
    }
    w.close("End If");
}

void Generator::vbSelect(Writer& w, int depth, bool client)
{
    w.open("Select Case " + vbVar());
    for (int c = m_rng.between(1, 4); c > 0; --c) {
        w.open("Case " + (m_rng.chance(50) ? cat({num(c), ", ", num(c + 10)}) : vbString()));
        vbStatements(w, depth + 1, m_rng.between(1, 2), client);
        w.outdent();
    }
    w.open("Case Else");
    vbSimpleStatement(w, client);
    w.outdent();
    w.close("End Select");
}

void Generator::vbLoop(Writer& w, int depth, bool client)
{
    const int form = m_rng.between(0, 3);
    if (form == 0) {
        w.open(cat({"For Each ", jsVar(), " In ", vbVar()}));
    } else if (form == 1) {
        const QByteArray counter =
            m_rng.chance(50) ? QByteArray("i") : "int" + QByteArray(m_rng.pick(kNouns));
        const QByteArray last = m_rng.chance(50) ? cat({"UBound(", vbVar(), ")"}) : num(m_rng.between(5, 50));
        w.open(cat({"For ", counter, " = ", num(m_rng.between(0, 1)), " To ", last,
                    m_rng.chance(20) ? " Step 2" : ""}));
    }
    if (form <= 1) {
        vbStatements(w, depth + 1, m_rng.between(1, 3), client);
        w.close("Next");
        return;
    }
    const bool whileForm = form == 2;
    w.open(whileForm ? "Do While " + vbCondition() : QByteArray("Do"));
    vbStatements(w, depth + 1, m_rng.between(1, 3), client);
    if (!client && m_rng.chance(50))
        w.line("rs.MoveNext");
    w.close(whileForm ? QByteArray("Loop") : "Loop Until " + vbCondition());
}

void Generator::vbStatements(Writer& w, int depth, int count, bool client)
{
    for (int i = 0; i < count; ++i) {
        const int r = depth < 4 ? m_rng.between(0, 99) : 99;
        if (r < 14) {
            vbIf(w, depth, client);
        } else if (r < 22) {
            vbSelect(w, depth, client);
        } else if (r < 36) {
            vbLoop(w, depth, client);
        } else if (r < 41) {
            w.open("With " + vbVar());
            for (int p = m_rng.between(1, 4); p > 0; --p)
                w.line(cat({".", m_rng.pick(kFields), " = ", vbExpr()}));
            if (m_rng.chance(50))
                w.line(cat({".", m_rng.pick(kVerbs)}));
            w.close("End With");
        } else {
            vbSimpleStatement(w, client);
        }
    }
}

void Generator::vbSimpleStatement(Writer& w, bool client)
{
    switch (m_rng.between(0, 11)) {
    case 0:
    case 1:
        w.line(cat({vbVar(), " = ", vbExpr()}));
        break;
    case 2:
        if (client)
            w.line(cat({"MsgBox ", vbString(), ", vbExclamation, \"", m_rng.pick(kNouns), "\""}));
        else
            w.line(cat({"Response.Write ", vbString(), " & ", vbVar(), " & \"<br>\""}));
        break;
    case 3:
        w.line(m_rng.chance(60) ? "' " + sentence() : "Rem " + sentence());
        break;
    case 4:
        w.line(cat({"Call ", procName(), "(", vbVar(), ", ", vbLiteral(), ")"}));
        break;
    case 5:
        if (client) {
            w.line(cat({"document.", jsVar(), ".value = ", vbString()}));
        } else {
            w.line("Set rs = Server.CreateObject(\"ADODB.Recordset\")");
            w.line(cat({"rs.Open \"SELECT * FROM ", m_rng.pick(kNouns), "s WHERE ", m_rng.pick(kFields),
                        " = '\" & ", vbVar(), " & \"'\", objConn, 3, 1"}));
        }
        break;
    case 6:
        w.line("On Error Resume Next");
        w.open("If Err.Number <> 0 Then");
        w.line(client ? "MsgBox Err.Description" : "Response.Write \"Error: \" & Err.Description");
        w.line("Err.Clear");
        w.close("End If");
        break;
    case 7:
        w.line(cat({"If ", vbCondition(), " Then ", vbVar(), " = ", vbLiteral(), " Else ", vbVar(), " = ",
                    vbLiteral()}));
        break;
    case 8:
        w.line(cat({"Dim ", vbVar(), ", ", vbVar(), ", ", vbVar()}));
        break;
    case 9:
        w.line(cat({"ReDim Preserve ", vbVar(), "(", num(m_rng.between(1, 99)), ")"}));
        break;
    case 10:
        w.line(cat({"str", m_rng.pick(kNouns), "Sql = \"SELECT ", m_rng.pick(kFields), ", ",
                    m_rng.pick(kFields), " \" & _"}));
        w.line(cat({"\t\"FROM ", m_rng.pick(kNouns), "s \" & _"}));
        w.line(cat({"\t\"WHERE ", m_rng.pick(kFields), " = \" & ", vbVar()}));
        break;
    default:
        w.line(cat({vbVar(), " = ", vbLiteral(), "\t' ", words(m_rng.between(1, 4))}));
        break;
    }
}

void Generator::clientVbScript(Writer& w)
{
    w.line("<script language=\"VBScript\">");
    w.line("<!--");
    for (int i = m_rng.between(1, 2); i > 0; --i)
        vbProcedure(w, true);
    w.line("-->");
    w.line("</script>");
}

// ---------------------------------------------------------------------------------------------
// JScript and JavaScript

void Generator::jsFunction(Writer& w, bool server)
{
    QByteArray parameters;
    for (int i = m_rng.between(0, 3); i > 0; --i) {
        if (!parameters.isEmpty())
            parameters += ", ";
        parameters += jsVar();
    }
    if (m_rng.chance(50))
        w.line("// " + sentence());
    else if (m_rng.chance(30))
        w.line(cat({"/* ", sentence(), " */"}));
    QByteArray name = procName();
    name[0] = char(name[0] - 'A' + 'a');
    w.open(cat({"function ", name, "(", parameters, ") {"}));
    jsStatements(w, 1, m_rng.between(2, 6), server);
    w.line(cat({"return ", jsVar(), ";"}));
    w.close("}");
}

void Generator::jsStatements(Writer& w, int depth, int count, bool server)
{
    for (int i = 0; i < count; ++i) {
        const int r = depth < 4 ? m_rng.between(0, 99) : 99;
        const QByteArray var = jsVar();
        if (r < 15) {
            w.open(cat({"if (", jsRegex(), ".test(", var, ")) {"}));
            jsStatements(w, depth + 1, m_rng.between(1, 2), server);
            if (m_rng.chance(50)) {
                w.close("} else {");
                w.indent();
                jsStatements(w, depth + 1, 1, server);
            }
            w.close("}");
        } else if (r < 25) {
            w.open(cat({"for (var i = 0; i < ", var, ".length; i++) {"}));
            jsStatements(w, depth + 1, m_rng.between(1, 2), server);
            w.close("}");
        } else if (r < 32) {
            w.open(cat({"while (", var, " != null && ", var, ".length > ", num(m_rng.between(0, 9)), ") {"}));
            w.line(cat({var, " = ", var, ".substring(1);"}));
            w.close("}");
        } else if (r < 38) {
            w.open("try {");
            jsStatements(w, depth + 1, 1, server);
            w.close("} catch (e) {");
            w.indent();
            w.line(server ? "Response.Write(\"Error: \" + e.description);"
                          : "alert(\"Error: \" + e.message);");
            w.close("}");
        } else if (r < 52) {
            w.line(cat({"var ", var, " = ", jsString(), " + ", jsVar(), ";"}));
        } else if (r < 62) {
            w.line(cat({var, " = ", var, ".replace(", jsRegex(), ", ", jsString(), ");"}));
        } else if (r < 72) {
            w.line("// " + words(m_rng.between(2, 8)));
        } else if (r < 78) {
            w.line(cat({"/* ", sentence(), " */"}));
        } else if (r < 88) {
            if (server)
                w.line(cat({"Response.Write(\"<td>\" + Server.HTMLEncode(", var, ") + \"</td>\");"}));
            else
                w.line(cat({"document.getElementById(\"", var, "\").innerHTML = ", jsString(), ";"}));
        } else {
            w.line(cat({var, " += ", num(m_rng.between(1, 100)), ";\t// ", words(2)}));
        }
    }
}

void Generator::jscriptServer(Writer& w)
{
    w.line("<script language=\"JScript\" runat=\"server\">");
    for (int i = m_rng.between(1, 3); i > 0; --i)
        jsFunction(w, true);
    w.line("</script>");
}

void Generator::clientJavaScript(Writer& w)
{
    w.line(m_rng.chance(70) ? "<script type=\"text/javascript\">" : "<script language=\"JavaScript\">");
    w.line("<!--");
    for (int i = m_rng.between(1, 3); i > 0; --i)
        jsFunction(w, false);
    w.line("//-->");
    w.line("</script>");
}

// ---------------------------------------------------------------------------------------------
// Pages

void Generator::block(Writer& w)
{
    const int r = m_rng.between(0, 99);
    if (r < 16)
        paragraphs(w);
    else if (r < 24)
        nestedElements(w, 0);
    else if (r < 34)
        table(w);
    else if (r < 39)
        form(w);
    else if (r < 44)
        comment(w);
    else if (r < 64)
        serverVbBlock(w);
    else if (r < 72)
        inlineServer(w);
    else if (r < 77)
        jscriptServer(w);
    else if (r < 83)
        clientVbScript(w);
    else if (r < 91)
        clientJavaScript(w);
    else if (r < 95)
        style(w);
    else
        longLine(w);
}

// Exactly size bytes of harmless page text: an HTML comment when there is room, else plain words.
QByteArray Generator::filler(qint64 size, QByteArrayView eol)
{
    const QByteArray open = "<!-- ";
    const QByteArray close = " -->" + eol.toByteArray();
    const bool asComment = size >= open.size() + close.size() + 1;
    const qint64 textSize = asComment ? size - open.size() - close.size() : size;
    QByteArray text;
    while (text.size() < textSize) {
        text += word();
        text += ' ';
    }
    text.truncate(textSize);
    return asComment ? cat({open, text, close}) : text;
}

QByteArray Generator::page(qint64 limit)
{
    const QByteArray eol = m_rng.chance(80) ? "\r\n" : "\n";
    static constexpr const char* indents[] = {"\t", "\t", "  ", "    "};
    const QByteArray unit = m_rng.pick(indents);
    const QByteArray tail = cat({"</body>", eol, "</html>", eol});

    QByteArray page;
    Writer head(page, eol, unit);
    pageHead(head);
    if (page.size() + tail.size() > limit)
        return filler(limit, eol);

    QByteArray chunk;
    for (int blocks = m_rng.between(4, 24); blocks > 0; --blocks) {
        chunk.clear();
        Writer w(chunk, eol, unit);
        block(w);
        if (page.size() + chunk.size() + tail.size() > limit) {
            page += filler(limit - page.size() - tail.size(), eol);
            break;
        }
        page += chunk;
    }
    return page + tail;
}

} // namespace

QByteArray generateAspCorpus(qint64 targetBytes, quint32 seed)
{
    QByteArray corpus;
    if (targetBytes <= 0)
        return corpus;
    corpus.reserve(targetBytes);
    Generator generator(seed);
    while (corpus.size() < targetBytes)
        corpus += generator.page(targetBytes - corpus.size());
    return corpus;
}

} // namespace folionix::bench
