#include <DataFiles.h>
#include <Persistence.h>
#include <Regtools.h>
#include <SettingsFields.h>
#include <SettingsStore.h>
#include <UserMessages.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <TestSupport.h>
#include <functional>
#include <gtest/gtest.h>

using namespace folionix;

namespace {

const QString HKLM = QStringLiteral("HKEY_LOCAL_MACHINE");
const QString HKCU = QStringLiteral("HKEY_CURRENT_USER");

QString sub(const char* suffix)
{
    return OptionsRootKey + QLatin1Char('\\') + QLatin1String(suffix);
}

// Every setting as text, by the names the settings table knows.
QMap<QString, QString> snapshot(clsOptions o)
{
    QMap<QString, QString> values;
    for (const QString& name : SettingNames(o))
        values.insert(name, SettingValueByName(o, name).value_or(QStringLiteral("<none>")));
    return values;
}

clsOptions defaultsNow()
{
    clsOptions d;
    d.ApplyDefaults(DefaultScreenTwips());
    return d;
}

QStringList entriesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

class PersistenceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        machineDir = tmp.filePath(QStringLiteral("machine"));
        userDir = tmp.filePath(QStringLiteral("user"));
        QDir().mkpath(machineDir);
        QDir().mkpath(userDir);
        setStoreFolders(machineDir, userDir);
        setDataFolders(tmp.filePath(QStringLiteral("program")), tmp.filePath(QStringLiteral("share")),
                       tmp.filePath(QStringLiteral("data")));
        setMessageHandler([this](const QString& text, MessageIcon icon) {
            messages << text;
            icons << icon;
        });
        Options().ApplyDefaults(DefaultScreenTwips());
    }
    void TearDown() override
    {
        resetStoreFolders();
        resetDataFolders();
        setMessageHandler({});
        Options().ApplyDefaults(DefaultScreenTwips());
    }

    // A hive folder that can never be written: it lies below a plain file (holds for root too).
    QString blockedDir()
    {
        testsupport::writeFile(tmp, QStringLiteral("blocker"), "x");
        return tmp.filePath(QStringLiteral("blocker/hive"));
    }

    // As a new process would find the stores: nothing cached, the settings object at its defaults.
    void restart()
    {
        store(Hive::Machine).reload();
        store(Hive::User).reload();
        Options().ApplyDefaults(DefaultScreenTwips());
    }

    void putRaw(const QString& key, const QString& name, const QString& text)
    {
        ASSERT_TRUE(Regtools().UpdateKey(HKLM, key, name, text));
    }

    QTemporaryDir tmp;
    QString machineDir;
    QString userDir;
    QStringList messages;
    QList<MessageIcon> icons;
};

