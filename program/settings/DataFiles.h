#pragma once

#include <QString>

namespace folionix {

// The folders that make up "the program's folder" for data files.
struct DataFolders
{
    QString program; // beside the executable
    QString share;   // the installed share folder, <prefix>/share/folionix
    QString user;    // the user's writable data folder, e.g. ~/.local/share/folionix
};

// The folders in use: an override when one is set, else the ones derived from the executable's
// location and the user's data location.
DataFolders dataFolders();

// Points the look-ups at other folders (tests, portable installs); resetDataFolders() goes back.
void setDataFolders(const QString& programDir, const QString& shareDir, const QString& userDir);
void resetDataFolders();

// The file to read for name: the user's copy first (it holds what was saved last), then the
// program's folder, then the share folder. Empty when none of them has the file.
QString dataFileForReading(const QString& name);

// Where name is to be written: the user's copy when there is one, since that is what is read back;
// otherwise the program's folder when the file can be written there; otherwise the user's folder,
// created as needed. The result is a path even when the folder could not be created, so that the
// save itself reports the failure.
QString dataFileForWriting(const QString& name);

} // namespace folionix
