// The VBScript re-indenter. Whole-file behaviour lives in cases/indent/<case>/: "origin" is fed line by
// line after Reset, "expected" holds the lines that must come back, and an optional "settings" file
// sets TabSize and CommentsIndentStyle (defaults here: 2 and 1). The tests below pin single calls.
#include "IndentVBScript.h"

#include <ErrorTrace.h>
#include <Options.h>

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#ifndef FOLIONIX_LAYOUT_CASES
#error "FOLIONIX_LAYOUT_CASES must name tests/unit/layout/cases"
#endif

using namespace folionix;

namespace {

// Fixes the settings the indenter reads, and catches every error report it makes.
class IndentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = Options().VBScriptOptions;
        setSettings(2, 1);
        mendwick::setReportSink([this](const QString&, const QString& report) { reports << report; });
        indenter.Initialise();
        indenter.Reset();
    }
    void TearDown() override
    {
        EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
        mendwick::resetReportSink();
        Options().VBScriptOptions = saved;
    }

    static void setSettings(int32_t tabSize, int32_t commentsIndentStyle)
    {
        Options().VBScriptOptions.TabSize = tabSize;
        Options().VBScriptOptions.CommentsIndentStyle = commentsIndentStyle;
    }

    QStringList indent(const QStringList& lines)
    {
        QStringList out;
        for (const QString& line : lines)
            out << indenter.IndentLine(line);
        return out;
    }

    clsIndentVBScript indenter;
    clsLanguageOptions saved;
    QStringList reports;
};

// ---- Case folders ---------------------------------------------------------------------------------

struct IndentCase
{
    std::string name;
    QString folder;
};

void PrintTo(const IndentCase& indentCase, std::ostream* os)
{
    *os << indentCase.name;
}

std::vector<IndentCase> indentCases()
{
    std::vector<IndentCase> cases;
    const QDir root(QStringLiteral(FOLIONIX_LAYOUT_CASES "/indent"));
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        std::string testName = name.toStdString();
        for (char& c : testName)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        cases.push_back({testName, root.filePath(name)});
    }
    return cases;
}

// The lines of a case file; a final line end does not start another line.
QStringList readLines(const QString& path, bool* found)
{
    QFile file(path);
    *found = file.open(QIODevice::ReadOnly);
    if (!*found)
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

class IndentCaseTest : public IndentTest, public ::testing::WithParamInterface<IndentCase>
{};

TEST_P(IndentCaseTest, GivesTheExpectedLines)
{
    const QDir folder(GetParam().folder);
    bool found = false;
    const QStringList origin = readLines(folder.filePath(QStringLiteral("origin")), &found);
    ASSERT_TRUE(found) << "no origin in " << folder.path().toStdString();
    const QStringList expected = readLines(folder.filePath(QStringLiteral("expected")), &found);
    ASSERT_TRUE(found) << "no expected in " << folder.path().toStdString();
    ASSERT_EQ(origin.size(), expected.size()) << "origin and expected differ in length";

    const QStringList settings = readLines(folder.filePath(QStringLiteral("settings")), &found);
    for (const QString& setting : settings) {
        const QString key = setting.section(u'=', 0, 0).trimmed();
        bool isNumber = false;
        const int value = setting.section(u'=', 1).trimmed().toInt(&isNumber);
        ASSERT_TRUE(isNumber) << "settings line " << setting.toStdString();
        if (key == u"TabSize")
            Options().VBScriptOptions.TabSize = value;
        else if (key == u"CommentsIndentStyle")
            Options().VBScriptOptions.CommentsIndentStyle = value;
        else
            FAIL() << "unknown setting " << key.toStdString();
    }

    indenter.Reset();
    const QStringList actual = indent(origin);
    for (qsizetype i = 0; i < origin.size(); ++i)
        EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString())
            << "line " << i + 1 << ": " << origin[i].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Folders, IndentCaseTest, ::testing::ValuesIn(indentCases()),
                         [](const ::testing::TestParamInfo<IndentCase>& info) { return info.param.name; });

TEST(IndentCases, TheFolderIsFound)
{
    const std::vector<IndentCase> cases = indentCases();
    ASSERT_FALSE(cases.empty()) << FOLIONIX_LAYOUT_CASES;
    EXPECT_TRUE(std::any_of(cases.begin(), cases.end(),
                            [](const IndentCase& c) { return c.name == "worked_example"; }));
}

