#pragma once

#include <QString>
#include <QStringView>

namespace folionix {

// Case-insensitive string tests used throughout the program (basStringFunctions).
// An empty prefix, suffix or search text counts as found.
bool StartsWith(QStringView text, QStringView prefix);
bool EndsWith(QStringView text, QStringView suffix);
bool Contains(QStringView text, QStringView find);
// The text before / after the first occurrence of find; "" when find does not occur.
QString BeforeFirst(QStringView text, QStringView find);
QString AfterFirst(QStringView text, QStringView find);

} // namespace folionix
