// Loads the shipped keyword and tag-profile files with the program's own loaders and fails on any
// message, so that a broken data file is caught by ctest rather than by a user at start-up.
#include <DataFiles.h>
#include <ErrorTrace.h>
#include <TagFiles.h>
#include <TagFilesXml.h>
#include <UserMessages.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace folionix;

namespace {

int g_faults = 0;

void fault(const QString& text)
{
    ++g_faults;
    std::fprintf(stderr, "check_data_files: %s\n", text.toUtf8().constData());
}

// Every Tag element of the file must have become a profile; a skipped one shows a message too, but
// this also catches a document element that is not HTMLTags.
void checkAllTagsLoaded(const QString& path)
{
    pugi::xml_document doc;
    if (loadXmlFile(doc, path) != XmlLoad::Loaded)
        return fault(path + QLatin1String(": not loaded"));
    const size_t tags = doc.select_nodes("//Tag").size();
    if (tags == 0 || tags != TagProfiles().size())
        fault(
            QStringLiteral("%1: %2 Tag elements, %3 profiles").arg(path).arg(tags).arg(TagProfiles().size()));
}

bool sameProfiles(const std::map<QString, clsHTMLElementProfile>& a,
                  const std::map<QString, clsHTMLElementProfile>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        const clsHTMLElementProfile& p = x.second;
        const clsHTMLElementProfile& q = y.second;
        return x.first == y.first && p.ElementName == q.ElementName && p.Before == q.Before &&
               p.InsideStart == q.InsideStart && p.InsideEnd == q.InsideEnd && p.After == q.After &&
               p.Indent == q.Indent && p.Format == q.Format;
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_data_files DATA_FOLDER\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    // Only the given folder: no user copy or installed file may stand in for a shipped one.
    setDataFolders(data.absolutePath(), QString(), QString());
    setMessageHandler([](const QString& text, MessageIcon) { fault(QLatin1String("message: ") + text); });
    mendwick::setReportSink(
        [](const QString&, const QString& report) { fault(QLatin1String("report: ") + report); });

    for (const QString& name : {CurrentKeywordsFile, CurrentTagProfilesFile, OriginalTagProfilesFile}) {
        if (dataFileForReading(name).isEmpty())
            fault(data.filePath(name) + QLatin1String(": missing"));
    }

    LoadLanguageFiles();
    checkAllTagsLoaded(data.filePath(CurrentTagProfilesFile));
    const struct
    {
        const char* language;
        const KeywordTable& table;
    } tables[] = {{"VBScript", VBScriptKeywords()}, {"JScript", JScriptKeywords()}, {"HTML", HTMLKeywords()}};
    for (const auto& t : tables) {
        if (t.table.size() == 0)
            fault(QStringLiteral("no %1 keywords").arg(QLatin1String(t.language)));
    }

    const std::map<QString, clsHTMLElementProfile> current = TagProfiles();
    ResetTagPreferences();
    checkAllTagsLoaded(data.filePath(OriginalTagProfilesFile));
    if (!sameProfiles(current, TagProfiles()))
        fault(QStringLiteral("the factory profiles differ from the current ones"));

    std::printf(
        "check_data_files: %zu profiles; %lld VBScript, %lld JScript, %lld HTML keywords; %d faults\n",
        current.size(), qint64(VBScriptKeywords().size()), qint64(JScriptKeywords().size()),
        qint64(HTMLKeywords().size()), g_faults);
    return g_faults == 0 ? 0 : 1;
}
