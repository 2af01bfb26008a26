#include <CommonRoutines.h>
#include <ErrorTrace.h>
#include <TestSupport.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace folionix::test {
namespace {

// Collects what the tracer reports instead of printing it.
class CommonRoutinesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mendwick::setReportSink([this](const QString&, const QString& report) { reports << report; });
    }
    void TearDown() override
    {
        mendwick::resetReportSink();
        resetDocumentOpener();
    }
    QStringList reports;
};

// ---- GetPathPart -------------------------------------------------------------------------------------

struct PathCase
{
    const char* path;
    int code;
    const char* expected;
};

void expectPathParts(const std::initializer_list<PathCase>& cases)
{
    for (const PathCase& c : cases)
        EXPECT_EQ(GetPathPart(QString::fromUtf8(c.path), c.code), QString::fromUtf8(c.expected))
            << "path " << c.path << " code " << c.code;
}

TEST_F(CommonRoutinesTest, PathPartsOfTheWindowsExamples)
{
    expectPathParts({
        {R"(C:\dir\sub\file.tar.gz)", 3, R"(C:\dir\sub\)"},
        {R"(C:\dir\sub\file.tar.gz)", -3, R"(C:\dir\sub)"},
        {R"(C:\dir\sub\file.tar.gz)", 4, "file.tar"},
        {R"(C:\dir\sub\file.tar.gz)", 5, ".gz"},
        {R"(C:\dir\sub\file.tar.gz)", 6, "file.tar.gz"},
        {R"(C:\dir\sub\file.tar.gz)", 7, R"(C:\dir\sub\file.tar)"},
        // The root: a lone separator as folder, kept by -3 too, and no file name.
        {R"(C:\)", 3, R"(C:\)"},
        {R"(C:\)", -3, R"(C:\)"},
        {R"(C:\)", 4, ""},
        {R"(C:\)", 5, ""},
        {R"(C:\)", 6, ""},
        {R"(C:\)", 7, R"(C:\)"},
        // A leading dot is part of the name.
        {".profile", 4, ".profile"},
        {".profile", 5, ""},
        {".profile", 6, ".profile"},
        {".profile", 3, ""},
        {R"(C:\site\default.asp)", 7, R"(C:\site\default)"},
        {R"(C:\site\default.asp)", 3, R"(C:\site\)"},
    });
}

TEST_F(CommonRoutinesTest, PathPartsWithSlashesAndMixedSeparators)
{
    expectPathParts({
        {"/home/ann/site/index.asp", 3, "/home/ann/site/"},
        {"/home/ann/site/index.asp", -3, "/home/ann/site"},
        {"/home/ann/site/index.asp", 4, "index"},
        {"/home/ann/site/index.asp", 5, ".asp"},
        {"/home/ann/site/index.asp", 6, "index.asp"},
        {"/home/ann/site/index.asp", 7, "/home/ann/site/index"},
        {R"(C:/dir\sub/file.txt)", 3, R"(C:/dir\sub/)"},
        {R"(C:/dir\sub/file.txt)", -3, R"(C:/dir\sub)"},
        {R"(C:/dir\sub/file.txt)", 6, "file.txt"},
        {R"(/dir\sub\file.txt)", 7, R"(/dir\sub\file)"},
        // A path ending in a separator is all folder.
        {"/srv/www/", 3, "/srv/www/"},
        {"/srv/www/", -3, "/srv/www"},
        {"/srv/www/", 6, ""},
        {R"(C:\dir\)", -3, R"(C:\dir)"},
        // The root and a file straight in it keep the root under -3.
        {"/", 3, "/"},
        {"/", -3, "/"},
        {"/file.txt", -3, "/"},
        {R"(C:\file.txt)", -3, R"(C:\)"},
        {"/file.txt", 7, "/file"},
    });
}

TEST_F(CommonRoutinesTest, PathPartsOfDrivesNamesAndUnknownCodes)
{
    expectPathParts({
        // A drive without a folder: the name follows the drive.
        {"C:file.txt", 3, "C:"},
        {"C:file.txt", -3, "C:"},
        {"C:file.txt", 4, "file"},
        {"C:file.txt", 7, "C:file"},
        // A relative path keeps its first folder.
        {R"(dir\sub\file.txt)", 3, R"(dir\sub\)"},
        {"dir/sub/file.txt", -3, "dir/sub"},
        {"dir/file.txt", 7, "dir/file"},
        // ":" elsewhere is an ordinary character, not a drive.
        {"/home/a/b:c.txt", 3, "/home/a/"},
        {"/home/a/b:c.txt", 4, "b:c"},
        {"notes:v2.txt", 3, ""},
        {"notes:v2.txt", 6, "notes:v2.txt"},
        {R"(\\?\C:\x\y.z)", 3, R"(\\?\C:\x\)"},
        // Dots: only the last one at position 2 or later splits; a dot in a folder never does.
        {"file.", 4, "file"},
        {"file.", 5, "."},
        {"a.b", 4, "a"},
        {"/x.d/readme", 5, ""},
        {"/x.d/readme", 4, "readme"},
        {"/x/..hidden", 4, "."},
        {"/x/..hidden", 5, ".hidden"},
        // Nothing at all, and codes outside the table.
        {"", 3, ""},
        {"", -3, ""},
        {"", 6, ""},
        {"/a/b.c", 0, ""},
        {"/a/b.c", 1, ""},
        {"/a/b.c", 2, ""},
        {"/a/b.c", 8, ""},
        {"/a/b.c", -4, ""},
    });
    EXPECT_TRUE(reports.isEmpty());
}

