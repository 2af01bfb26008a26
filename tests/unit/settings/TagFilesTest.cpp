#include <DataFiles.h>
#include <ErrorTrace.h>
#include <TagFiles.h>
#include <TagFilesXml.h>
#include <UserMessages.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

using namespace folionix;

namespace {

struct Message
{
    QString text;
    MessageIcon icon;
};

struct Breaks
{
    int32_t before, insideStart, insideEnd, after;
    bool operator==(const Breaks&) const = default;
};

Breaks breaksOf(const clsHTMLElementProfile& p)
{
    return {p.Before, p.InsideStart, p.InsideEnd, p.After};
}

bool sameProfile(const clsHTMLElementProfile& a, const clsHTMLElementProfile& b)
{
    return a.ElementName == b.ElementName && breaksOf(a) == breaksOf(b) && a.Indent == b.Indent &&
           a.Format == b.Format;
}

// One Tag line as the program itself writes it, so that saved files can be compared byte for byte.
QByteArray tagLine(const QByteArray& name, const QByteArray& breaks, const QByteArray& indent = "N",
                   const QByteArray& format = "Y")
{
    return "<Tag Name=\"" + name + "\" Breaks=\"" + breaks + "\" IndentContents=\"" + indent +
           "\" FormatContents=\"" + format + "\" />";
}

QByteArray tagFile(const QList<QByteArray>& lines)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HTMLTags>\n";
    for (const QByteArray& line : lines)
        xml += "  " + line + "\n";
    return xml + "</HTMLTags>\n";
}

QByteArray keywordFile(const QByteArray& body)
{
    return "<?xml version=\"1.0\"?>\n<Languages>" + body + "</Languages>\n";
}

class TagFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("program")));
        setMessageHandler([this](const QString& text, MessageIcon icon) {
            messages.push_back({text, icon});
        });
        mendwick::setReportSink([this](const QString&, const QString& report) { reports.push_back(report); });
        setDataFolders(folder("program"), folder("share"), folder("user"));
        clearGlobals();
    }

    void TearDown() override
    {
        clearGlobals();
        resetDataFolders();
        setMessageHandler({});
        mendwick::resetReportSink();
    }

    static void clearGlobals()
    {
        TagProfiles().clear();
        TagProfileDocument().reset();
        VBScriptKeywords().clear();
        JScriptKeywords().clear();
        HTMLKeywords().clear();
    }

    QString folder(const char* name) const { return QDir(m_dir.path()).filePath(QString::fromLatin1(name)); }

    QString path(const char* folderName, const QString& file) const
    {
        return QDir(folder(folderName)).filePath(file);
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString writeTagFile(const QList<QByteArray>& lines)
    {
        const QString p = path("program", CurrentTagProfilesFile);
        write(p, tagFile(lines));
        return p;
    }

    std::optional<clsHTMLElementProfile> profile(const QString& name) const
    {
        const auto it = TagProfiles().find(name);
        if (it == TagProfiles().end())
            return std::nullopt;
        return it->second;
    }

    QStringList profileNames() const
    {
        QStringList names;
        for (const auto& [name, p] : TagProfiles())
            names << name;
        return names;
    }

    static QString failureText(const QString& p) { return QLatin1String("Failure to load ") + p; }

    static QString invalidLineText(const QString& p, const QString& name)
    {
        return QLatin1String("Invalid line in HTMLTag configuration file ") + p +
               QLatin1String("\r Element name= ") + name;
    }

    std::vector<Message> messages;
    QStringList reports;

private:
    QTemporaryDir m_dir;
};

// --- Breaks values ---------------------------------------------------------------------------------

enum class Outcome
{
    Loaded,      // the element gets the profile
    InvalidLine, // message, element skipped, the rest loads
    Failure      // message, the load ends at the element
};

