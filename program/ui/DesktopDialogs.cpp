#include "DesktopDialogs.h"

#include <CommonRoutines.h>
#include <ErrorTrace.h>
#include <UserMessages.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>

namespace folionix {

namespace {

QString title()
{
    return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                            : QApplication::applicationDisplayName();
}

// Message texts separate their lines with CR.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void installDesktopDialogs(QWidget* parent)
{
    const QPointer<QWidget> owner(parent);
    setMessageHandler([owner](const QString& text, MessageIcon icon) {
        QMessageBox box(iconOf(icon), title(), displayText(text), QMessageBox::Ok, owner.data());
        box.exec();
    });
    setQuestionHandler([owner](const QString& question) {
        return QMessageBox::question(owner.data(), title(), displayText(question),
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
    setApplicationChooser([owner](const QString& fileName) {
        const QString program =
            QFileDialog::getOpenFileName(owner.data(), QStringLiteral("Open With"),
                                         QStringLiteral("/usr/bin"), QStringLiteral("Programs (*)"));
        if (program.isEmpty())
            return;
        if (!QFileInfo(program).isExecutable() || !QProcess::startDetached(program, {fileName}))
            ShowMessage(QStringLiteral("Failure to open the exported file. ") + ShellResultText(11),
                        MessageIcon::Error);
    });
}

} // namespace folionix
