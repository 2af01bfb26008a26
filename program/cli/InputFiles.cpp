#include "InputFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace folionix {

namespace {

std::vector<QRegularExpression> compileFilter(const QString& filter)
{
    std::vector<QRegularExpression> patterns;
    for (const QString& part : filter.split(u';', Qt::SkipEmptyParts)) {
        const QString glob = part.trimmed();
        if (glob.isEmpty())
            continue;
        patterns.emplace_back(QRegularExpression::wildcardToRegularExpression(
                                  glob, QRegularExpression::UnanchoredWildcardConversion),
                              QRegularExpression::CaseInsensitiveOption);
        patterns.back().setPattern(u'^' + patterns.back().pattern() + u'$');
    }
    return patterns;
}

bool matches(const std::vector<QRegularExpression>& patterns, const QString& name)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const QRegularExpression& re) { return re.match(name).hasMatch(); });
}

FileListItem itemFor(const QFileInfo& info)
{
    return FileListItem{true, info.fileName(), info.absolutePath()};
}

} // namespace

bool MatchesFileFilter(const QString& fileName, const QString& filter)
{
    return matches(compileFilter(filter), fileName);
}

std::vector<FileListItem> CollectInputFiles(const QStringList& paths, const QString& filter, bool recursive,
                                            QStringList* missing)
{
    const auto patterns = compileFilter(filter);
    std::vector<FileListItem> items;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) {
            if (missing)
                missing->append(path);
            continue;
        }
        if (!info.isDir()) {
            items.push_back(itemFor(info));
            continue;
        }
        std::vector<QFileInfo> found;
        QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            it.next();
            if (matches(patterns, it.fileName()))
                found.push_back(it.fileInfo());
        }
        std::sort(found.begin(), found.end(), [](const QFileInfo& a, const QFileInfo& b) {
            return a.absoluteFilePath() < b.absoluteFilePath();
        });
        for (const QFileInfo& f : found)
            items.push_back(itemFor(f));
    }
    return items;
}

} // namespace folionix