TEST_F(TagFiles, BreaksValues)
{
    struct Case
    {
        const char* breaks;
        Outcome outcome;
        Breaks expected;
    };
    const Case cases[] = {
        {"(0,1,1,0)", Outcome::Loaded, {0, 1, 1, 0}},
        {"0,1,1,0", Outcome::Loaded, {0, 1, 1, 0}},
        {"(2,0,1,3)", Outcome::Loaded, {2, 0, 1, 3}},
        {"((1,0),(0,2))", Outcome::Loaded, {1, 0, 0, 2}},
        {"( 1, 0 ,0 ,1 )", Outcome::Loaded, {1, 0, 0, 1}},
        {"(1,2,3,4,5)", Outcome::Loaded, {1, 2, 3, 4}},
        {"(1,2)", Outcome::InvalidLine, {}},
        {"(1)", Outcome::InvalidLine, {}},
        {"", Outcome::InvalidLine, {}},
        {"()", Outcome::InvalidLine, {}},
        {"(1,2,3)", Outcome::Failure, {}},
        {"(a,0,0,0)", Outcome::Failure, {}},
        {"(1,0,0,x)", Outcome::Failure, {}},
        {"(1.5,0,0,0)", Outcome::Failure, {}},
        {"(1,,0,0)", Outcome::Failure, {}},
        {"(99999999999,0,0,0)", Outcome::Failure, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.breaks);
        messages.clear();
        const QString file = writeTagFile(
            {tagLine("first", "(1,0,0,1)"), tagLine("x", c.breaks), tagLine("last", "(0,0,0,0)")});
        LoadTagPreferences(file);

        EXPECT_TRUE(profile(QStringLiteral("first")).has_value());
        switch (c.outcome) {
        case Outcome::Loaded:
            EXPECT_TRUE(messages.empty());
            ASSERT_TRUE(profile(QStringLiteral("x")).has_value());
            EXPECT_EQ(breaksOf(*profile(QStringLiteral("x"))), c.expected);
            EXPECT_EQ(profile(QStringLiteral("x"))->ElementName, QStringLiteral("x"));
            EXPECT_TRUE(profile(QStringLiteral("last")).has_value());
            break;
        case Outcome::InvalidLine:
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text, invalidLineText(file, QStringLiteral("x")));
            EXPECT_EQ(messages[0].icon, MessageIcon::Error);
            EXPECT_EQ(profileNames(), (QStringList{QStringLiteral("first"), QStringLiteral("last")}));
            break;
        case Outcome::Failure:
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text, failureText(file));
            EXPECT_EQ(messages[0].icon, MessageIcon::Error);
            EXPECT_EQ(profileNames(), QStringList{QStringLiteral("first")});
            break;
        }
        EXPECT_TRUE(reports.isEmpty());
    }
}

