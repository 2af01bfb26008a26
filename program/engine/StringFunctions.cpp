#include "StringFunctions.h"

namespace folionix {

bool StartsWith(QStringView text, QStringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

bool EndsWith(QStringView text, QStringView suffix)
{
    return text.endsWith(suffix, Qt::CaseInsensitive);
}

bool Contains(QStringView text, QStringView find)
{
    return find.isEmpty() || text.contains(find, Qt::CaseInsensitive);
}

QString BeforeFirst(QStringView text, QStringView find)
{
    const qsizetype at = text.indexOf(find, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : text.left(at).toString();
}

QString AfterFirst(QStringView text, QStringView find)
{
    const qsizetype at = text.indexOf(find, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : text.mid(at + find.size()).toString();
}

} // namespace folionix
