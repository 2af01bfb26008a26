#pragma once

#include "Options.h"

#include <QString>
#include <pugixml.hpp>

namespace folionix {

// Names of the data files beside the program (see DataFiles.h for where "beside" is).
inline const QString CurrentKeywordsFile = QStringLiteral("CurrentKeywords.xml");
inline const QString CurrentTagProfilesFile = QStringLiteral("CurrentHTMLTagProfiles.xml");
inline const QString OriginalTagProfilesFile = QStringLiteral("OriginalHTMLTagProfiles.xml");

// The tag-profile file as loaded last, kept for the whole run: the preferences dialog edits it and
// every save of the settings writes it back. TagProfiles() always describes the same profiles.
pugi::xml_document& TagProfileDocument();

// Fills table with the Name of every Keyword under a Keywords element whose Language is exactly
// language. The table is emptied first; empty names and second spellings are skipped silently. A
// Keyword without a Name attribute is reported through the tracer and ends the fill, keeping the
// words added before it.
void LoadLanguageKeywords(const pugi::xml_document& doc, const QString& language, KeywordTable& table);

// Loads the tag-profile file at path into TagProfileDocument() and rebuilds TagProfiles(). A missing
// file leaves both empty without a message. A Breaks value with fewer than four numbers shows the
// "Invalid line" message and skips that element; any other fault shows "Failure to load <path>" and
// ends the load, keeping the profiles read before it.
void LoadTagPreferences(const QString& path);

// The Breaks attribute text of a profile: "(before,insideStart,insideEnd,after)", no blanks.
QString BreaksText(const clsHTMLElementProfile& profile);

// Copies the four line-break counts of TagProfiles()[name] into the element's Breaks attribute in
// TagProfileDocument(). False when either has no element of that name.
bool WriteTagProfileBreaks(const QString& name);

// Writes TagProfileDocument() to CurrentTagProfilesFile in the writable data folder, atomically. An
// empty document (no tag file was found) writes nothing and succeeds, so that no unreadable file is
// left for the next start. On failure the previous file is intact and *error says why.
bool SaveTagProfileDocument(QString* error = nullptr);

// Start-up: the current tag profiles, then the VBScript, JScript and HTML keyword tables from the
// keyword file. Missing files leave the tables empty without a message.
void LoadLanguageFiles();

// Replaces the current profiles with the factory copy; the next save writes them as the current ones.
void ResetTagPreferences();

} // namespace folionix