// ---- ReplaceEnvironmentVariables ----------------------------------------------------------------------

EnvironmentLookup fixedEnvironment(const QHash<QString, QString>& values)
{
    return [values](const QString& name) { return values.value(name); };
}

TEST_F(CommonRoutinesTest, EnvironmentVariablesTable)
{
    const QHash<QString, QString> env = {
        {"TEMP", R"(C:\T)"},   {"USER", "ann"},
        {"Mixed", "case"},     {"SELF", "<%SELF%>"}, // names itself
        {"OUTER", "[%USER%]"},                       // names another variable
        {"PCT", "50%"},                              // a lone percent sign inside a value
        {"EMPTY", ""},         {"WITH SPACE", "spaced"},
    };
    struct Case
    {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {R"(%TEMP%\x)", R"(C:\T\x)"},
        {"", ""},
        {"no variables here", "no variables here"},
        {"a single % sign", "a single % sign"},
        {"%", "%"},
        {"ends with %", "ends with %"},
        {"%UNSET%", ""},
        {"<%UNSET%>", "<>"},
        {"%EMPTY%|", "|"},
        {"%USER%/%USER%", "ann/ann"},
        {"%USER%%TEMP%", R"(annC:\T)"},
        {"%USER% %UNSET% %USER%", "ann  ann"},
        // Names keep their letter case.
        {"%Mixed%", "case"},
        {"%MIXED%", ""},
        {"%WITH SPACE%", "spaced"},
        // Values are inserted as they are: never expanded again, so none can loop.
        {"%SELF%", "<%SELF%>"},
        {"%SELF%%SELF%", "<%SELF%><%SELF%>"},
        {"%OUTER%", "[%USER%]"},
        {"%PCT% and %USER%", "50% and ann"},
        // "%%" is one percent sign, and expansion goes on after it.
        {"%%", "%"},
        {"100%%", "100%"},
        {"%%USER%", "%USER%"},
        {"%%%USER%", "%ann"},
        {"%%%%", "%%"},
        {"a %% b %USER%", "a % b ann"},
        {"%USER%%", "ann%"},
        // Pairs are taken from the left: the third "%" opens the next name.
        {"x%USER%y%", "xanny%"},
        {"%UNSET%USER%", "USER%"},
        // A name never spans a line end.
        {"50%\rof 100%USER%", "50%\rof 100ann"},
        {"a%b\nc%", "a%b\nc%"},
    };
    for (const Case& c : cases) {
        QString text = QString::fromUtf8(c.text);
        ReplaceEnvironmentVariables(text, fixedEnvironment(env));
        EXPECT_EQ(text, QString::fromUtf8(c.expected)) << "text " << c.text;
    }
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(CommonRoutinesTest, EnvironmentComesFromTheProcessByDefault)
{
    qputenv("FOLIONIX_COMMON_TEST", "from the process");
    qunsetenv("FOLIONIX_COMMON_TEST_UNSET");
    QString text = QStringLiteral("[%FOLIONIX_COMMON_TEST%][%FOLIONIX_COMMON_TEST_UNSET%]");
    ReplaceEnvironmentVariables(text);
    qunsetenv("FOLIONIX_COMMON_TEST");
    EXPECT_EQ(text, QStringLiteral("[from the process][]"));
}

TEST_F(CommonRoutinesTest, EnvironmentLookUpsArePerReference)
{
    QStringList asked;
    const EnvironmentLookup recorder = [&asked](const QString& name) {
        asked << name;
        return QStringLiteral("%") + name + QStringLiteral("%");
    };
    QString text = QStringLiteral("%A%-%B%-%A%");
    ReplaceEnvironmentVariables(text, recorder);
    EXPECT_EQ(text, QStringLiteral("%A%-%B%-%A%"));
    EXPECT_EQ(asked, (QStringList{"A", "B", "A"}));
}

TEST_F(CommonRoutinesTest, LongTextExpandsInOnePass)
{
    // Ten thousand references to a value that names itself, between escaped signs: rescanning after a
    // replacement would never end; one pass asks once per reference and keeps every sign.
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("%V% 5%% ");
    qsizetype lookUps = 0;
    ReplaceEnvironmentVariables(text, [&lookUps](const QString&) {
        ++lookUps;
        return QStringLiteral("%V%");
    });
    EXPECT_EQ(lookUps, 10000);
    EXPECT_EQ(text.size(), 10000 * QStringLiteral("%V% 5% ").size());
    EXPECT_TRUE(text.startsWith(QStringLiteral("%V% 5% %V% 5% ")));
}

TEST_F(CommonRoutinesTest, FailingLookUpIsReportedAndLeavesTheText)
{
    QString text = QStringLiteral("keep %USER% as it was");
    ReplaceEnvironmentVariables(text, [](const QString&) -> QString { throw std::runtime_error("broken"); });
    EXPECT_EQ(text, QStringLiteral("keep %USER% as it was"));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.front().contains(QStringLiteral("basCommonRoutines")));
    EXPECT_TRUE(reports.front().contains(QStringLiteral("ReplaceEnvironmentVariables")));
}

