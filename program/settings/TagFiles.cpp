#include "TagFiles.h"

#include "DataFiles.h"
#include "TagFilesXml.h"
#include "UserMessages.h"

#include <ErrorTrace.h>

#include <QDir>
#include <QStringList>

namespace folionix {

namespace {

constexpr int32_t ObjectNotSet = 91;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t DuplicateKey = 457;

// Tag-profile documents keep their comments, so a save does not strip the notes in the file.
constexpr unsigned int TagFileParseOptions = pugi::parse_default | pugi::parse_comments;

QString attributeText(const pugi::xml_attribute& attribute)
{
    return QString::fromUtf8(attribute.value());
}

QString requiredAttribute(const pugi::xml_node& node, const char* name)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        throw mendwick::AppError(ObjectNotSet,
                                 QStringLiteral("%1 element without a %2 attribute")
                                     .arg(QString::fromUtf8(node.name()), QString::fromUtf8(name)),
                                 QStringLiteral("basMain"));
    return attributeText(attribute);
}

int32_t breakCount(const QString& item)
{
    bool ok = false;
    const int32_t value = item.trimmed().toInt(&ok, 10);
    if (!ok)
        throw mendwick::AppError(TypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(item),
                                 QStringLiteral("basMain"));
    return value;
}

bool isYes(const pugi::xml_attribute& attribute)
{
    return attributeText(attribute).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
}

// Reads one Tag element into profiles. Returns without a profile when Breaks has too few numbers
// (after telling the user); throws on anything else that is wrong with it.
void readTag(const pugi::xml_node& tag, const QString& path,
             std::map<QString, clsHTMLElementProfile>& profiles)
{
    clsHTMLElementProfile profile;
    profile.ElementName = requiredAttribute(tag, "Name");
    QString breaks = requiredAttribute(tag, "Breaks");
    breaks.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    // The appended comma makes a missing fourth number an empty item rather than a short list, so
    // three numbers fail on conversion while two or fewer are only an invalid line.
    breaks += QLatin1Char(',');
    const QStringList items = breaks.split(QLatin1Char(','));
    if (items.size() <= 3) {
        ShowMessage(QLatin1String("Invalid line in HTMLTag configuration file ") + path + QLatin1Char('\r') +
                        QLatin1String(" Element name= ") + profile.ElementName,
                    MessageIcon::Error);
        return;
    }
    profile.Before = breakCount(items[0]);
    profile.InsideStart = breakCount(items[1]);
    profile.InsideEnd = breakCount(items[2]);
    profile.After = breakCount(items[3]);
    profile.Indent = isYes(tag.attribute("IndentContents"));
    profile.Format = isYes(tag.attribute("FormatContents"));
    const QString name = profile.ElementName;
    if (!profiles.emplace(name, std::move(profile)).second)
        throw mendwick::AppError(DuplicateKey,
                                 QStringLiteral("This key is already associated with an element of "
                                                "this collection"),
                                 QStringLiteral("basMain"));
}

// A tag file fails as a whole with one message, whatever went wrong inside it.
template <typename F> void orFailureToLoad(const QString& path, F&& body)
{
    try {
        body();
    } catch (...) {
        mendwick::Err().Clear();
        ShowMessage(QLatin1String("Failure to load ") + path, MessageIcon::Error);
    }
}

// The file to load for name; where it would be in the program's folder when there is none, so that
// the load takes the missing-file path.
QString fileToRead(const QString& name)
{
    QString found = dataFileForReading(name);
    if (!found.isEmpty())
        return found;
    const QString program = dataFolders().program;
    return program.isEmpty() ? QString() : QDir(program).filePath(name);
}

} // namespace

pugi::xml_document& TagProfileDocument()
{
    static pugi::xml_document document;
    return document;
}

void LoadLanguageKeywords(const pugi::xml_document& doc, const QString& language, KeywordTable& table)
{
    mendwick::ErrorTrace trace("basMain", "LoadLanguageKeywords");
    mendwick::Guard(trace, [&] {
        table.clear();
        trace.Stage("Select language node");
        // The language travels as a variable, so a quote in it cannot change the expression.
        pugi::xpath_variable_set variables;
        variables.set("language", language.toUtf8().constData());
        const pugi::xpath_node_set keywords =
            doc.select_nodes("//Keywords[@Language = $language]/Keyword", &variables);
        for (const pugi::xpath_node& keyword : keywords) {
            const QString word = requiredAttribute(keyword.node(), "Name");
            if (!word.isEmpty())
                table.add(word);
        }
    });
}

void LoadTagPreferences(const QString& path)
{
    mendwick::ErrorTrace trace("basMain", "LoadTagPreferences");
    orFailureToLoad(path, [&] {
        trace.Stage("Load XML file - ", path);
        pugi::xml_document& doc = TagProfileDocument();
        std::map<QString, clsHTMLElementProfile>& profiles = TagProfiles();
        profiles.clear();
        const XmlLoad loaded = loadXmlFile(doc, path, TagFileParseOptions);
        if (loaded == XmlLoad::Broken)
            throw mendwick::AppError(mendwick::errnum::PathFileAccessError,
                                     QStringLiteral("Not a readable XML file"), QStringLiteral("basMain"));
        trace.Stage("Select Tag nodes");
        for (const pugi::xpath_node& tag : doc.select_nodes("HTMLTags/Tag"))
            readTag(tag.node(), path, profiles);
    });
}

QString BreaksText(const clsHTMLElementProfile& profile)
{
    return QStringLiteral("(%1,%2,%3,%4)")
        .arg(profile.Before)
        .arg(profile.InsideStart)
        .arg(profile.InsideEnd)
        .arg(profile.After);
}

bool WriteTagProfileBreaks(const QString& name)
{
    const auto profile = TagProfiles().find(name);
    if (profile == TagProfiles().end())
        return false;
    pugi::xpath_variable_set variables;
    variables.set("name", name.toUtf8().constData());
    pugi::xml_node tag = TagProfileDocument().select_node("HTMLTags/Tag[@Name = $name]", &variables).node();
    if (!tag)
        return false;
    pugi::xml_attribute breaks = tag.attribute("Breaks");
    if (!breaks)
        breaks = tag.append_attribute("Breaks");
    return breaks.set_value(BreaksText(profile->second).toUtf8().constData());
}

bool SaveTagProfileDocument(QString* error)
{
    const pugi::xml_document& doc = TagProfileDocument();
    if (!doc.document_element())
        return true;
    return saveXmlFile(doc, dataFileForWriting(CurrentTagProfilesFile), error);
}

void LoadLanguageFiles()
{
    LoadTagPreferences(fileToRead(CurrentTagProfilesFile));
    // The keyword document lives only until the three tables are filled. A missing or unreadable
    // file leaves it empty, and so the tables.
    pugi::xml_document keywords;
    loadXmlFile(keywords, fileToRead(CurrentKeywordsFile));
    LoadLanguageKeywords(keywords, QStringLiteral("VBScript"), VBScriptKeywords());
    LoadLanguageKeywords(keywords, QStringLiteral("JScript"), JScriptKeywords());
    LoadLanguageKeywords(keywords, QStringLiteral("HTML"), HTMLKeywords());
}

void ResetTagPreferences()
{
    LoadTagPreferences(fileToRead(OriginalTagProfilesFile));
}

} // namespace folionix
