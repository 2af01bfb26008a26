// Reference tests: every input file under tests/reference/<area>/ is printed and its listing dumped
// as text beside it (<input>.expected). FOLIONIX_UPDATE_REFERENCE=1 rewrites the expectations, for a
// reviewer to read in the diff (scripts/update-reference-data).
#include "EngineFixture.h"

#include <SettingsFields.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cctype>
#include <map>

#ifndef FOLIONIX_REFERENCE_DIR
#error "FOLIONIX_REFERENCE_DIR must name tests/reference"
#endif

namespace folionix::test {
namespace {

// Tag profiles of the reference runs, fixed here so that the shipped profiles can change freely.
void useReferenceProfiles()
{
    struct Row
    {
        const char* name;
        int before, insideStart, insideEnd, after;
        bool indent;
    };
    const Row rows[] = {
        {"html", 1, 1, 1, 1, false},  {"body", 1, 1, 1, 1, true},  {"table", 1, 1, 1, 1, true},
        {"tr", 1, 1, 1, 1, true},     {"td", 1, 1, 0, 0, true},    {"p", 1, 0, 0, 1, false},
        {"br", 0, 0, 0, 1, false},    {"b", 0, 0, 0, 0, false},    {"img", 0, 0, 0, 0, false},
        {"input", 0, 0, 0, 0, false}, {"font", 0, 0, 0, 0, false},
    };
    TagProfiles().clear();
    for (const Row& r : rows) {
        clsHTMLElementProfile p;
        p.ElementName = QString::fromLatin1(r.name);
        p.Before = r.before;
        p.InsideStart = r.insideStart;
        p.InsideEnd = r.insideEnd;
        p.After = r.after;
        p.Indent = r.indent;
        TagProfiles()[p.ElementName] = p;
    }
}

// Keywords of the reference runs, fixed here for the same reason.
void useReferenceKeywords()
{
    VBScriptKeywords().clear();
    for (const char* k :
         {"Dim",    "If",      "Then",           "Else", "ElseIf", "End", "Function", "Sub",   "Select",
          "Case",   "For",     "Next",           "Each", "In",     "Do",  "Loop",     "While", "Wend",
          "With",   "Set",     "Nothing",        "True", "False",  "And", "Or",       "Not",   "Call",
          "Public", "Private", "Response.Write", "Value"})
        VBScriptKeywords().add(QString::fromLatin1(k));
}

QString styleCode(const QString& style)
{
    static const std::map<QString, QString> codes = {
        {tokenclass::Elements, QStringLiteral("E")},    {tokenclass::Attributes, QStringLiteral("A")},
        {tokenclass::Text, QStringLiteral("T")},        {tokenclass::Strings, QStringLiteral("S")},
        {tokenclass::Comments, QStringLiteral("C")},    {tokenclass::Keywords, QStringLiteral("K")},
        {tokenclass::Identifiers, QStringLiteral("I")}, {tokenclass::Constants, QStringLiteral("N")},
        {tokenclass::LineNumbers, QStringLiteral("#")}, {tokenclass::ProcedureHeaders, QStringLiteral("P")},
    };
    const auto it = codes.find(style);
    return it == codes.end() ? QStringLiteral("?") : it->second;
}

// One line of text per output line: each run as [code:text], code naming its style. With furniture,
// each page also lists its header and footer text, border lines, pictures and text boxes.
QString dumpListing(const Document& doc, bool furniture)
{
    QString out;
    for (size_t p = 0; p < doc.pages().size(); ++p) {
        if (p > 0)
            out += QStringLiteral("--- page %1\n").arg(p + 1);
        bool first = true;
        for (const TextRun& run : doc.pages()[p].runs) {
            if (run.role != ItemRole::Body)
                continue;
            if (run.lineStart && !first)
                out += u'\n';
            first = false;
            const QString style = doc.styleNames()[run.style];
            const QString text = doc.textOf(run).toString();
            if (!style.isEmpty())
                out += u'[' + styleCode(style) + u':' + text + u']';
            else if (text == u"V" || text == u"J")
                out += QStringLiteral("[ind:") + text + u']'; // the script indicator
            else // a font set directly (procedure headers, continuation marks): name it
                out += QStringLiteral("[~") + doc.fonts()[run.font].family +
                       (doc.fonts()[run.font].bold ? QStringLiteral("+b") : QString()) + u':' + text + u']';
        }
        out += u'\n';
        // Lines drawn on the page (block connections), in drawing order.
        for (const Shape& shape : doc.pages()[p].shapes)
            if (shape.kind == Shape::Kind::Line && shape.role == ItemRole::Body)
                out += QStringLiteral("line %1,%2 %3,%4\n")
                           .arg(qRound(shape.x1))
                           .arg(qRound(shape.y1))
                           .arg(qRound(shape.x2))
                           .arg(qRound(shape.y2));
        if (!furniture)
            continue;
        const Page& page = doc.pages()[p];
        for (const TextRun& run : page.runs)
            if (run.role == ItemRole::Header || run.role == ItemRole::Footer)
                out +=
                    (run.role == ItemRole::Header ? QStringLiteral("header ") : QStringLiteral("footer ")) +
                    QString::number(qRound(run.x)) + u' ' + doc.textOf(run).toString() + u'\n';
        for (const Shape& shape : page.shapes)
            if (shape.role == ItemRole::Border)
                out += QStringLiteral("border %1,%2 %3,%4\n")
                           .arg(qRound(shape.x1))
                           .arg(qRound(shape.y1))
                           .arg(qRound(shape.x2))
                           .arg(qRound(shape.y2));
        for (const PlacedPicture& picture : page.pictures)
            out += QStringLiteral("picture %1,%2 %3x%4\n")
                       .arg(qRound(picture.x))
                       .arg(qRound(picture.y))
                       .arg(qRound(picture.width))
                       .arg(qRound(picture.height));
        for (const TextBox& box : page.textBoxes)
            out += QStringLiteral("textbox %1,%2 ").arg(qRound(box.left)).arg(qRound(box.top)) +
                   doc.textOf(box).toString() + u'\n';
    }
    return out;
}

// Settings of one reference run: <input>.settings holds NAME=VALUE lines ("${DIR}" is the input's
// folder); the line "dump=furniture" adds the page furniture to the listing. Returns that choice.
bool applyReferenceSettings(const QString& input)
{
    bool furniture = false;
    const QByteArray text = testsupport::readFile(input + QStringLiteral(".settings"));
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString name = QString::fromUtf8(line.left(eq)).trimmed();
        QString value = QString::fromUtf8(line.mid(eq + 1)).trimmed();
        if (name == u"dump") {
            furniture = value == u"furniture";
            continue;
        }
        value.replace(QStringLiteral("${DIR}"), QFileInfo(input).absolutePath());
        QString error;
        EXPECT_TRUE(SetSettingByName(Options(), name, value, &error)) << error.toStdString();
    }
    return furniture;
}

class ReferenceTest : public EngineTest, public ::testing::WithParamInterface<std::string>
{};

TEST_P(ReferenceTest, ListingMatchesExpectation)
{
    const QFileInfo input(QString::fromStdString(GetParam()));
    useReferenceProfiles();
    useReferenceKeywords();
    const bool furniture = applyReferenceSettings(input.absoluteFilePath());
    std::vector<FileListItem> items = {{true, input.fileName(), input.absolutePath()}};
    CodeProcessor().ProcessFiles(items, true);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
    const QString actual = dumpListing(doc(), furniture);
    const QString expectedPath = input.absoluteFilePath() + QStringLiteral(".expected");
    if (qEnvironmentVariableIntValue("FOLIONIX_UPDATE_REFERENCE") == 1) {
        QFile f(expectedPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(actual.toUtf8());
        return;
    }
    const QString expected = QString::fromUtf8(testsupport::readFile(expectedPath));
    ASSERT_FALSE(expected.isEmpty()) << "no expectation " << expectedPath.toStdString()
                                     << " (run scripts/update-reference-data)";
    if (actual != expected) {
        // Show the difference as a unified diff.
        QTemporaryDir tmp;
        const QString actualPath = tmp.filePath(QStringLiteral("actual"));
        QFile f(actualPath);
        if (f.open(QIODevice::WriteOnly))
            f.write(actual.toUtf8());
        f.close();
        QProcess diff;
        diff.start(QStringLiteral("diff"), {QStringLiteral("-u"), expectedPath, actualPath});
        diff.waitForFinished();
        ADD_FAILURE() << diff.readAllStandardOutput().toStdString();
    }
    TagProfiles().clear();
    VBScriptKeywords().clear();
}

std::vector<std::string> referenceInputs()
{
    std::vector<std::string> files;
    QDir root(QStringLiteral(FOLIONIX_REFERENCE_DIR));
    for (const QString& area : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QDir dir(root.filePath(area));
        for (const QString& name :
             dir.entryList({QStringLiteral("*.asp"), QStringLiteral("*.css")}, QDir::Files, QDir::Name))
            files.push_back(dir.filePath(name).toStdString());
    }
    return files;
}

std::string caseName(const ::testing::TestParamInfo<std::string>& info)
{
    const QFileInfo f(QString::fromStdString(info.param));
    std::string name = (f.dir().dirName() + u'_' + f.completeBaseName()).toStdString();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, ReferenceTest, ::testing::ValuesIn(referenceInputs()), caseName);

} // namespace
} // namespace folionix::test
