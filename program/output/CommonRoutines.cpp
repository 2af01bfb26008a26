#include "CommonRoutines.h"

#include <ErrorTrace.h>
#include <Options.h>
#include <UserMessages.h>

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <algorithm>

namespace folionix {

namespace {

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A path taken apart once; every part code is put together from these pieces.
struct PathPieces
{
    QString drive;
    QString folder;
    QString baseName;
    QString extension;
};

PathPieces splitPath(const QString& path)
{
    PathPieces p;
    // Only a letter and ":" at the start is a drive: ":" is an ordinary character in names here, and
    // a longer "drive" would swallow folders.
    const qsizetype driveLength = (path.size() >= 2 && path[1] == u':' && isAsciiLetter(path[0])) ? 2 : 0;
    qsizetype lastSeparator = -1;
    for (qsizetype i = path.size() - 1; i >= driveLength; --i) {
        if (isSeparator(path[i])) {
            lastSeparator = i;
            break;
        }
    }
    p.drive = path.left(driveLength);
    // The folder starts right after the drive, so a relative path keeps its first folder.
    if (lastSeparator >= 0)
        p.folder = path.mid(driveLength, lastSeparator + 1 - driveLength);
    const QString fileName = path.mid(lastSeparator >= 0 ? lastSeparator + 1 : driveLength);
    // A leading dot belongs to the name (".profile" has no extension).
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot >= 1) {
        p.baseName = fileName.left(dot);
        p.extension = fileName.mid(dot);
    } else {
        p.baseName = fileName;
    }
    return p;
}

QString pathPart(const QString& path, int partCode)
{
    const PathPieces p = splitPath(path);
    switch (partCode) {
    case PathFolder:
        return p.drive + p.folder;
    case PathFolderNoSeparator:
        // A root folder stays a root: "C:\" and "/" must not turn into "C:" and "".
        return p.drive + (p.folder.size() > 1 ? p.folder.chopped(1) : p.folder);
    case PathBaseName:
        return p.baseName;
    case PathExtension:
        return p.extension;
    case PathFileName:
        return p.baseName + p.extension;
    case PathFolderAndBaseName:
        return p.drive + p.folder + p.baseName;
    default:
        return {};
    }
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// One pass from left to right: every "%" is looked at once and values are copied, never scanned.
QString expandVariables(const QString& text, const EnvironmentLookup& lookup)
{
    QString out;
    out.reserve(text.size());
    const QStringView view(text);
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'%', pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(u'%', open + 1);
        if (close < 0)
            break;
        out += view.mid(pos, open - pos);
        const QStringView name = view.mid(open + 1, close - open - 1);
        if (name.isEmpty()) {
            out += u'%';
            pos = close + 1;
        } else if (std::any_of(name.begin(), name.end(), isLineBreak)) {
            // No variable name spans lines; the first "%" is text and the second may open a name.
            out += view.mid(open, close - open);
            pos = close;
        } else {
            out += lookup(name.toString());
            pos = close + 1;
        }
    }
    out += view.mid(pos);
    return out;
}

bool openWithDesktop(const QUrl& url)
{
    // QDesktopServices needs a GUI application on a real display; a console front end (no display,
    // or the offscreen platform of the batch exporter) still has xdg-open.
    const auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (gui && QGuiApplication::platformName() != u"offscreen" &&
        QGuiApplication::platformName() != u"minimal")
        return QDesktopServices::openUrl(url);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toLocalFile()});
}

DocumentOpener& documentOpener()
{
    static DocumentOpener opener = openWithDesktop;
    return opener;
}

} // namespace

QString GetPathPart(const QString& path, int partCode)
{
    QString result;
    mendwick::Quietly([&] { result = pathPart(path, partCode); });
    return result;
}

EnvironmentLookup ProcessEnvironment()
{
    return [](const QString& name) { return qEnvironmentVariable(name.toLocal8Bit().constData()); };
}

void ReplaceEnvironmentVariables(QString& text, const EnvironmentLookup& lookup)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "ReplaceEnvironmentVariables");
    // Built aside and assigned at the end, so a failing look-up leaves the caller's text whole.
    mendwick::Guard(trace, [&] { text = expandVariables(text, lookup); });
}

bool FileExists(const QString& fileName)
{
    bool exists = false;
    mendwick::Quietly([&] {
        // Only regular files: opening a named pipe for reading would wait for a writer.
        if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
            return;
        QFile file(fileName);
        exists = file.open(QIODevice::ReadOnly);
    });
    return exists;
}

