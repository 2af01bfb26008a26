#include <SettingsFields.h>

#include <gtest/gtest.h>

using namespace folionix;

namespace {

TEST(SettingsFields, SetByNameTable)
{
    struct Case
    {
        const char* path;
        const char* value;
        bool ok;
        const char* readBack; // value as read back when ok
    };
    const Case cases[] = {
        {"Columns", "2", true, "2"},
        {"columns", "3", true, "3"},
        {"LineNumberStep", "5", true, "5"},
        {"LineNumberStep", "40000", false, nullptr}, // beyond 16 bits
        {"LineNumbersRequired", "no", true, "0"},
        {"LineNumbersRequired", "-1", true, "1"},
        {"LineNumbersRequired", "maybe", false, nullptr},
        {"MarginLeft", "1.25", true, "1.25"},
        {"MarginLeft", "wide", false, nullptr},
        {"MeasuringSystem", "cm", true, "cm"},
        {"SourceFontColor", "0x80000008", true, "-2147483640"},
        {"VBScriptOptions.TabSize", "4", true, "4"},
        {"JScriptOptions.PrintScriptIndicator", "0", true, "0"},
        {"Fonts.Keywords.Bold", "1", true, "1"},
        {"Fonts.Line Numbers.Size", "10", true, "10"},
        {"Fonts.Keywords.Colour", "1", false, nullptr},
        {"Fonts.Nothing.Bold", "1", false, nullptr},
        {"HeaderCodes.Footer Codes.Centre", "{Blank}", true, "{Blank}"},
        {"NoSuchSetting", "1", false, nullptr},
        {"VBScriptOptions", "1", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        clsOptions o;
        o.ApplyDefaults(QSize(28800, 16200));
        QString error;
        const auto before = SettingValueByName(o, QString::fromLatin1(c.path));
        EXPECT_EQ(SetSettingByName(o, QString::fromLatin1(c.path), QString::fromLatin1(c.value), &error),
                  c.ok);
        if (c.ok) {
            EXPECT_TRUE(error.isEmpty());
            EXPECT_EQ(SettingValueByName(o, QString::fromLatin1(c.path)).value_or(QString()),
                      QLatin1String(c.readBack));
        } else {
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(SettingValueByName(o, QString::fromLatin1(c.path)), before); // unchanged
        }
    }
}

TEST(SettingsFields, ChangesOnlyTheNamedRecord)
{
    clsOptions o;
    o.ApplyDefaults(QSize(28800, 16200));
    ASSERT_TRUE(SetSettingByName(o, QStringLiteral("VBScriptOptions.TabSize"), QStringLiteral("4"), nullptr));
    EXPECT_EQ(o.VBScriptOptions.TabSize, 4);
    EXPECT_EQ(o.JScriptOptions.TabSize, 2);
    EXPECT_EQ(o.HTMLOptions.TabSize, 2);
}

TEST(SettingsFields, EveryListedNameReadsBack)
{
    clsOptions o;
    o.ApplyDefaults(QSize(28800, 16200));
    const QStringList names = SettingNames(o);
    EXPECT_EQ(names.size(), 55 + 3 * 12 + 12 * 6 + 2 * 3);
    for (const QString& name : names)
        EXPECT_TRUE(SettingValueByName(o, name).has_value()) << name.toStdString();
}

} // namespace
