#include <WindowRoutines.h>

#include <ErrorTrace.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListView>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace folionix::test {
namespace {

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class WindowRoutinesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mendwick::setReportSink([this](const QString&, const QString& report) { reports << report; });
    }
    void TearDown() override
    {
        mendwick::resetReportSink();
        // Nothing modal may outlive a test.
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
    }
    QStringList reports;
};

// ---- PositionItemInControl ------------------------------------------------------------------------------

const QStringList fonts = {"Arial",  "Arial Black", "Courier",         "Courier New", "Lucida Console",
                           "Tahoma", "Times",       "Times New Roman", "Verdana",     "Courier Prime"};

struct SearchCase
{
    const char* text;
    int expected;
    const char* why;
};

// The search starts after index length + 1 and goes round; an equal entry wins over a prefix.
const SearchCase searchCases[] = {
    {"Arial", 0, "equal entry"},
    {"arial black", 1, "equal, any case"},
    {"Courier", 2, "equal entry beats the prefix matches after the start"},
    {"Cour", 9, "prefix: search begins after index 5, so Courier Prime comes first"},
    {"Ar", 0, "prefix: begins after index 3, goes round to Arial"},
    {"Ti", 6, "prefix: begins after index 3, Times before Times New Roman"},
    {"times n", 7, "prefix, any case"},
    {"Verdana", 8, "equal entry"},
    {"Lucida Console", 4, "text longer than the list: whole list from the top"},
    {"Helvetica", -1, "nothing matches"},
    {"Arial Blackest", -1, "longer than every entry"},
    {"", -1, "empty text selects nothing"},
};

TEST_F(WindowRoutinesTest, FindListEntryFollowsTheSearchOrder)
{
    for (const SearchCase& c : searchCases)
        EXPECT_EQ(FindListEntry(fonts, QString::fromUtf8(c.text)), c.expected) << c.text << ": " << c.why;
    EXPECT_EQ(FindListEntry({}, QStringLiteral("x")), -1);
    EXPECT_EQ(FindListEntry({"a1", "a2", "a3"}, QStringLiteral("a")), 0) << "start after 2: round to 0";
    EXPECT_EQ(FindListEntry({"a1", "a2", "a3", "a4"}, QStringLiteral("a")), 3) << "start after 2";
}

TEST_F(WindowRoutinesTest, ComboBoxSelectsByTheSearchOrder)
{
    QComboBox combo;
    combo.addItems(fonts);
    for (const SearchCase& c : searchCases) {
        combo.setCurrentIndex(5);
        QSignalSpy changed(&combo, &QComboBox::currentIndexChanged);
        EXPECT_EQ(PositionItemInControl(&combo, QString::fromUtf8(c.text)), c.expected) << c.text;
        EXPECT_EQ(combo.currentIndex(), c.expected >= 0 ? c.expected : 5) << c.text << ": " << c.why;
        EXPECT_EQ(changed.size(), c.expected >= 0 && c.expected != 5 ? 1 : 0) << c.text;
    }
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(WindowRoutinesTest, ListWidgetSelectsByTheSearchOrder)
{
    QListWidget list;
    list.addItems(fonts);
    for (const SearchCase& c : searchCases) {
        list.setCurrentRow(5);
        EXPECT_EQ(PositionItemInControl(&list, QString::fromUtf8(c.text)), c.expected) << c.text;
        const int row = c.expected >= 0 ? c.expected : 5;
        EXPECT_EQ(list.currentRow(), row) << c.text << ": " << c.why;
        ASSERT_EQ(list.selectedItems().size(), 1) << c.text;
        EXPECT_EQ(list.selectedItems().front()->text(), fonts[row]) << c.text;
    }
}

TEST_F(WindowRoutinesTest, TreeWidgetSearchesTopLevelItems)
{
    QTreeWidget tree;
    tree.setColumnCount(2);
    for (const QString& name : fonts) {
        auto* item = new QTreeWidgetItem(&tree, {name, QStringLiteral("size")});
        // Children are not entries of the list.
        new QTreeWidgetItem(item, {QStringLiteral("Cour child")});
    }
    for (const SearchCase& c : searchCases) {
        tree.setCurrentItem(tree.topLevelItem(5));
        EXPECT_EQ(PositionItemInControl(&tree, QString::fromUtf8(c.text)), c.expected) << c.text;
        const int row = c.expected >= 0 ? c.expected : 5;
        EXPECT_EQ(tree.currentItem(), tree.topLevelItem(row)) << c.text << ": " << c.why;
        ASSERT_EQ(tree.selectedItems().size(), 1) << c.text;
        EXPECT_EQ(tree.selectedItems().front(), tree.topLevelItem(row)) << c.text;
    }
}

TEST_F(WindowRoutinesTest, ViewOfAMultiSelectionListEndsWithOneEntrySelected)
{
    QListWidget list;
    list.addItems(fonts);
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.item(0)->setSelected(true);
    list.item(3)->setSelected(true);
    EXPECT_EQ(PositionItemInControl(&list, QStringLiteral("Courier New")), 3);
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().front()->text(), QStringLiteral("Courier New"));
}

