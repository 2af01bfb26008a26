#pragma once

#include <QString>
#include <pugixml.hpp>

namespace folionix {

// How loading an XML data file went.
enum class XmlLoad
{
    Loaded,  // the document holds the file
    Missing, // no such file; the document is empty
    Broken   // the file exists but could not be read or is not well-formed XML; the document is empty
};

// Replaces doc with the content of the file at path. The encoding comes from the byte-order mark or
// the declaration; options are pugixml parse flags.
XmlLoad loadXmlFile(pugi::xml_document& doc, const QString& path, unsigned int options = pugi::parse_default);

// Writes doc to path as UTF-8 with an XML declaration, indented two blanks a level. The file is
// replaced atomically: on any failure the previous file stays as it was, false is returned and
// *error (when given) says why.
bool saveXmlFile(const pugi::xml_document& doc, const QString& path, QString* error = nullptr);

} // namespace folionix