// ---- CheckLine ------------------------------------------------------------------------------------

struct Classification
{
    const char16_t* statement;
    int indentNext;
    int outdentThis;
};

// From a fresh state: keyword matching needs a blank or colon after the keyword, ignores case and
// leading or trailing blanks, and looks only at the start of the statement.
TEST_F(IndentTest, CheckLineClassifiesOneStatement)
{
    const Classification rows[] = {
        {u"If a Then", 1, 0},
        {u"if a then", 1, 0},
        {u"   If a Then   ", 1, 0},
        {u"If a Then b = 1", 0, 0},
        {u"If a Then b = 1 Else b = 2", 0, 0},
        {u"If s = \" Then x\" Then", 1, 0},
        {u"If s = \"'\" Then", 1, 0},
        {u"If a Then ' why", 1, 0},
        {u"If a Then b = \"unclosed", 0, 0},
        {u"If(a) Then", 0, 0},
        {u"ElseIf a Then", 1, 1},
        {u"Else", 1, 1},
        {u"Else: x = 1", 1, 1},
        {u"End If", 0, 1},
        {u"EndIf", 0, 0},
        {u"#If DEBUG Then", 1, 0},
        {u"#ElseIf TRACE Then", 1, 1},
        {u"#Else", 1, 1},
        {u"#End If", 0, 1},
        {u"Select Case x", 1, 0},
        {u"Case 1", 1, 1},
        {u"Case Else", 1, 1},
        {u"End Select", 0, 1},
        {u"With obj", 1, 0},
        {u"End With", 0, 1},
        {u"For i = 1 To 3", 1, 0},
        {u"For Each x In list", 1, 0},
        {u"Next", 0, 1},
        {u"Next:", 0, 1},
        {u"Do", 1, 0},
        {u"Do While a", 1, 0},
        {u"Loop Until b", 0, 1},
        {u"While a", 1, 0},
        {u"Wend", 0, 1},
        {u"Sub Main()", 1, 0},
        {u"Function F(x)", 1, 0},
        {u"Private Static Function F(x)", 1, 0},
        {u"Friend Property Set P(v)", 1, 0},
        {u"public property get P", 1, 0},
        {u"End Sub", 0, 1},
        {u"End Function", 0, 1},
        {u"End Property", 0, 1},
        {u"Forward = 1", 0, 0},
        {u"Dog = 1", 0, 0},
        {u"Submit()", 0, 0},
        {u"Exit Sub", 0, 0},
        {u"Exit For", 0, 0},
        {u"Private x", 0, 0},
        {u"", 0, 0},
    };
    for (const Classification& row : rows) {
        clsIndentVBScript fresh;
        fresh.Initialise();
        int16_t indentNext = -9;
        int16_t outdentThis = -9;
        fresh.CheckLine(QStringView(row.statement), indentNext, outdentThis);
        EXPECT_EQ(indentNext, row.indentNext) << QString::fromUtf16(row.statement).toStdString();
        EXPECT_EQ(outdentThis, row.outdentThis) << QString::fromUtf16(row.statement).toStdString();
    }
}

// Statements in order on one instance: the Type/Enum and continued-If flags carry from one to the next.
TEST_F(IndentTest, CheckLineFollowsBlocksAcrossStatements)
{
    const struct Sequence
    {
        const char* what;
        std::vector<Classification> rows;
    } sequences[] = {
        {"Type block",
         {{u"Private Type Point", 1, 0},
          {u"End If", 0, 0},
          {u"Sub Inner", 0, 0},
          {u"Case 1", 0, 0},
          {u"End Type", 0, 1},
          {u"If a Then", 1, 0}}},
        {"Enum block",
         {{u"Public Enum Colour", 1, 0}, {u"Next", 0, 0}, {u"End Enum", 0, 1}, {u"Next", 0, 1}}},
        {"continued If", {{u"If a And _", 0, 0}, {u"b And _", 0, 0}, {u"c Then", 1, 0}, {u"x = 1", 0, 0}}},
        {"continued single-line If", {{u"If a And _", 0, 0}, {u"b Then c = 1", 0, 0}, {u"d = 2", 0, 0}}},
        {"continued If with a quoted Then", {{u"#If a = \" Then x\" Or _", 0, 0}, {u"b Then", 1, 0}}},
    };
    for (const Sequence& sequence : sequences) {
        clsIndentVBScript fresh;
        fresh.Initialise();
        for (const Classification& row : sequence.rows) {
            int16_t indentNext = -9;
            int16_t outdentThis = -9;
            fresh.CheckLine(QStringView(row.statement), indentNext, outdentThis);
            const std::string where =
                std::string(sequence.what) + ": " + QString::fromUtf16(row.statement).toStdString();
            EXPECT_EQ(indentNext, row.indentNext) << where;
            EXPECT_EQ(outdentThis, row.outdentThis) << where;
        }
    }
}