TEST_F(WindowRoutinesTest, ListViewSearchesTheColumnItShows)
{
    QStandardItemModel model(3, 2);
    const char* rows[][2] = {{"1", "Zoom 50%"}, {"2", "Zoom 100%"}, {"3", "Zoom 200%"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            model.setItem(r, c, new QStandardItem(QString::fromUtf8(rows[r][c])));
    QListView view;
    view.setModel(&model);
    view.setModelColumn(1);
    EXPECT_EQ(PositionItemInControl(&view, QStringLiteral("zoom 100")), 1);
    EXPECT_EQ(view.currentIndex(), model.index(1, 1));
    EXPECT_EQ(PositionItemInControl(&view, QStringLiteral("3")), -1) << "column 0 is not shown";
    EXPECT_EQ(view.currentIndex(), model.index(1, 1));

    QTableView table;
    table.setModel(&model);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    EXPECT_EQ(PositionItemInControl(&table, QStringLiteral("3")), 2);
    EXPECT_EQ(table.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(table.selectionModel()->selectedRows().front().row(), 2);
}

TEST_F(WindowRoutinesTest, MissingControlIsReported)
{
    EXPECT_EQ(PositionItemInControl(static_cast<QComboBox*>(nullptr), QStringLiteral("x")), -1);
    EXPECT_EQ(PositionItemInControl(static_cast<QListWidget*>(nullptr), QStringLiteral("x")), -1);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("PositionItemInControl")));
    EXPECT_TRUE(reports[0].contains(QStringLiteral("91")));
    QListView noModel;
    EXPECT_EQ(PositionItemInControl(&noModel, QStringLiteral("x")), -1);
}

// ---- ShowCaption --------------------------------------------------------------------------------------

TEST_F(WindowRoutinesTest, ShowCaptionSetsTitleVersionAndIcon)
{
    const QString oldName = QGuiApplication::applicationDisplayName();
    const mendwick::AppInfo oldApp = mendwick::App();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(pixmap));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Folionix"));

    struct Case
    {
        int major;
        int minor;
        const char* caption;
    };
    const Case cases[] = {{1, 4, "Folionix 1.4"}, {0, 0, "Folionix 0.0"}, {2, 10, "Folionix 2.10"}};
    for (const Case& c : cases) {
        mendwick::App().Major = c.major;
        mendwick::App().Minor = c.minor;
        QDialog window;
        ShowCaption(&window);
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        EXPECT_FALSE(window.windowIcon().isNull());
    }

    ShowCaption(nullptr);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.front().contains(QStringLiteral("ShowCaption")));

    mendwick::App() = oldApp;
    QGuiApplication::setApplicationDisplayName(oldName);
    QApplication::setWindowIcon(QIcon());
}

// ---- ShowForm and ForceForegroundWindow -----------------------------------------------------------------

QPoint centreOf(const QRect& r)
{
    return r.center();
}

void expectNear(const QPoint& a, const QPoint& b, const char* what)
{
    EXPECT_LE((a - b).manhattanLength(), 4)
        << what << ": " << a.x() << "," << a.y() << " vs " << b.x() << "," << b.y();
}

