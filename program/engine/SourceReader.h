#pragma once

#include <QByteArray>
#include <QString>

namespace folionix {

// One source file read into memory and decoded.
struct SourceText
{
    QString text; // decoded, line ends untouched
    QString
        encoding; // name of the encoding used, e.g. "UTF-8", "UTF-16LE", "GB18030", "Big5", "windows-1252"
    qint64 bytes = 0; // size of the file in bytes
    bool ok = false;
    QString error; // when !ok: names the file and the reason
};

// Reads the whole file and decodes it. encoding "auto" (or empty) detects the code page; any other
// name overrides detection, and a name no decoder knows fails with an error. Missing files, folders,
// devices and unreadable files fail with a message naming the path; content never fails: binary
// bytes decode to something, invalid sequences become U+FFFD, NUL bytes stay U+0000.
SourceText readSourceFile(const QString& path, const QString& encoding);

// Decodes bytes as readSourceFile does. Returns an empty string and sets *error (when given) only for
// an unknown encoding name; *usedEncoding receives the name of the encoding used.
QString decodeSource(const QByteArray& bytes, const QString& encoding, QString* usedEncoding, QString* error);

} // namespace folionix