// ---- IsRem ----------------------------------------------------------------------------------------

TEST_F(IndentTest, IsRemNeedsTheWordAtTheStartOrAfterABlank)
{
    const struct
    {
        const char16_t* line;
        qsizetype position;
        bool rem;
    } rows[] = {
        {u"Rem note ", 1, true},        {u"REM ", 1, true},
        {u"rem x ", 1, true},           {u"x = 1 Rem note ", 7, true},
        {u"x = 1 Rem note ", 6, false}, {u"x=1:Rem note ", 5, false},
        {u"Remark = 1 ", 1, false},     {u"Item.Rem = 1 ", 6, false},
        {u"lorem ipsum ", 3, false},    {u"Rem", 1, false}, // the blank after the word is part of the test
        {u"Rem note ", 0, false},       {u"Rem note ", -3, false},
        {u"x Rem ", 3, true},           {u"x Rem ", 4, false},
        {u"x Rem ", 100, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(indenter.IsRem(QStringView(row.line), row.position), row.rem)
            << QString::fromUtf16(row.line).toStdString() << " @" << row.position;
}

// ---- IndentLine -----------------------------------------------------------------------------------

TEST_F(IndentTest, CarriageReturnsAreRemovedExceptFromUntouchedComments)
{
    EXPECT_EQ(indent({u"If a Then\r"_qs, u"x = 1\r"_qs, u"\r"_qs, u"End If\r\r"_qs}),
              (QStringList{u"If a Then"_qs, u"  x = 1"_qs, QString(), u"End If"_qs}));
    setSettings(2, 2);
    EXPECT_EQ(indenter.IndentLine(u"  ' note\r"_qs), u"  ' note\r"_qs);
}

TEST_F(IndentTest, BlankLinesComeBackEmptyAndCloseALine)
{
    EXPECT_EQ(indent({u"Do"_qs, u""_qs, u"   "_qs, u"x = 1"_qs, u"Loop"_qs, u""_qs}),
              (QStringList{u"Do"_qs, QString(), QString(), u"  x = 1"_qs, u"Loop"_qs, QString()}));
}

// A file may end with a block, a continued If or a Type still open; the next file starts afresh.
TEST_F(IndentTest, ResetForgetsWhatTheLastFileLeftOpen)
{
    const struct
    {
        const char* what;
        QStringList previousFile;
        QStringList nextFile;
        QStringList expected;
    } rows[] = {
        {"open blocks", {u"Sub Main()"_qs, u"If a Then"_qs}, {u"x = 1"_qs}, {u"x = 1"_qs}},
        {"open continuation", {u"x = f(1, _"_qs}, {u"y = 2"_qs, u"z = 3"_qs}, {u"y = 2"_qs, u"z = 3"_qs}},
        {"open continued If", {u"If a And _"_qs}, {u"x = 1"_qs, u"y = 2"_qs}, {u"x = 1"_qs, u"y = 2"_qs}},
        {"open Type",
         {u"Private Type T"_qs, u"A As Long"_qs},
         {u"If a Then"_qs, u"x = 1"_qs, u"End If"_qs},
         {u"If a Then"_qs, u"  x = 1"_qs, u"End If"_qs}},
        {"open continued statement in a block",
         {u"Do"_qs, u"x = 1 + _"_qs},
         {u"y = 2"_qs, u"z = 3"_qs},
         {u"y = 2"_qs, u"z = 3"_qs}},
    };
    for (const auto& row : rows) {
        indenter.Reset();
        indent(row.previousFile);
        indenter.Reset();
        EXPECT_EQ(indent(row.nextFile), row.expected) << row.what;
    }
}

TEST_F(IndentTest, InitialiseTwiceKeepsOneCopyOfEachList)
{
    indenter.Initialise();
    EXPECT_EQ(indenter.ProcedureStartKeywords().size(), 56);
    EXPECT_EQ(indenter.IndentKeywords().size(), 12);
    EXPECT_EQ(indenter.ProcedureEndKeywords().size(), 5);
    EXPECT_EQ(indenter.OutdentKeywords().size(), 12);
    // Scope, then Static, then kind.
    const QStringList& start = indenter.ProcedureStartKeywords();
    EXPECT_EQ(start.first(), u"Sub"_qs);
    EXPECT_EQ(start.at(5), u"Type"_qs);
    EXPECT_EQ(start.at(7), u"Static Sub"_qs);
    EXPECT_EQ(start.at(16), u"Public Property Let"_qs);
    EXPECT_EQ(start.at(41), u"Private Static Enum"_qs);
    EXPECT_EQ(start.last(), u"Friend Static Enum"_qs);
    QStringList unique = start;
    EXPECT_EQ(unique.removeDuplicates(), 0);

    int16_t indentNext = 0;
    int16_t outdentThis = 0;
    indenter.CheckLine(u"Else", indentNext, outdentThis);
    EXPECT_EQ(indentNext, 1);
    EXPECT_EQ(outdentThis, 1);
    indenter.CheckLine(u"Public Sub Main()", indentNext, outdentThis);
    EXPECT_EQ(indentNext, 1);
}

// Settings are read at every call; the 16-bit level stops at its limit rather than wrapping round.
TEST_F(IndentTest, DeepNestingSaturatesAndUnwindsToTheFloor)
{
    setSettings(0, 1);
    for (int i = 0; i < 40000; ++i)
        indenter.IndentLine(u"Do"_qs);
    setSettings(1, 1);
    EXPECT_EQ(indenter.IndentLine(u"x = 1"_qs), QString(32767, u' ') + u"x = 1"_qs);
    EXPECT_EQ(indenter.IndentLine(u"Loop: Loop"_qs), QString(32766, u' ') + u"Loop: Loop"_qs);
    EXPECT_EQ(indenter.IndentLine(u"y = 1"_qs), QString(32765, u' ') + u"y = 1"_qs);
    setSettings(0, 1);
    for (int i = 0; i < 40000; ++i)
        indenter.IndentLine(u"Loop"_qs);
    // The same within one line, where the change waits in the pending count.
    indenter.IndentLine(u"Do: "_qs.repeated(40000));
    setSettings(1, 1);
    EXPECT_EQ(indenter.IndentLine(u"x = 2"_qs), QString(32767, u' ') + u"x = 2"_qs);
    setSettings(0, 1);
    indenter.IndentLine(u"x = 3: "_qs + u"Loop: "_qs.repeated(40000));
    setSettings(3, 1);
    EXPECT_EQ(indent({u"Loop"_qs, u"If a Then"_qs, u"z = 1"_qs}),
              (QStringList{u"Loop"_qs, u"If a Then"_qs, u"   z = 1"_qs}));
}

TEST_F(IndentTest, NegativeTabSizeIndentsNothing)
{
    setSettings(-4, 1);
    EXPECT_EQ(indent({u"If a Then"_qs, u"x = 1 ' c"_qs, u"' whole"_qs}),
              (QStringList{u"If a Then"_qs, u"x = 1 ' c"_qs, u"' whole"_qs}));
}

TEST_F(IndentTest, TheProcessWideIndenterIsOneInitialisedInstance)
{
    clsIndentVBScript& shared = IndentVBScript();
    EXPECT_EQ(&shared, &IndentVBScript());
    EXPECT_EQ(shared.ProcedureStartKeywords().size(), 56);
    shared.Reset();
    EXPECT_EQ(shared.IndentLine(u"With obj"_qs), u"With obj"_qs);
    EXPECT_EQ(shared.IndentLine(u".x = 1"_qs), u"  .x = 1"_qs);
    shared.Reset();
}

} // namespace
