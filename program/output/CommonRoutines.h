#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// Shared path, environment and file routines of basCommonRoutines; headless (no widgets).
namespace folionix {

// The codes GetPathPart takes, one per piece of a path.
enum PathPart : int
{
    PathFolder = 3,             // drive + folder, with its final separator
    PathFolderNoSeparator = -3, // the same without the final separator; a root folder keeps it
    PathBaseName = 4,           // file name without its extension
    PathExtension = 5,          // extension with its dot
    PathFileName = 6,           // base name + extension
    PathFolderAndBaseName = 7,  // drive + folder + base name
};

// One part of a path; "/" and "\" both separate folders, so Windows paths take apart as they do there.
// A drive is a letter and ":" at the very start. Unknown codes give "". Never reports.
QString GetPathPart(const QString& path, int partCode);

// Looks up an environment variable by its exact name; an unset variable gives "".
using EnvironmentLookup = std::function<QString(const QString& name)>;

// The running process's environment.
EnvironmentLookup ProcessEnvironment();

// Replaces every %name% of text, left to right, by the variable's value (unset: ""). A value is
// inserted as it is and never expanded again, so a value that names itself cannot loop and the cost
// stays linear. "%%" stands for one "%". A lone "%" is kept. On a failure text is left unchanged.
void ReplaceEnvironmentVariables(QString& text, const EnvironmentLookup& lookup = ProcessEnvironment());

// True when fileName names a file that can be opened for reading; folders and "" give false.
bool FileExists(const QString& fileName);

// Hands a URL to the desktop; true when it was accepted.
using DocumentOpener = std::function<bool(const QUrl& url)>;
// Replaces how StartDoc opens files (tests); resetDocumentOpener restores the desktop's.
void setDocumentOpener(DocumentOpener opener);
void resetDocumentOpener();

// Result codes of StartDoc, in the shell's manner: above 32 means the file was handed over.
inline constexpr int StartDocFileNotFound = 2;
inline constexpr int StartDocNoAssociation = 31;
inline constexpr int StartDocOpened = 33;

// Opens fileName (surrounding blanks dropped) with the desktop's default application. Returns
// StartDocOpened, StartDocFileNotFound or StartDocNoAssociation; 0 after a reported error.
int StartDoc(const QString& fileName);

} // namespace folionix