TEST_F(TagFiles, IndentAndFormatFlags)
{
    struct Case
    {
        const char* value; // nullptr: attribute absent
        bool set;
    };
    const Case cases[] = {
        {"Y", true}, {"y", true}, {"Yes", false}, {"N", false}, {"", false}, {" Y", false}, {nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(absent)");
        messages.clear();
        QByteArray indentOnly = "<Tag Name=\"i\" Breaks=\"(1,0,0,1)\"";
        QByteArray formatOnly = "<Tag Name=\"f\" Breaks=\"(1,0,0,1)\"";
        if (c.value) {
            indentOnly += " IndentContents=\"" + QByteArray(c.value) + "\"";
            formatOnly += " FormatContents=\"" + QByteArray(c.value) + "\"";
        }
        LoadTagPreferences(
            writeTagFile({indentOnly + " FormatContents=\"N\" />", formatOnly + " IndentContents=\"N\" />"}));
        EXPECT_TRUE(messages.empty());
        ASSERT_TRUE(profile(QStringLiteral("i")) && profile(QStringLiteral("f")));
        EXPECT_EQ(profile(QStringLiteral("i"))->Indent, c.set);
        EXPECT_FALSE(profile(QStringLiteral("i"))->Format);
        EXPECT_EQ(profile(QStringLiteral("f"))->Format, c.set);
        EXPECT_FALSE(profile(QStringLiteral("f"))->Indent);
    }
}

TEST_F(TagFiles, FaultyTagEndsTheLoadKeepingEarlierProfiles)
{
    struct Case
    {
        const char* what;
        QByteArray line;
    };
    const Case cases[] = {
        {"missing Name", "<Tag Breaks=\"(1,0,0,1)\" IndentContents=\"N\" FormatContents=\"N\" />"},
        {"missing Breaks", "<Tag Name=\"x\" IndentContents=\"N\" FormatContents=\"N\" />"},
        {"duplicate Name", tagLine("first", "(0,0,0,0)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        const QString file =
            writeTagFile({tagLine("first", "(1,0,0,1)", "Y"), c.line, tagLine("last", "(0,0,0,0)")});
        LoadTagPreferences(file);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, failureText(file));
        EXPECT_EQ(messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(profileNames(), QStringList{QStringLiteral("first")});
        // The first profile is the one read before the fault, not the duplicate.
        EXPECT_EQ(breaksOf(*profile(QStringLiteral("first"))), (Breaks{1, 0, 0, 1}));
        EXPECT_TRUE(profile(QStringLiteral("first"))->Indent);
    }
}

TEST_F(TagFiles, NamesAreKeptExactly)
{
    LoadTagPreferences(writeTagFile({tagLine("TD", "(1,0,0,0)"), tagLine("td", "(0,1,0,0)")}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(breaksOf(*profile(QStringLiteral("TD"))), (Breaks{1, 0, 0, 0}));
    EXPECT_EQ(breaksOf(*profile(QStringLiteral("td"))), (Breaks{0, 1, 0, 0}));
}

TEST_F(TagFiles, FilesThatAreNotTagFiles)
{
    struct Case
    {
        const char* what;
        bool create;
        QByteArray bytes;
        bool failure;
    };
    const Case cases[] = {
        {"missing file", false, {}, false},
        {"plain text", true, "Before=1 After=1\n", true},
        {"empty file", true, {}, true},
        {"cut short", true, "<HTMLTags><Tag Name=\"p\" Breaks=\"(1,0,0,1)\"", true},
        {"other document element", true, "<Tags><Tag Name=\"p\" Breaks=\"(1,0,0,1)\" /></Tags>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        // Leftovers of an earlier load must go in every case.
        LoadTagPreferences(writeTagFile({tagLine("old", "(1,1,1,1)")}));
        ASSERT_TRUE(profile(QStringLiteral("old")));
        const QString file = path("program", QStringLiteral("other.xml"));
        QFile::remove(file);
        if (c.create)
            write(file, c.bytes);

        LoadTagPreferences(file);
        EXPECT_TRUE(TagProfiles().empty());
        EXPECT_FALSE(TagProfileDocument().select_node("//Tag[@Name = 'old']"));
        if (c.failure) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text, failureText(file));
        } else {
            EXPECT_TRUE(messages.empty());
        }
        EXPECT_TRUE(reports.isEmpty());
    }
}

// --- Keywords --------------------------------------------------------------------------------------

TEST_F(TagFiles, KeywordsOfOneLanguage)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(keywordFile(R"(
        <Keywords Language="VBScript"><Keyword Name="Dim"/><Keyword Name="DIM"/><Keyword Name=""/>
            <Keyword Name="ElseIf"/></Keywords>
        <Keywords Language="JScript"><Keyword Name="var"/></Keywords>
        <Group><Keywords Language="VBScript"><Keyword Name="Wend"/><Keyword Name="dim"/></Keywords></Group>
        <Keywords Language="vbscript"><Keyword Name="Lower"/></Keywords>
        <Keywords Language="VBScript "><Keyword Name="Blank"/></Keywords>
        <Keywords Lang="VBScript"><Keyword Name="Attr"/></Keywords>
        <Keywords Language="VBScript"><Other Name="NotAKeyword"/></Keywords>)")
                                    .constData()));
    KeywordTable table;
    table.add(QStringLiteral("Leftover"));
    LoadLanguageKeywords(doc, QStringLiteral("VBScript"), table);

    EXPECT_TRUE(reports.isEmpty());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(table.size(), 3); // Dim (once), ElseIf, Wend
    struct Case
    {
        const char16_t* word;
        bool found;
    };
    const Case cases[] = {
        {u"Dim", true},  {u"dim", true},       {u"ELSEIF", true},       {u"wend", true},
        {u"var", false}, {u"Lower", false},    {u"Blank", false},       {u"Attr", false},
        {u"", false},    {u"Leftover", false}, {u"NotAKeyword", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.contains(c.word), c.found) << QString::fromUtf16(c.word).toStdString();
}

TEST_F(TagFiles, LanguageIsComparedExactly)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(keywordFile(R"(<Keywords Language="VBScript"><Keyword Name="Dim"/></Keywords>
        <Keywords Language="it's"><Keyword Name="quoted"/></Keywords>)")
                                    .constData()));
    struct Case
    {
        const char* language;
        qsizetype size;
    };
    const Case cases[] = {
        {"VBScript", 1}, {"vbscript", 0}, {"VBSCRIPT", 0}, {"VBScript ", 0}, {"", 0}, {"it's", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        KeywordTable table;
        LoadLanguageKeywords(doc, QString::fromUtf8(c.language), table);
        EXPECT_EQ(table.size(), c.size);
    }
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(TagFiles, KeywordWithoutNameIsReportedAndEndsTheFill)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(keywordFile(R"(<Keywords Language="JScript">
        <Keyword Name="var"/><Keyword/><Keyword Name="function"/></Keywords>)")
                                    .constData()));
    KeywordTable table;
    LoadLanguageKeywords(doc, QStringLiteral("JScript"), table);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QLatin1String("Component     : basMain")));
    EXPECT_TRUE(reports[0].contains(QLatin1String("Member        : LoadLanguageKeywords")));
    EXPECT_TRUE(reports[0].contains(QLatin1String("Stage         : Select language node")));
    EXPECT_TRUE(table.contains(u"var"));
    EXPECT_FALSE(table.contains(u"function"));
    EXPECT_EQ(mendwick::Err().Number, 0);
}

