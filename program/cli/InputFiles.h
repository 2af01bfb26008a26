#pragma once

#include <CodeProcessor.h>

#include <QString>
#include <QStringList>
#include <vector>

namespace folionix {

// Whether a file name matches a filter such as "*.asp;*.htm;*.css" (patterns ignore letter case).
bool MatchesFileFilter(const QString& fileName, const QString& filter);

// The files named on the command line as file-list entries: files as given, folders by the filter
// (and their subfolders when recursive), in path order. Paths that do not exist go to missing.
std::vector<FileListItem> CollectInputFiles(const QStringList& paths, const QString& filter, bool recursive,
                                            QStringList* missing);

} // namespace folionix