TEST_F(PersistenceTest, FirstStartWithEmptyStoreGivesDefaultsAndWritesNothing)
{
    clsOptions& o = Options();
    o.Columns = 4;
    o.ExportPath = QStringLiteral("somewhere");
    o.MarginTop = 3;
    o.VBScriptOptions.TabSize = 9;
    o.Fonts.clear();
    o.HeaderCodes.clear();
    int validations = 0;
    LoadOptionsFromStore([&] { ++validations; });
    clsOptions expected = defaultsNow();
    EXPECT_EQ(snapshot(o), snapshot(expected));
    EXPECT_EQ(validations, 1);
    EXPECT_TRUE(entriesOf(machineDir).isEmpty()) << entriesOf(machineDir).join(u',').toStdString();
    EXPECT_TRUE(entriesOf(userDir).isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(CurrentHive(), HKLM);
}

// Gives every stored field a value unlike its default, within the ranges loading keeps.
void changeEverything(clsOptions& o)
{
    auto change = [](const char*, auto& field) {
        using T = std::remove_reference_t<decltype(field)>;
        if constexpr (std::is_same_v<T, QString>)
            field += QStringLiteral("x,y");
        else if constexpr (std::is_same_v<T, bool>)
            field = !field;
        else if constexpr (std::is_same_v<T, double>)
            field += 1.25;
        else
            field = T(field + 3);
    };
    forEachScalarSetting(o, change);
    forEachLanguageRecord(o, [&](const char*, clsLanguageOptions& l) { forEachLanguageField(l, change); });
    int n = 0;
    for (auto& [name, font] : o.Fonts) {
        forEachFontField(font, change);
        font.Size = int16_t(10 + n);
        font.Color = 0x010203 * ++n;
    }
    for (auto& [name, header] : o.HeaderCodes)
        forEachHeaderField(header, change);
    o.VBScriptOptions.TabSize = 5;
    o.JScriptOptions.TabSize = 6;
}

TEST_F(PersistenceTest, SaveThenLoadRoundTripsEverySetting)
{
    for (const char* locale : {"C", "de_DE"}) {
        SCOPED_TRACE(locale);
        const QLocale before;
        QLocale::setDefault(QLocale(QLatin1String(locale)));
        Options().ApplyDefaults(DefaultScreenTwips());
        changeEverything(Options());
        clsOptions saved = Options();
        SaveOptionsToStore({});
        restart();
        LoadOptionsFromStore({});
        QMap<QString, QString> expected = snapshot(saved);
        QMap<QString, QString> loaded = snapshot(Options());
        // Never stored: every run starts at 0. Written, never read back: every run starts at 0.
        for (const QString& startsAtZero :
             {QStringLiteral("bmPrintLocation"), QStringLiteral("AlwaysShowCustomWindow")}) {
            expected.remove(startsAtZero);
            loaded.remove(startsAtZero);
        }
        EXPECT_EQ(loaded, expected);
        EXPECT_EQ(Options().bmPrintLocation, 0);
        EXPECT_EQ(Options().AlwaysShowCustomWindow, 0);
        QString written;
        EXPECT_TRUE(Regtools().GetKeyValue(HKLM, OptionsRootKey, QStringLiteral("Always Show Custom Window"),
                                           written));
        EXPECT_EQ(written, u"3");
        QString margin;
        ASSERT_TRUE(Regtools().GetKeyValue(HKLM, sub("Margins"), QStringLiteral("Top"), margin));
        EXPECT_EQ(margin, QLatin1String(locale) == QLatin1String("C") ? QStringLiteral("1.75")
                                                                      : QStringLiteral("1,75"));
        QLocale::setDefault(before);
    }
    EXPECT_TRUE(QFile::exists(storeFile(Hive::Machine)));
    EXPECT_FALSE(QFile::exists(storeFile(Hive::User)));
    EXPECT_TRUE(messages.isEmpty());
}

struct StoredCase
{
    const char* what;
    const char* key; // below the root key; empty for the root itself
    const char* name;
    const char* stored;
    std::function<bool(const clsOptions&)> holds;
};

TEST_F(PersistenceTest, StoredTextsLoadAsTheRulesSay)
{
    const std::vector<StoredCase> cases = {
        {"blank ExportPath stays a blank", "", "ExportPath", " ",
         [](const clsOptions& o) { return o.ExportPath == u" "; }},
        {"watermark file is trimmed", "", "Watermark Bitmap File", "  a.bmp ",
         [](const clsOptions& o) { return o.WatermarkBitmapFile == u"a.bmp"; }},
        {"device is not trimmed", "", "Device", " lp ",
         [](const clsOptions& o) { return o.Device == u" lp "; }},
        {"font size 0 becomes 8", "Fonts\\Keywords", "Size", "0",
         [](const clsOptions& o) { return o.Font(tokenclass::Keywords).Size == 8; }},
        {"font size 72 becomes 8", "Fonts\\Strings", "Size", "72",
         [](const clsOptions& o) { return o.Font(tokenclass::Strings).Size == 8; }},
        {"font size 71 stays", "Fonts\\Text", "Size", "71",
         [](const clsOptions& o) { return o.Font(tokenclass::Text).Size == 71; }},
        {"font colour 0 stays black", "Fonts\\Keywords", "Color", "0",
         [](const clsOptions& o) { return o.Font(tokenclass::Keywords).Color == 0; }},
        {"system font colour becomes dark blue", "Fonts\\Comments", "Color", "-2147483640",
         [](const clsOptions& o) { return o.Font(tokenclass::Comments).Color == 0x800000; }},
        {"\"true\" reads as false", "", "View Exported File", "true",
         [](const clsOptions& o) { return !o.ViewExportedFile; }},
        {"\"-1\" reads as true", "", "Toolbar Visible", "-1",
         [](const clsOptions& o) { return o.ToolbarVisible; }},
        {"\"True\" reads as true", "Bitmaps", "New Page After", "True",
         [](const clsOptions& o) { return o.bmNewPageAfter; }},
        {"letters in Columns give the default", "", "Columns", "three",
         [](const clsOptions& o) { return o.Columns == 1; }},
        {"letters in Zoom give the default", "", "Zoom", "big",
         [](const clsOptions& o) { return o.Zoom == 100; }},
        {"a number too big for its field gives the default", "", "Line Number Step", "70000",
         [](const clsOptions& o) { return o.LineNumberStep == 1; }},
        {"value names ignore case", "Header Codes", "center", "Mid",
         [](const clsOptions& o) {
             return o.HeaderCodes.at(QStringLiteral("Header Codes")).Centre == u"Mid";
         }},
        {"key names ignore case", "main window", "WIDTH", "9000",
         [](const clsOptions& o) { return o.MainWindowWidth == 9000 && o.VerticalSplitterPosition == 3150; }},
        {"language tab size", "LanguagePreferences\\JScript", "Tab Size", "7",
         [](const clsOptions& o) { return o.JScriptOptions.TabSize == 7 && o.VBScriptOptions.TabSize == 2; }},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        Regtools().DeleteKey(HKLM, QStringLiteral("Software"));
        putRaw(*c.key ? sub(c.key) : OptionsRootKey, QLatin1String(c.name), QLatin1String(c.stored));
        // Read after everything else on the root: shows that loading went on past a bad value.
        putRaw(OptionsRootKey, QStringLiteral("Client Side Scripting Language"), QStringLiteral("2"));
        int validations = 0;
        LoadOptionsFromStore([&] { ++validations; });
        EXPECT_TRUE(c.holds(Options()));
        EXPECT_EQ(Options().ClientSideScriptingLanguage, 2);
        EXPECT_EQ(validations, 1);
    }
}

TEST_F(PersistenceTest, EmptyExportPathIsSavedAsOneBlankAndLoadsBackAsIt)
{
    Options().ExportPath.clear();
    SaveOptionsToStore({});
    QString stored;
    ASSERT_TRUE(Regtools().GetKeyValue(HKLM, OptionsRootKey, QStringLiteral("ExportPath"), stored));
    EXPECT_EQ(stored, u" ");
    restart();
    LoadOptionsFromStore({});
    EXPECT_EQ(Options().ExportPath, u" ");
}

TEST_F(PersistenceTest, HeaderCentreIsStoredAsCenter)
{
    Options().HeaderCodes.at(QStringLiteral("Header Codes")).Centre = QStringLiteral("{Page Number}");
    SaveOptionsToStore({});
    QString stored;
    EXPECT_TRUE(Regtools().GetKeyValue(HKLM, sub("Header Codes"), QStringLiteral("Center"), stored));
    EXPECT_EQ(stored, u"{Page Number}");
    EXPECT_FALSE(Regtools().GetKeyValue(HKLM, sub("Header Codes"), QStringLiteral("Centre"), stored));
}

TEST_F(PersistenceTest, PrintTocWrittenAndReadUnderOneName)
{
    // A value stored in other letters is overwritten in place, not doubled.
    putRaw(OptionsRootKey, QStringLiteral("printtoc"), QStringLiteral("1"));
    Options().PrintToc = false;
    SaveOptionsToStore({});
    QSettings raw(storeFile(Hive::Machine), QSettings::IniFormat);
    int tocEntries = 0;
    for (const QString& k : raw.allKeys())
        tocEntries += k.endsWith(QLatin1String("/printtoc"), Qt::CaseInsensitive) ? 1 : 0;
    EXPECT_EQ(tocEntries, 1);
    restart();
    LoadOptionsFromStore({});
    EXPECT_FALSE(Options().PrintToc);
}

TEST_F(PersistenceTest, ResettingFontsRemovesTheFontsKeyWithAllSubkeys)
{
    Options().Font(tokenclass::Keywords).Size = 20;
    SaveOptionsToStore({});
    putRaw(sub("Fonts\\Keywords\\Extra\\Deeper"), QStringLiteral("Name"), QStringLiteral("x"));
    putRaw(sub("Fonts\\Unknown Class"), QStringLiteral("Size"), QStringLiteral("12"));
    ResetStoredFontDefaults();
    EXPECT_EQ(Options().Font(tokenclass::Keywords).Size, 8);
    EXPECT_EQ(snapshot(Options()), snapshot(defaultsNow()));
    restart();
    EXPECT_FALSE(store(Hive::Machine).keyExists(sub("Fonts")));
    EXPECT_TRUE(store(Hive::Machine).subkeys(sub("Fonts")).isEmpty());
    QString kept;
    EXPECT_TRUE(Regtools().GetKeyValue(HKLM, OptionsRootKey, QStringLiteral("Columns"), kept));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PersistenceTest, WithoutMachineAccessEverythingGoesToTheUserHive)
{
    setStoreFolders(blockedDir(), userDir);
    Options().Columns = 3;
    SaveOptionsToStore({});
    EXPECT_EQ(CurrentHive(), HKCU);
    EXPECT_TRUE(QFile::exists(storeFile(Hive::User)));
    restart();
    LoadOptionsFromStore({});
    EXPECT_EQ(Options().Columns, 3);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PersistenceTest, NeitherHiveWritableIsToldOnce)
{
    setStoreFolders(blockedDir(), tmp.filePath(QStringLiteral("blocker/user")));
    LoadOptionsFromStore({});
    SaveOptionsToStore({});
    SaveOption(OptionsRootKey, QStringLiteral("Columns"), 2);
    EXPECT_EQ(ReadOption(OptionsRootKey, QStringLiteral("File Filter"), QStringLiteral("d")), u"d");
    ASSERT_EQ(messages, QStringList{QStringLiteral("Failure to update registry")});
    EXPECT_EQ(icons.first(), MessageIcon::Error);
    EXPECT_EQ(CurrentHive(), HKLM);
    EXPECT_EQ(snapshot(Options()), snapshot(defaultsNow()));
    // Once a hive takes writes again, a later failure is told again.
    setStoreFolders(machineDir, userDir);
    SaveOption(OptionsRootKey, QStringLiteral("Columns"), 2);
    setStoreFolders(blockedDir(), tmp.filePath(QStringLiteral("blocker/user")));
    SaveOption(OptionsRootKey, QStringLiteral("Columns"), 2);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(PersistenceTest, ReadOptionAndSaveOptionConventions)
{
    SaveOption(OptionsRootKey, QStringLiteral("Flag"), true);
    SaveOption(OptionsRootKey, QStringLiteral("Off"), false);
    SaveOption(OptionsRootKey, QStringLiteral("Empty"), QString());
    SaveOption(OptionsRootKey, QStringLiteral("Number"), -4);
    SaveOption(sub("Deep\\\\Key"), QStringLiteral("Text"), QStringLiteral("a,b"));
    EXPECT_EQ(ReadOption(OptionsRootKey, QStringLiteral("FLAG"), QStringLiteral("?")), u"1");
    EXPECT_EQ(ReadOption(OptionsRootKey, QStringLiteral("off"), QStringLiteral("?")), u"0");
    EXPECT_EQ(ReadOption(OptionsRootKey, QStringLiteral("Empty"), QStringLiteral("?")), u" ");
    EXPECT_EQ(ReadOption(OptionsRootKey, QStringLiteral("Number"), QStringLiteral("?")), u"-4");
    EXPECT_EQ(ReadOption(sub("Deep\\Key"), QStringLiteral("Text"), QStringLiteral("?")), u"a,b");
    EXPECT_TRUE(ReadOption(OptionsRootKey, QStringLiteral("Flag"), false));
    EXPECT_FALSE(ReadOption(OptionsRootKey, QStringLiteral("Empty"), true));
    EXPECT_TRUE(ReadOption(OptionsRootKey, QStringLiteral("Missing"), true));
    EXPECT_EQ(ReadOption(OptionsRootKey, QStringLiteral("Missing"), QStringLiteral("dflt")), u"dflt");
    // What was written is in the file, not only in memory.
    restart();
    EXPECT_EQ(ReadOption(sub("deep\\key"), QStringLiteral("text"), QStringLiteral("?")), u"a,b");
}

struct TextCase
{
    const char* text;
    std::optional<qint64> integer;
    bool boolean;
};

TEST(StoredConversions, IntegersAndBooleans)
{
    const TextCase cases[] = {
        {"100", 100, false},
        {"-4", -4, false},
        {" 7 ", 7, false},
        {"1", 1, true},
        {"-1", -1, true},
        {"True", std::nullopt, true},
        {"true", std::nullopt, false},
        {"TRUE", std::nullopt, false},
        {"2.5", 2, false},
        {"3.5", 4, false},
        {"abc", std::nullopt, false},
        {"", std::nullopt, false},
        {"0", 0, false},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StoredInteger(QLatin1String(c.text)), c.integer);
        EXPECT_EQ(StringToBoolean(QLatin1String(c.text)), c.boolean);
    }
    EXPECT_EQ(BooleanToString(true), u"1");
    EXPECT_EQ(BooleanToString(false), u"0");
}

TEST(StoredConversions, RealsReadInEitherSeparator)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(RealToStored(0.5), u"0,5");
    EXPECT_EQ(RealToStored(12345.5), u"12345,5");
    EXPECT_EQ(StoredReal(QStringLiteral("0,5")), 0.5);
    EXPECT_EQ(StoredReal(QStringLiteral("0.5")), 0.5);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(RealToStored(0.5), u"0.5");
    EXPECT_EQ(StoredReal(QStringLiteral("0,5")), 0.5);
    EXPECT_EQ(StoredReal(QStringLiteral("x")), std::nullopt);
    QLocale::setDefault(before);
}