TEST_F(TagFiles, StartUpFillsEachTableFromItsLanguage)
{
    write(path("program", CurrentKeywordsFile), keywordFile(R"(
        <Keywords Language="HTML"><Keyword Name="table"/></Keywords>
        <Keywords Language="VBScript"><Keyword Name="Dim"/></Keywords>
        <Keywords Language="JScript"><Keyword Name="var"/><Keyword Name="Dim"/></Keywords>)"));
    writeTagFile({tagLine("p", "(1,0,0,1)")});
    LoadLanguageFiles();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(VBScriptKeywords().size(), 1);
    EXPECT_TRUE(VBScriptKeywords().contains(u"DIM"));
    EXPECT_EQ(JScriptKeywords().size(), 2);
    EXPECT_TRUE(JScriptKeywords().contains(u"VAR"));
    EXPECT_EQ(HTMLKeywords().size(), 1);
    EXPECT_TRUE(HTMLKeywords().contains(u"TABLE"));
    EXPECT_EQ(profileNames(), QStringList{QStringLiteral("p")});
}

TEST_F(TagFiles, StartUpWithoutFilesLeavesEmptyTablesSilently)
{
    VBScriptKeywords().add(QStringLiteral("Dim"));
    JScriptKeywords().add(QStringLiteral("var"));
    HTMLKeywords().add(QStringLiteral("p"));
    TagProfiles()[QStringLiteral("p")] = clsHTMLElementProfile{};
    LoadLanguageFiles();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(VBScriptKeywords().size(), 0);
    EXPECT_EQ(JScriptKeywords().size(), 0);
    EXPECT_EQ(HTMLKeywords().size(), 0);
    EXPECT_TRUE(TagProfiles().empty());
}

TEST_F(TagFiles, UnreadableKeywordFileLeavesEmptyTablesSilently)
{
    write(path("program", CurrentKeywordsFile), "<Languages><Keywords Language=\"VBScript\">");
    VBScriptKeywords().add(QStringLiteral("Dim"));
    LoadLanguageFiles();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(VBScriptKeywords().size(), 0);
}

// --- Writing back and saving -----------------------------------------------------------------------

TEST_F(TagFiles, WriteBackOfOneElementThenSave)
{
    const QList<QByteArray> lines = {tagLine("p", "(1,0,0,1)"), tagLine("td", "(1,0,0,1)", "Y"),
                                     tagLine("it's", "(0,0,0,0)"), tagLine("tr", "(1,1,1,1)", "Y")};
    const QString file = writeTagFile(lines);
    LoadTagPreferences(file);
    ASSERT_EQ(TagProfiles().size(), 4u);

    struct Case
    {
        const char* name;
        Breaks breaks;
        const char* written;
    };
    const Case cases[] = {
        {"td", {2, 0, 13, 1}, "(2,0,13,1)"},
        {"it's", {0, 1, 0, -1}, "(0,1,0,-1)"},
    };
    QList<QByteArray> expected = lines;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsHTMLElementProfile& p = TagProfiles().at(QString::fromUtf8(c.name));
        p.Before = c.breaks.before;
        p.InsideStart = c.breaks.insideStart;
        p.InsideEnd = c.breaks.insideEnd;
        p.After = c.breaks.after;
        EXPECT_TRUE(WriteTagProfileBreaks(QString::fromUtf8(c.name)));
        const qsizetype row = c.name == QByteArray("td") ? 1 : 2;
        expected[row] = tagLine(c.name, c.written, row == 1 ? "Y" : "N");
    }
    // Neither an unknown name nor a profile that the document lacks is written anywhere.
    EXPECT_FALSE(WriteTagProfileBreaks(QStringLiteral("div")));
    TagProfiles()[QStringLiteral("div")] = clsHTMLElementProfile{};
    EXPECT_FALSE(WriteTagProfileBreaks(QStringLiteral("div")));
    EXPECT_FALSE(WriteTagProfileBreaks(QStringLiteral("TD")));

    QString error;
    ASSERT_TRUE(SaveTagProfileDocument(&error)) << error.toStdString();
    EXPECT_EQ(read(file), tagFile(expected));
    EXPECT_FALSE(QFileInfo::exists(folder("user")));

    LoadTagPreferences(file);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(breaksOf(TagProfiles().at(QStringLiteral("td"))), (Breaks{2, 0, 13, 1}));
    EXPECT_EQ(breaksOf(TagProfiles().at(QStringLiteral("it's"))), (Breaks{0, 1, 0, -1}));
    EXPECT_EQ(breaksOf(TagProfiles().at(QStringLiteral("p"))), (Breaks{1, 0, 0, 1}));
}