TEST_F(WindowRoutinesTest, ShowFormWithoutOwnerCentresOnTheScreenModally)
{
    QDialog form;
    form.setObjectName(QStringLiteral("frmAbout"));
    form.resize(200, 100);
    ShowForm(&form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), &form);
    EXPECT_EQ(form.parentWidget(), nullptr);
    expectNear(centreOf(form.frameGeometry()), form.screen()->availableGeometry().center(), "screen centre");
    EXPECT_TRUE(form.isActiveWindow());
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(WindowRoutinesTest, ShowFormWithOwnerCentresOnTheOwner)
{
    QWidget owner;
    owner.setObjectName(QStringLiteral("frmMain"));
    owner.setGeometry(40, 60, 500, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    auto* form = new QDialog;
    form->resize(180, 120);
    ShowForm(form, &owner);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    EXPECT_EQ(form->parentWidget(), &owner) << "owned, so deleted with the owner";
    EXPECT_TRUE(form->isWindow());
    EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
    expectNear(centreOf(form->frameGeometry()), centreOf(owner.frameGeometry()), "owner centre");
    EXPECT_TRUE(form->isActiveWindow());
    EXPECT_FALSE(owner.isActiveWindow());
    EXPECT_EQ(QApplication::activeModalWidget(), form);
    form->close();
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(WindowRoutinesTest, ShowFormOfAShownWindowOnlyBringsItForward)
{
    QWidget other;
    other.setGeometry(0, 0, 100, 100);
    QDialog form;
    form.setGeometry(123, 77, 150, 90);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint placed = form.pos();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());

    ShowForm(&form, &other);
    EXPECT_EQ(form.pos(), placed) << "not centred again";
    EXPECT_EQ(form.parentWidget(), nullptr) << "not re-owned while shown";
    EXPECT_EQ(form.windowModality(), Qt::NonModal);
    EXPECT_TRUE(form.isActiveWindow());
    EXPECT_TRUE(reports.isEmpty()) << "the already-shown case is no error";
}

TEST_F(WindowRoutinesTest, ShowFormOfNothingIsReported)
{
    ShowForm(nullptr);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.front().contains(QStringLiteral("ShowForm")));
}

TEST_F(WindowRoutinesTest, ForceForegroundWindowTable)
{
    QWidget first;
    first.setGeometry(0, 0, 120, 80);
    QWidget second;
    second.setGeometry(200, 0, 120, 80);
    first.show();
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));

    EXPECT_TRUE(ForceForegroundWindow(&first));
    EXPECT_TRUE(first.isActiveWindow());
    EXPECT_TRUE(ForceForegroundWindow(&first)) << "already in front";
    EXPECT_TRUE(ForceForegroundWindow(&second));
    EXPECT_FALSE(first.isActiveWindow());

    // A child widget brings its window forward.
    auto* button = new QWidget(&first);
    EXPECT_TRUE(ForceForegroundWindow(button));
    EXPECT_TRUE(first.isActiveWindow());

    // A minimised window is restored.
    second.showMinimized();
    QTRY_VERIFY(second.isMinimized());
    EXPECT_TRUE(ForceForegroundWindow(&second));
    EXPECT_FALSE(second.isMinimized());
    EXPECT_TRUE(second.isActiveWindow());

    QWidget hidden;
    EXPECT_FALSE(ForceForegroundWindow(&hidden));
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_FALSE(ForceForegroundWindow(nullptr));
}

// ---- AddSystemMenu ------------------------------------------------------------------------------------

TEST_F(WindowRoutinesTest, AddSystemMenuGivesACloseBox)
{
    const Qt::WindowFlags wanted = Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    struct Case
    {
        Qt::WindowFlags flags;
        bool shown;
    };
    const Case cases[] = {
        {Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint, false},
        {Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint, true},
        {Qt::Window | Qt::CustomizeWindowHint, true},
        {Qt::Window, false},
    };
    for (const Case& c : cases) {
        QWidget window(nullptr, c.flags);
        window.setGeometry(30, 40, 160, 90);
        if (c.shown) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        const Qt::WindowType type = window.windowType();
        AddSystemMenu(&window);
        EXPECT_TRUE(window.windowFlags().testFlags(wanted)) << int(c.flags);
        EXPECT_TRUE(window.windowFlags().testFlags(c.flags)) << "nothing taken away";
        EXPECT_EQ(window.windowType(), type);
        EXPECT_EQ(window.isVisible(), c.shown);
    }
    AddSystemMenu(nullptr);
}

} // namespace
} // namespace folionix::test
