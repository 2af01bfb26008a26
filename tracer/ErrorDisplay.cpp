#include "ErrorDisplay.h"
#include "MendwickConfig.h"

#include <Linkette.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>

namespace mendwick {

namespace {

const char* const kInstructions =
    "An unexpected application error has occured. Please click on the Send Email button to email it to "
    "Tamberlow so that the error can be resolved in the future upgrades. Meanwhile please visit our web site "
    "to ensure that you are using the latest version of the software. \n\nThank you.";

frmErrorDisplay::UrlOpener& urlOpener()
{
    static frmErrorDisplay::UrlOpener opener;
    return opener;
}

bool openUrl(const QString& url)
{
    if (urlOpener())
        return urlOpener()(url);
    return QDesktopServices::openUrl(QUrl::fromEncoded(url.toUtf8()));
}

// Percent-encodes text for a mailto query: everything but unreserved characters, with every line
// break (CR LF, CR or LF) as one %0A.
QByteArray encodeMailText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    // Characters that mean nothing special inside a mailto value stay readable.
    return QUrl::toPercentEncoding(text, ",:;/()'!*@");
}

void writeToStderr(const QString& title, const QString& report)
{
    const QByteArray text = (title + QLatin1String("\n") + report).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fflush(stderr);
}

} // namespace

frmErrorDisplay::frmErrorDisplay(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmErrorDisplay"));
    setWindowTitle(QStringLiteral("UNEXPECTED PROGRAM ERROR"));
    setModal(true);

    lblInstructions = new QLabel(QString::fromUtf8(kInstructions), this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setWordWrap(true);
    lblInstructions->setFont(QFont(QStringLiteral("Verdana"), 10));

    txtTo = new QLineEdit(QString::fromLatin1(config::SupportEmail), this);
    txtTo->setObjectName(QStringLiteral("txtTo"));
    txtTo->setReadOnly(true);
    txtSubject = new QLineEdit(this);
    txtSubject->setObjectName(QStringLiteral("txtSubject"));
    txtSubject->setReadOnly(true);
    txtBody = new QPlainTextEdit(this);
    txtBody->setObjectName(QStringLiteral("txtBody"));
    txtBody->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtBody->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Courier New"), 9);
    fixed.setStyleHint(QFont::Monospace);
    txtBody->setFont(fixed);
    txtBody->setMinimumSize(560, 220);

    auto* form = new QGridLayout;
    const auto label = [&](const char* text, QWidget* buddy, int row) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        form->addWidget(l, row, 0, row == 2 ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignLeft);
        form->addWidget(buddy, row, 1);
    };
    label("Send &To:", txtTo, 0);
    label("&Subject:", txtSubject, 1);
    label("&Message:", txtBody, 2);

    lnkWebSite = new linkette::Linkette(this);
    lnkWebSite->setObjectName(QStringLiteral("lnkWebSite"));
    lnkWebSite->setCaption(QStringLiteral("Click here to visit our Web site"));
    lnkWebSite->setURL(QString::fromLatin1(config::WebSite));

    cmdSend = new QPushButton(QStringLiteral("Send Email"), this);
    cmdSend->setObjectName(QStringLiteral("cmdSend"));
    cmdSend->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdSend, &QPushButton::clicked, this, &frmErrorDisplay::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lnkWebSite, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    buttons->addWidget(cmdSend);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInstructions);
    layout->addSpacing(6);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmErrorDisplay::setErrDetails(const QString& report)
{
    QString body = report;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    txtBody->setPlainText(body);
    txtSubject->setText(QStringLiteral("Application Error: ") + windowTitle());
}

QString frmErrorDisplay::mailLink() const
{
    QByteArray link = "mailto:" + txtTo->text().toUtf8();
    link += "?subject=" + encodeMailText(txtSubject->text());
    link +=
        "&body=" + encodeMailText(QStringLiteral("Technical Support,\n\nI would like to submit the following "
                                                 "error for your attention:\n\n") +
                                  txtBody->toPlainText());
    return QString::fromLatin1(link);
}

void frmErrorDisplay::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

void frmErrorDisplay::cmdSend_Click()
{
    // A mail program that cannot be started is not reported: the report is still on screen.
    openUrl(mailLink());
}

frmErrorDisplay& ErrorDisplay()
{
    static frmErrorDisplay* window = nullptr;
    if (!window) {
        window = new frmErrorDisplay;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            delete window;
            window = nullptr;
        });
    }
    return *window;
}

void presentReport(const QString& title, const QString& report)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread()) {
        writeToStderr(title, report);
        return;
    }
    frmErrorDisplay& window = ErrorDisplay();
    window.setWindowTitle(title);
    window.setErrDetails(report);
    window.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.cmdSend->setFocus();
    window.exec();
}

} // namespace mendwick