class RegtoolsTest : public PersistenceTest
{};

TEST_F(RegtoolsTest, HiveNamesAndValues)
{
    Regtools r;
    QString v = QStringLiteral("untouched");
    EXPECT_TRUE(r.UpdateKey(QStringLiteral("hkey_current_user"), QStringLiteral("A\\B"), QStringLiteral("N"),
                            QString()));
    EXPECT_TRUE(r.GetKeyValue(HKCU, QStringLiteral("a\\b"), QStringLiteral("n"), v));
    EXPECT_EQ(v, u" ");
    EXPECT_FALSE(r.UpdateKey(QStringLiteral("HKEY_USERS"), QStringLiteral("A"), QStringLiteral("N"),
                             QStringLiteral("x")));
    EXPECT_FALSE(
        r.UpdateKey(QStringLiteral("HKLM"), QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("x")));
    v = QStringLiteral("untouched");
    EXPECT_FALSE(r.GetKeyValue(HKLM, QStringLiteral("A\\B"), QStringLiteral("N"), v));
    EXPECT_EQ(v, u"untouched");
    EXPECT_TRUE(r.DeleteKey(HKCU, QStringLiteral("A\\B"), QStringLiteral("N")));
    EXPECT_FALSE(r.DeleteKey(HKCU, QStringLiteral("A\\B"), QStringLiteral("N")));
    EXPECT_FALSE(r.DeleteKey(HKCU, QStringLiteral("No\\Such\\Key")));
}

