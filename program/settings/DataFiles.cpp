#include "DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace folionix {

namespace {

std::optional<DataFolders>& overridden()
{
    static std::optional<DataFolders> folders;
    return folders;
}

QString inFolder(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

bool isFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// A save replaces the file through a temporary one beside it, so both the folder and an existing
// file must be writable.
bool canWrite(const QString& folder, const QString& path)
{
    const QFileInfo dir(folder);
    if (folder.isEmpty() || !dir.isDir() || !dir.isWritable())
        return false;
    const QFileInfo file(path);
    return !file.exists() || (file.isFile() && file.isWritable());
}

} // namespace

DataFolders dataFolders()
{
    if (overridden())
        return *overridden();
    DataFolders folders;
    folders.program = QCoreApplication::applicationDirPath();
    if (!folders.program.isEmpty())
        folders.share = QDir::cleanPath(folders.program + QLatin1String("/../share/folionix"));
    // One folder for every front end (GUI and batch exporter), whatever the application's name.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!base.isEmpty())
        folders.user = QDir(base).filePath(QStringLiteral("folionix"));
    return folders;
}

void setDataFolders(const QString& programDir, const QString& shareDir, const QString& userDir)
{
    overridden() = DataFolders{programDir, shareDir, userDir};
}

void resetDataFolders()
{
    overridden().reset();
}

QString dataFileForReading(const QString& name)
{
    const DataFolders folders = dataFolders();
    for (const QString& folder : {folders.user, folders.program, folders.share}) {
        QString path = inFolder(folder, name);
        if (isFile(path))
            return path;
    }
    return QString();
}

QString dataFileForWriting(const QString& name)
{
    const DataFolders folders = dataFolders();
    QString userCopy = inFolder(folders.user, name);
    if (isFile(userCopy))
        return userCopy;
    QString programCopy = inFolder(folders.program, name);
    if (canWrite(folders.program, programCopy))
        return programCopy;
    if (folders.user.isEmpty())
        return programCopy;
    QDir().mkpath(folders.user);
    return userCopy;
}

} // namespace folionix
