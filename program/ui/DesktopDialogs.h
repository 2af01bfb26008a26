#pragma once

class QWidget;

namespace folionix {

// Routes the program's messages, Yes/No questions and "pick an application" requests to dialogs over
// parent (the main window). Call once the QApplication exists.
void installDesktopDialogs(QWidget* parent);

} // namespace folionix
