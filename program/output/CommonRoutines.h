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

// Asks the desktop to open a file with its application; the answer in the shell's result codes: above
// 32 opened, 2 file not found, 3 path not found, 5 access denied, 31 no application for the type.
using ShellOpen = std::function<int(const QString& fileName)>;
// Replaces how files are opened (tests); resetShellOpen restores the desktop's.
void setShellOpen(ShellOpen open);
void resetShellOpen();
// The desktop's way: the file is checked, the type's default application looked up (xdg-mime) and
// the file handed to the desktop opener (the one StartDoc uses).
int OpenWithDesktop(const QString& fileName);

// Lets the user pick a program and opens fileName with it (after "no application" was answered Yes).
using ApplicationChooser = std::function<void(const QString& fileName)>;
void setApplicationChooser(ApplicationChooser chooser);

// The text shown for a shell result that is neither success nor "no application".
QString ShellResultText(int result);

// Opens an exported file with its application: for paged HTML the first page file when it exists,
// else the name itself. No application: asks whether to pick one. Other failures: a message.
void ViewExportedFile(const QString& fileName);

} // namespace folionix