TEST_F(TagFiles, SaveKeepsCommentsAndWritesUtf8WithDeclaration)
{
    const QString file = path("program", CurrentTagProfilesFile);
    // Latin-1 on disk; the save rewrites it as UTF-8 and says so.
    write(file, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- caf\xe9 -->\n"
                "<HTMLTags><Tag Name=\"\xe9t\xe9\" Breaks=\"(1,0,0,1)\" IndentContents=\"n\" "
                "FormatContents=\"y\"/></HTMLTags>");
    LoadTagPreferences(file);
    ASSERT_TRUE(TagProfiles().contains(QStringLiteral("été")));
    ASSERT_TRUE(SaveTagProfileDocument());
    EXPECT_EQ(QString::fromUtf8(read(file)), QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                            "<!-- café -->\n"
                                                            "<HTMLTags>\n"
                                                            "  <Tag Name=\"été\" Breaks=\"(1,0,0,1)\" "
                                                            "IndentContents=\"n\" FormatContents=\"y\" />\n"
                                                            "</HTMLTags>\n"));
}

TEST_F(TagFiles, EmptyDocumentWritesNothing)
{
    LoadTagPreferences(path("program", CurrentTagProfilesFile));
    EXPECT_TRUE(SaveTagProfileDocument());
    EXPECT_FALSE(QFileInfo::exists(path("program", CurrentTagProfilesFile)));
}