// ---- FileExists ---------------------------------------------------------------------------------------

TEST_F(CommonRoutinesTest, FileExistsTable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = testsupport::writeFile(dir, "page.asp", "<% x %>");
    const QString emptyFile = testsupport::writeFile(dir, "empty.txt", "");
    const QString folder = QDir(dir.path()).filePath("folder");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString link = QDir(dir.path()).filePath("link.asp");
    ASSERT_TRUE(QFile::link(file, link));
    const QString folderLink = QDir(dir.path()).filePath("folderlink");
    ASSERT_TRUE(QFile::link(folder, folderLink));
    const QString dangling = QDir(dir.path()).filePath("dangling");
    ASSERT_TRUE(QFile::link(QDir(dir.path()).filePath("gone"), dangling));
    const QString pipe = QDir(dir.path()).filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    struct Case
    {
        QString name;
        bool exists;
    };
    const Case cases[] = {
        {file, true},
        {emptyFile, true},
        {link, true},
        {folder, false},
        {folder + "/", false},
        {folderLink, false},
        {dangling, false},
        {pipe, false}, // must not wait for a writer
        {QDir(dir.path()).filePath("missing.asp"), false},
        {QDir(dir.path()).filePath("folder/missing.asp"), false},
        {QString(), false},
        {QStringLiteral(""), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileExists(c.name), c.exists) << c.name.toStdString();
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(CommonRoutinesTest, FileThatCannotBeReadDoesNotExist)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    QTemporaryDir dir;
    const QString file = testsupport::writeFile(dir, "locked.asp", "x");
    ASSERT_TRUE(QFile::setPermissions(file, QFile::WriteOwner));
    EXPECT_FALSE(FileExists(file));
}

// ---- StartDoc -----------------------------------------------------------------------------------------

TEST_F(CommonRoutinesTest, StartDocHandsTheTrimmedFileToTheDesktop)
{
    QTemporaryDir dir;
    const QString file = testsupport::writeFile(dir, "export.html", "<p>x</p>");
    const QString folder = dir.path();
    QList<QUrl> opened;
    bool accept = true;
    setDocumentOpener([&](const QUrl& url) {
        opened << url;
        return accept;
    });

    struct Case
    {
        QString name;
        int result;
        bool handedOver;
    };
    const Case cases[] = {
        {file, StartDocOpened, true},
        {"  " + file + " \t", StartDocOpened, true},
        {folder, StartDocOpened, true},
        {QDir(dir.path()).filePath("missing.html"), StartDocFileNotFound, false},
        {QString(), StartDocFileNotFound, false},
        {QStringLiteral("   "), StartDocFileNotFound, false},
    };
    for (const Case& c : cases) {
        opened.clear();
        EXPECT_EQ(StartDoc(c.name), c.result) << c.name.toStdString();
        if (c.handedOver) {
            ASSERT_EQ(opened.size(), 1) << c.name.toStdString();
            EXPECT_TRUE(opened.front().isLocalFile());
            EXPECT_EQ(opened.front().toLocalFile(), c.name.trimmed());
        } else {
            EXPECT_TRUE(opened.isEmpty()) << c.name.toStdString();
        }
    }

    accept = false;
    EXPECT_EQ(StartDoc(file), StartDocNoAssociation);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(CommonRoutinesTest, StartDocFromARelativeNameGivesAnAbsoluteUrl)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir, "relative.txt", "x");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QUrl opened;
    setDocumentOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    const int result = StartDoc(QStringLiteral("relative.txt"));
    QDir::setCurrent(before);
    EXPECT_EQ(result, StartDocOpened);
    EXPECT_EQ(opened.toLocalFile(), QDir(dir.path()).filePath("relative.txt"));
}

TEST_F(CommonRoutinesTest, StartDocReportsAFailureAndReturnsZero)
{
    QTemporaryDir dir;
    const QString file = testsupport::writeFile(dir, "report.rtf", "{\\rtf1}");
    setDocumentOpener([](const QUrl&) -> bool { throw std::runtime_error("no desktop"); });
    EXPECT_EQ(StartDoc(file), 0);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.front().contains(QStringLiteral("StartDoc")));
    EXPECT_TRUE(
        reports.front().contains(QStringLiteral("Call ShellExecute to launch file viewer for file =")));
    EXPECT_TRUE(reports.front().contains(QStringLiteral("report.rtf")));
}

} // namespace
} // namespace folionix::test
