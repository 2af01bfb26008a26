#include <DataFiles.h>
#include <OptionsValidation.h>
#include <Regtools.h>
#include <UserMessages.h>

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace folionix;

namespace {

class PersistenceValidationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(tmp.filePath(QStringLiteral("machine")));
        QDir().mkpath(tmp.filePath(QStringLiteral("user")));
        setStoreFolders(tmp.filePath(QStringLiteral("machine")), tmp.filePath(QStringLiteral("user")));
        setDataFolders(tmp.filePath(QStringLiteral("program")), tmp.filePath(QStringLiteral("share")),
                       tmp.filePath(QStringLiteral("data")));
        Options().ApplyDefaults(DefaultScreenTwips());
    }
    void TearDown() override
    {
        resetStoreFolders();
        resetDataFolders();
        Options().ApplyDefaults(DefaultScreenTwips());
    }
    QTemporaryDir tmp;
};

TEST_F(PersistenceValidationTest, LoadingCorrectsOutOfRangePrinterSettings)
{
    const QString root = OptionsRootKey;
    Regtools r;
    ASSERT_TRUE(r.UpdateKey(QStringLiteral("HKEY_LOCAL_MACHINE"), root, QStringLiteral("Columns"),
                            QStringLiteral("9")));
    ASSERT_TRUE(r.UpdateKey(QStringLiteral("HKEY_LOCAL_MACHINE"), root, QStringLiteral("Duplex"),
                            QStringLiteral("7")));
    ASSERT_TRUE(r.UpdateKey(QStringLiteral("HKEY_LOCAL_MACHINE"), root, QStringLiteral("Page Border"),
                            QStringLiteral("2")));
    LoadOptions();
    EXPECT_EQ(Options().Columns, 1);
    EXPECT_EQ(Options().Duplex, 1);
    EXPECT_EQ(Options().PageBorder, 2);
}

TEST_F(PersistenceValidationTest, SavingValidatesBeforeWriting)
{
    Options().Columns = 0;
    Options().LineSpacing = 9;
    SaveOptions();
    QString columns;
    QString spacing;
    Regtools r;
    ASSERT_TRUE(r.GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE"), OptionsRootKey, QStringLiteral("Columns"),
                              columns));
    ASSERT_TRUE(r.GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE"), OptionsRootKey,
                              QStringLiteral("Line Spacing"), spacing));
    EXPECT_EQ(columns, u"1");
    EXPECT_EQ(spacing, u"1");
}

} // namespace