TEST_F(TagFiles, SaveIntoReadOnlyFolderFailsAndLeavesTheFileIntact)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const QByteArray original = tagFile({tagLine("p", "(1,0,0,1)")});
    struct Case
    {
        const char* where; // the folder holding the file that a save would replace
        bool withUserFolder;
    };
    const Case cases[] = {
        {"program", false}, // no user folder to fall back on
        {"user", true},     // the user's copy, read first, so written first
    };
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        setDataFolders(folder("program"), folder("share"), c.withUserFolder ? folder("user") : QString());
        const QString file = path(c.where, CurrentTagProfilesFile);
        write(file, original);
        LoadTagPreferences(file);
        TagProfiles().at(QStringLiteral("p")).Before = 0;
        ASSERT_TRUE(WriteTagProfileBreaks(QStringLiteral("p")));

        ASSERT_TRUE(QFile::setPermissions(folder(c.where), readOnly));
        QString error;
        const bool saved = SaveTagProfileDocument(&error);
        const QStringList files = QDir(folder(c.where)).entryList(QDir::Files);
        QFile::setPermissions(folder(c.where), readOnly | QFileDevice::WriteOwner);

        EXPECT_FALSE(saved);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(read(file), original);
        EXPECT_EQ(files, QStringList{CurrentTagProfilesFile}); // no temporary file left behind
        QFile::remove(file);
    }
}

TEST_F(TagFiles, FailedWriteThroughXmlHelperReportsAndKeepsFile)
{
    // A folder standing where the file should be: the rename cannot replace it, whoever runs this.
    const QString target = path("program", QStringLiteral("blocked.xml"));
    ASSERT_TRUE(QDir().mkpath(target));
    pugi::xml_document doc;
    doc.append_child("HTMLTags");
    QString error;
    EXPECT_FALSE(saveXmlFile(doc, target, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(QDir(folder("program")).entryList(QDir::Files), QStringList());
}

TEST_F(TagFiles, DefaultMessageHandlerWritesToStandardError)
{
    setMessageHandler({});
    struct Case
    {
        const char* text;
        const char* printed;
    };
    const Case cases[] = {
        {"Failure to load x.xml", "folionix: Failure to load x.xml\n"},
        {"Invalid line in a\r Element name= td", "folionix: Invalid line in a\n Element name= td\n"},
        {"one\r\ntwo", "folionix: one\ntwo\n"},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        ShowMessage(QString::fromUtf8(c.text), MessageIcon::Error);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.printed);
    }
    EXPECT_TRUE(messages.empty());
}

// --- Data folders ----------------------------------------------------------------------------------

TEST_F(TagFiles, DataFileLookUpOrder)
{
    struct Case
    {
        bool user, program, share;
        const char* readFrom; // nullptr: not found
    };
    const Case cases[] = {
        {true, true, true, "user"},   {false, true, true, "program"},  {false, false, true, "share"},
        {true, false, false, "user"}, {false, true, false, "program"}, {false, false, false, nullptr},
    };
    const QString name = QStringLiteral("lookup.xml");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readFrom ? c.readFrom : "none");
        for (const auto& [present, where] :
             {std::pair{c.user, "user"}, std::pair{c.program, "program"}, std::pair{c.share, "share"}}) {
            QFile::remove(path(where, name));
            if (present)
                write(path(where, name), where);
        }
        EXPECT_EQ(dataFileForReading(name), c.readFrom ? path(c.readFrom, name) : QString());
    }
}