void setDocumentOpener(DocumentOpener opener)
{
    documentOpener() = std::move(opener);
}

void resetDocumentOpener()
{
    documentOpener() = openWithDesktop;
}

int StartDoc(const QString& fileName)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "StartDoc");
    return mendwick::Guard(
        trace,
        [&] {
            trace.Stage("GetDesktopWindow");
            const QString name = fileName.trimmed();
            trace.Stage("Call ShellExecute to launch file viewer for file =", name);
            const QFileInfo info(name);
            if (name.isEmpty() || !info.exists())
                return StartDocFileNotFound;
            return documentOpener()(QUrl::fromLocalFile(info.absoluteFilePath())) ? StartDocOpened
                                                                                  : StartDocNoAssociation;
        },
        0);
}

namespace {

ShellOpen& shellOpen()
{
    static ShellOpen open = OpenWithDesktop;
    return open;
}

ApplicationChooser& applicationChooser()
{
    static ApplicationChooser chooser;
    return chooser;
}

// The desktop's default application for a MIME type, "" when there is none (or no xdg-mime).
QString defaultApplicationFor(const QString& mimeType)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted(5000))
        return QString();
    if (!query.waitForFinished(10000)) {
        query.kill();
        query.waitForFinished(1000);
        return QString();
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

} // namespace

void setShellOpen(ShellOpen open)
{
    shellOpen() = open ? std::move(open) : ShellOpen(OpenWithDesktop);
}

void resetShellOpen()
{
    shellOpen() = OpenWithDesktop;
}

void setApplicationChooser(ApplicationChooser chooser)
{
    applicationChooser() = std::move(chooser);
}

int OpenWithDesktop(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !QFileInfo(info.absolutePath()).isDir())
        return 3;
    if (!info.exists())
        return 2;
    if (!info.isReadable())
        return 5;
    const QString mimeType = QMimeDatabase().mimeTypeForFile(info).name();
    if (defaultApplicationFor(mimeType).isEmpty())
        return StartDocNoAssociation;
    return documentOpener()(QUrl::fromLocalFile(info.absoluteFilePath())) ? StartDocOpened
                                                                          : StartDocNoAssociation;
}

QString ShellResultText(int result)
{
    switch (result) {
    case 0:
    case 8:
        return QStringLiteral("Out of memory");
    case 2:
        return QStringLiteral("File not found");
    case 3:
        return QStringLiteral("Path not found");
    case 5:
        return QStringLiteral("Path/file access error");
    case 11:
        return QStringLiteral("The executable file is invalid or corrupt");
    case 26:
        return QStringLiteral("A sharing violation occurred.");
    case 27:
        return QStringLiteral("This file type does not have a valid file association.");
    case 28:
        return QStringLiteral("The file could not be opened due to time out. Please try again in a moment.");
    case 29:
        return QStringLiteral(
            "The file could not be opened because the DDE transaction failed. Please try again in a moment.");
    case 30:
        return QStringLiteral("The file could not be opened because the target application is busy. Please "
                              "try again in a moment.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        break;
    }
    if (result == 1 || result == 4 || result == 6 || result == 7 || result == 9 || result == 10 ||
        (result >= 12 && result <= 25))
        return QStringLiteral("An error occurred occurred whilst trying to open or print the selected file.");
    return QString();
}

void ViewExportedFile(const QString& fileName)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "ViewExportedFile");
    mendwick::Guard(trace, [&] {
        trace.Stage("ViewExportedFile ", fileName);
        QString target = fileName;
        const int format = Options().ExportFormat;
        if (format == 2 || format == 3) {
            // Paged HTML: the first page file, when the export wrote one.
            const QString firstPage =
                GetPathPart(fileName, PathFolderAndBaseName) + u'1' + GetPathPart(fileName, PathExtension);
            target = FileExists(firstPage) ? firstPage
                                           : GetPathPart(fileName, PathFolderAndBaseName) +
                                                 GetPathPart(fileName, PathExtension);
        }
        const int result = shellOpen()(target);
        if (result == StartDocNoAssociation) {
            const bool locate =
                AskYesNo(QStringLiteral("The exported file cannot be viewed as there is no "
                                        "application associated with this file type. \r\r"
                                        "Do you want to locate an application for viewing this "
                                        "file?"));
            if (locate && applicationChooser())
                applicationChooser()(target);
            return;
        }
        if (result > 32 || result < 0)
            return;
        ShowMessage(QStringLiteral("Failure to open the exported file. ") + ShellResultText(result),
                    MessageIcon::Error);
    });
}

} // namespace folionix