TEST_F(RegtoolsTest, DeletingAKeyTakesEverySubkey)
{
    Regtools r;
    for (const char* key : {"Top\\One", "Top\\One\\Two\\Three", "Top\\Other", "Topping"})
        ASSERT_TRUE(r.UpdateKey(HKLM, QLatin1String(key), QStringLiteral("V"), QStringLiteral("1")));
    EXPECT_EQ(store(Hive::Machine).subkeys(QStringLiteral("top")),
              (QStringList{QStringLiteral("Top\\One"), QStringLiteral("Top\\Other")}));
    EXPECT_TRUE(r.DeleteKey(HKLM, QStringLiteral("TOP")));
    store(Hive::Machine).reload();
    EXPECT_FALSE(store(Hive::Machine).keyExists(QStringLiteral("Top\\One\\Two")));
    EXPECT_FALSE(store(Hive::Machine).keyExists(QStringLiteral("Top")));
    QString v;
    EXPECT_TRUE(r.GetKeyValue(HKLM, QStringLiteral("Topping"), QStringLiteral("V"), v));
}

TEST_F(RegtoolsTest, AFailedWriteIsDetected)
{
    SettingsStore s(QDir(machineDir).filePath(QStringLiteral("Quorvane/Folionix.ini")));
    EXPECT_TRUE(s.probeWritable());
    ASSERT_TRUE(s.setValue(QStringLiteral("K"), QStringLiteral("N"), QStringLiteral("1")));
    // The folder turns into a plain file: neither the temporary file nor the rename can succeed.
    ASSERT_TRUE(QDir(QDir(machineDir).filePath(QStringLiteral("Quorvane"))).removeRecursively());
    testsupport::writeFile(tmp, QStringLiteral("machine/Quorvane"), "x");
    EXPECT_FALSE(s.probeWritable());
    EXPECT_FALSE(s.setValue(QStringLiteral("K"), QStringLiteral("N"), QStringLiteral("2")));
}

TEST_F(RegtoolsTest, ABatchReachesTheFileInOneWrite)
{
    SettingsStore s(QDir(machineDir).filePath(QStringLiteral("Quorvane/Folionix.ini")));
    s.beginBatch();
    ASSERT_TRUE(s.setValue(QStringLiteral("K"), QStringLiteral("A"), QStringLiteral("1")));
    ASSERT_TRUE(s.setValue(QStringLiteral("K"), QStringLiteral("B"), QStringLiteral("2")));
    EXPECT_FALSE(QFile::exists(s.filePath()));
    EXPECT_EQ(s.value(QStringLiteral("k"), QStringLiteral("b")), QStringLiteral("2"));
    EXPECT_TRUE(s.endBatch());
    SettingsStore again(s.filePath());
    EXPECT_EQ(again.value(QStringLiteral("K"), QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(again.value(QStringLiteral("K"), QStringLiteral("B")), QStringLiteral("2"));
}

} // namespace