TEST_F(TagFiles, DataFileForWriting)
{
    const QString name = QStringLiteral("written.xml");
    // A writable program folder gets the file and the user's folder is not created for it.
    EXPECT_EQ(dataFileForWriting(name), path("program", name));
    EXPECT_FALSE(QFileInfo::exists(folder("user")));
    // A user copy, once there, is where saves go, since that copy is what is read.
    write(path("user", name), "x");
    EXPECT_EQ(dataFileForWriting(name), path("user", name));
    QFile::remove(path("user", name));
    // No program folder: the user's folder, created on the way.
    QDir(folder("user")).removeRecursively();
    setDataFolders(folder("nowhere"), folder("share"), folder("user"));
    EXPECT_EQ(dataFileForWriting(name), path("user", name));
    EXPECT_TRUE(QFileInfo(folder("user")).isDir());
}

TEST_F(TagFiles, SavedInTheUserFolderWhenTheProgramFolderCannotBeWritten)
{
    // Installed layout: the data in the share folder, no program folder to write into.
    setDataFolders(folder("nowhere"), folder("share"), folder("user"));
    const QByteArray shipped = tagFile({tagLine("p", "(1,0,0,1)"), tagLine("td", "(1,0,0,0)", "Y")});
    write(path("share", CurrentTagProfilesFile), shipped);
    LoadLanguageFiles();
    ASSERT_EQ(TagProfiles().size(), 2u);

    TagProfiles().at(QStringLiteral("td")).After = 1;
    ASSERT_TRUE(WriteTagProfileBreaks(QStringLiteral("td")));
    QString error;
    ASSERT_TRUE(SaveTagProfileDocument(&error)) << error.toStdString();
    EXPECT_EQ(read(path("share", CurrentTagProfilesFile)), shipped);
    EXPECT_FALSE(QFileInfo::exists(folder("nowhere")));
    EXPECT_EQ(read(path("user", CurrentTagProfilesFile)),
              tagFile({tagLine("p", "(1,0,0,1)"), tagLine("td", "(1,0,0,1)", "Y")}));

    // Next start: the user's copy wins over the shipped one.
    clearGlobals();
    LoadLanguageFiles();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(breaksOf(TagProfiles().at(QStringLiteral("td"))), (Breaks{1, 0, 0, 1}));
}

TEST_F(TagFiles, ResetLoadsTheFactoryProfilesAndTheNextSaveWritesThem)
{
    const QString current = writeTagFile({tagLine("p", "(0,0,0,0)"), tagLine("mine", "(1,1,1,1)")});
    const QByteArray factory = tagFile({tagLine("p", "(1,0,0,1)"), tagLine("td", "(1,0,0,0)", "Y")});
    write(path("share", OriginalTagProfilesFile), factory);
    LoadLanguageFiles();
    ASSERT_TRUE(profile(QStringLiteral("mine")));

    ResetTagPreferences();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(profileNames(), (QStringList{QStringLiteral("p"), QStringLiteral("td")}));
    EXPECT_EQ(breaksOf(*profile(QStringLiteral("p"))), (Breaks{1, 0, 0, 1}));
    ASSERT_TRUE(SaveTagProfileDocument());
    EXPECT_EQ(read(current), factory);
}

TEST_F(TagFiles, DefaultFoldersFollowTheExecutable)
{
    resetDataFolders();
    const DataFolders folders = dataFolders();
    EXPECT_EQ(folders.program, QCoreApplication::applicationDirPath());
    EXPECT_EQ(folders.share, QDir::cleanPath(folders.program + QLatin1String("/../share/folionix")));
    EXPECT_TRUE(folders.user.endsWith(QLatin1String("/folionix"))) << folders.user.toStdString();
    EXPECT_NE(folders.user, folders.program);
}

