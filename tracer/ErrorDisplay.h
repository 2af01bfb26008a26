#pragma once

#include "mendwick_export.h"

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace linkette {
class Linkette;
}

namespace mendwick {

// The error report window: the report, prepared as an e-mail to technical support, and a link to the
// web site. Created on the first report and reused.
class MENDWICK_EXPORT frmErrorDisplay : public QDialog
{
    Q_OBJECT
public:
    explicit frmErrorDisplay(QWidget* parent = nullptr);

    // Sets the message body to the report and the subject from the window's caption.
    void setErrDetails(const QString& report);

    // The mail link that Send Email opens: subject and body percent-encoded, so that "&", "?", "#" and
    // "%" in the report travel as text; blanks become %20 and line breaks %0A.
    QString mailLink() const;

    // How mail links are opened (default: the desktop's handler); tests replace it.
    using UrlOpener = std::function<bool(const QString& url)>;
    static void setUrlOpener(UrlOpener opener);

    QLabel* lblInstructions = nullptr;
    QLineEdit* txtTo = nullptr;
    QLineEdit* txtSubject = nullptr;
    QPlainTextEdit* txtBody = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;
    linkette::Linkette* lnkWebSite = nullptr;

private:
    void cmdSend_Click();
};

// The report window of this process, created on first use (needs a QApplication).
MENDWICK_EXPORT frmErrorDisplay& ErrorDisplay();

// Shows a report modally and top-most when the process has widgets, else writes it to standard error.
MENDWICK_EXPORT void presentReport(const QString& title, const QString& report);

} // namespace mendwick
