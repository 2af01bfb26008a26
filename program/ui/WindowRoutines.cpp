#include "WindowRoutines.h"

#include <ErrorTrace.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QScreen>
#include <QWidget>

namespace folionix {

namespace {

// A window routine without a window is a caller's fault worth a report, not a crash.
void requireWidget(const void* widget)
{
    if (!widget)
        throw mendwick::AppError(91, QStringLiteral("Object variable or With block variable not set"),
                                 QStringLiteral("basCommonRoutines"));
}

// Centres a window that is about to be shown over its owner, or else over the available screen.
void centre(QWidget* window, QWidget* owner)
{
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    QRect area;
    if (owner) {
        area = owner->frameGeometry();
    } else {
        QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        area = screen->availableGeometry();
    }
    window->move(area.center() - window->rect().center());
}

// The select-string search order: after the entry at index `after`, round from the top back to it.
template <typename Match> int searchFrom(const QStringList& entries, qsizetype after, Match match)
{
    const qsizetype count = entries.size();
    const qsizetype first = after + 1 < count ? after + 1 : 0;
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype i = (first + k) % count;
        if (match(entries[i]))
            return int(i);
    }
    return -1;
}

} // namespace

void ShowCaption(QWidget* window)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "ShowCaption");
    mendwick::Guard(trace, [&] {
        requireWidget(window);
        const mendwick::AppInfo& app = mendwick::App();
        window->setWindowTitle(QGuiApplication::applicationDisplayName() + u' ' + QString::number(app.Major) +
                               u'.' + QString::number(app.Minor));
        window->setWindowIcon(QApplication::windowIcon());
    });
}

void ShowForm(QWidget* window, QWidget* owner)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "ShowForm");
    mendwick::Guard(trace, [&] {
        requireWidget(window);
        QWidget* ownerWindow = owner ? owner->window() : nullptr;
        if (ownerWindow == window)
            ownerWindow = nullptr;
        // A window on screen cannot be made modal again; like the "already shown" error, that step is
        // skipped and the rest still runs.
        if (!window->isVisible()) {
            if (ownerWindow) {
                trace.Stage("Show the form, modally with parent ", ownerWindow->objectName());
                if (window->parentWidget() != ownerWindow)
                    window->setParent(ownerWindow, window->windowFlags() | Qt::Window);
            } else {
                trace.Stage("Show the form modally");
            }
            window->setWindowModality(Qt::ApplicationModal);
            centre(window, ownerWindow);
            window->show();
        }
        QCoreApplication::processEvents();
        trace.Stage("Bring the form to the top ", window->objectName());
        window->raise();
        ForceForegroundWindow(window);
    });
}

int FindListEntry(const QStringList& entries, const QString& text)
{
    if (text.isEmpty())
        return -1;
    const qsizetype after = text.size() + 1;
    // An exact entry first: "Courier" must not pick "Courier New" just because the search began there.
    const int exact = searchFrom(
        entries, after, [&](const QString& entry) { return entry.compare(text, Qt::CaseInsensitive) == 0; });
    if (exact >= 0)
        return exact;
    return searchFrom(entries, after,
                      [&](const QString& entry) { return entry.startsWith(text, Qt::CaseInsensitive); });
}

int PositionItemInControl(QComboBox* list, const QString& text)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "PositionItemInControl");
    return mendwick::Guard(
        trace,
        [&] {
            requireWidget(list);
            QStringList entries;
            entries.reserve(list->count());
            for (int i = 0; i < list->count(); ++i)
                entries << list->itemText(i);
            const int found = FindListEntry(entries, text);
            if (found >= 0)
                list->setCurrentIndex(found);
            return found;
        },
        -1);
}

int PositionItemInControl(QAbstractItemView* list, const QString& text)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "PositionItemInControl");
    return mendwick::Guard(
        trace,
        [&] {
            requireWidget(list);
            const QAbstractItemModel* model = list->model();
            if (!model)
                return -1;
            const auto* listView = qobject_cast<const QListView*>(list);
            const int column = listView ? listView->modelColumn() : 0;
            const QModelIndex root = list->rootIndex();
            QStringList entries;
            for (int row = 0; row < model->rowCount(root); ++row)
                entries << model->index(row, column, root).data(Qt::DisplayRole).toString();
            const int found = FindListEntry(entries, text);
            if (found < 0)
                return -1;
            const QModelIndex index = model->index(found, column, root);
            // One entry selected, as in a single-choice list, whatever the view's selection mode.
            QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::NoUpdate;
            if (list->selectionMode() != QAbstractItemView::NoSelection) {
                flags = QItemSelectionModel::ClearAndSelect;
                if (list->selectionBehavior() == QAbstractItemView::SelectRows)
                    flags |= QItemSelectionModel::Rows;
            }
            list->selectionModel()->setCurrentIndex(index, flags);
            list->scrollTo(index);
            return found;
        },
        -1);
}

bool ForceForegroundWindow(QWidget* window)
{
    if (!window)
        return false;
    QWidget* top = window->window();
    if (top->isVisible() && top->isActiveWindow())
        return true;
    if (!top->isVisible())
        return false;
    if (top->isMinimized())
        top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
    top->raise();
    top->activateWindow();
    // Activation comes back from the window system as an event; take it in before answering.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return top->isActiveWindow();
}

void AddSystemMenu(QWidget* window)
{
    if (!window)
        return;
    QWidget* top = window->window();
    const Qt::WindowFlags wanted = Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (top->windowFlags().testFlags(wanted))
        return;
    // Changing the flags hides a shown window; it comes back where it was.
    const bool shown = top->isVisible();
    top->setWindowFlags(top->windowFlags() | wanted);
    if (shown)
        top->show();
}

} // namespace folionix