// --- Shipped files ---------------------------------------------------------------------------------

TEST_F(TagFiles, ShippedFilesLoadWithoutMessages)
{
    setDataFolders(QStringLiteral(FOLIONIX_SOURCE_DATA_DIR), QString(), QString());
    LoadLanguageFiles();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(reports.isEmpty());

    struct Case
    {
        const KeywordTable* table;
        const char* language;
        std::vector<const char16_t*> words;
    };
    const Case cases[] = {
        {&VBScriptKeywords(),
         "VBScript",
         {u"Dim", u"ElseIf", u"Response", u"Write", u"vbCrLf", u"Nothing", u"Xor", u"ReDim", u"Server",
          u"ObjectContext", u"ASPError", u"UBound"}},
        {&JScriptKeywords(),
         "JScript",
         {u"function", u"var", u"instanceof", u"Math", u"parseInt", u"encodeURIComponent", u"Response",
          u"null", u"undefined"}},
        {&HTMLKeywords(), "HTML", {u"table", u"td", u"href", u"section", u"placeholder", u"bgcolor"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        EXPECT_GT(c.table->size(), 50);
        for (const char16_t* word : c.words)
            EXPECT_TRUE(c.table->contains(word)) << QString::fromUtf16(word).toStdString();
    }
    // Words of one language only.
    EXPECT_FALSE(VBScriptKeywords().contains(u"instanceof"));
    EXPECT_FALSE(JScriptKeywords().contains(u"ElseIf"));

    struct Profile
    {
        const char* name;
        Breaks breaks;
        bool indent;
    };
    const Profile profiles[] = {
        {"html", {1, 1, 1, 1}, false}, {"table", {1, 1, 1, 1}, true}, {"tr", {1, 1, 1, 1}, true},
        {"td", {1, 0, 0, 1}, true},    {"pre", {1, 0, 0, 1}, false},  {"textarea", {1, 0, 0, 1}, false},
        {"br", {0, 1, 0, 1}, false},   {"b", {0, 0, 0, 0}, false},    {"span", {0, 0, 0, 0}, false},
    };
    for (const Profile& p : profiles) {
        SCOPED_TRACE(p.name);
        const auto found = profile(QString::fromUtf8(p.name));
        ASSERT_TRUE(found);
        EXPECT_EQ(breaksOf(*found), p.breaks);
        EXPECT_EQ(found->Indent, p.indent);
    }
    for (const auto& [name, p] : TagProfiles())
        EXPECT_EQ(name, name.toLower()) << "profile names are looked up lower-cased";

    // The factory copy holds the same profiles.
    const std::map<QString, clsHTMLElementProfile> current = TagProfiles();
    ResetTagPreferences();
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(TagProfiles().size(), current.size());
    for (const auto& [name, p] : current)
        EXPECT_TRUE(TagProfiles().contains(name) && sameProfile(TagProfiles().at(name), p))
            << name.toStdString();
}

TEST_F(TagFiles, ShippedProfilesSurviveAnUnchangedSave)
{
    // A save rewrites the whole document, so the shipped layout must be the one the save produces:
    // then a user's file differs from the shipped one only where the user changed something.
    const QByteArray shipped =
        read(QDir(QStringLiteral(FOLIONIX_SOURCE_DATA_DIR)).filePath(CurrentTagProfilesFile));
    ASSERT_FALSE(shipped.isEmpty());
    const QString file = path("program", CurrentTagProfilesFile);
    write(file, shipped);
    LoadLanguageFiles();
    ASSERT_TRUE(SaveTagProfileDocument());
    EXPECT_EQ(read(file).toStdString(), shipped.toStdString());
}

} // namespace
