#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemView;
class QComboBox;
class QWidget;

// Window helpers of basCommonRoutines, on Qt widgets.
namespace folionix {

// Caption "<application display name> <major>.<minor>" (versions from the tracer's application
// object, as plain numbers) and the application's window icon, which is the main window's icon.
// A missing window is reported.
void ShowCaption(QWidget* window);

// Shows window application-modal, owned by owner when one is given (it becomes the window's transient
// parent), centred on the owner or else on the screen; then processes pending events, raises it and
// makes it the foreground window. Showing returns at once: the window blocks the rest of the program
// while it is open, as a modal window does, and the raise and foreground steps act on it while it is
// still on screen. A window that is already shown keeps its place and is only raised and activated.
void ShowForm(QWidget* window, QWidget* owner = nullptr);

// Where the select-string search of a list finds text among entries: an entry equal to text (ignoring
// case), else the first entry that begins with it; in both passes the search starts after the entry
// at index text length + 1 and goes round from the top. -1 when nothing matches or text is empty.
int FindListEntry(const QStringList& entries, const QString& text);

// Selects the entry FindListEntry picks and returns its index (selecting runs the control's change
// signals, as a click would). When nothing matches the selection stays and -1 is returned; a missing
// control is reported and gives -1 too. The view form searches the top-level rows of the model column
// the view shows (QListWidget, QTreeWidget, QListView, QTreeView).
int PositionItemInControl(QComboBox* list, const QString& text);
int PositionItemInControl(QAbstractItemView* list, const QString& text);

// Makes the top-level window of window the active one: restores it when minimised, raises it and asks
// the window system for activation. True when it is (or already was) the active window; a hidden
// window cannot be activated. Qt runs all windows on one thread, so there is no input to attach.
bool ForceForegroundWindow(QWidget* window);

// Gives a window the title bar's window menu and close button (Qt's system-menu and close-button
// hints), so that a window built without title-bar buttons can still be closed. A shown window stays
// shown.
void AddSystemMenu(QWidget* window);

} // namespace folionix
