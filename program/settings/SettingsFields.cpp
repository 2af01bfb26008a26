#include "SettingsFields.h"

#include <cmath>
#include <limits>
#include <type_traits>

namespace folionix {

namespace {

bool parseBool(const QString& text, bool* out)
{
    const QString t = text.trimmed().toLower();
    if (t == u"1" || t == u"-1" || t == u"true" || t == u"yes" || t == u"on") {
        *out = true;
        return true;
    }
    if (t == u"0" || t == u"false" || t == u"no" || t == u"off") {
        *out = false;
        return true;
    }
    return false;
}

bool parseInteger(const QString& text, qint64* out)
{
    const QString t = text.trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(u"0x", Qt::CaseInsensitive) || t.startsWith(u"&H", Qt::CaseInsensitive))
        v = qint64(t.mid(2).toULongLong(&ok, 16));
    else if (t.startsWith(u"-0x", Qt::CaseInsensitive))
        v = -qint64(t.mid(3).toULongLong(&ok, 16));
    else
        v = t.toLongLong(&ok, 10);
    if (ok)
        *out = v;
    return ok;
}

// Assigns text to a field of any of the setting types.
template <typename T> bool assign(T& field, const QString& text, QString* error)
{
    if constexpr (std::is_same_v<T, bool>) {
        bool b = false;
        if (!parseBool(text, &b)) {
            *error = QStringLiteral("'%1' is not a yes/no value (use 1 or 0)").arg(text);
            return false;
        }
        field = b;
    } else if constexpr (std::is_same_v<T, QString>) {
        field = text;
    } else if constexpr (std::is_same_v<T, double>) {
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(d)) {
            *error = QStringLiteral("'%1' is not a number").arg(text);
            return false;
        }
        field = d;
    } else {
        qint64 v = 0;
        // Colours such as 0x80000008 are 32-bit patterns: accept them up to the unsigned range.
        const qint64 maxValue = std::is_same_v<T, int32_t> ? qint64(std::numeric_limits<uint32_t>::max())
                                                           : qint64(std::numeric_limits<T>::max());
        if (!parseInteger(text, &v) || v < qint64(std::numeric_limits<T>::min()) || v > maxValue) {
            *error = QStringLiteral("'%1' is not a whole number in range").arg(text);
            return false;
        }
        field = T(v);
    }
    return true;
}

template <typename T> QString show(const T& field)
{
    if constexpr (std::is_same_v<T, bool>)
        return field ? QStringLiteral("1") : QStringLiteral("0");
    else if constexpr (std::is_same_v<T, QString>)
        return field;
    else
        return QString::number(field);
}

bool sameName(const char* name, QStringView wanted)
{
    return wanted.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// Finds the field `name` in a record and applies op(field); false when there is no such field.
template <typename Visit, typename Record, typename Op>
bool onField(Visit visit, Record& record, QStringView name, Op&& op)
{
    bool found = false;
    visit(record, [&](const char* fieldName, auto& field) {
        if (!found && sameName(fieldName, name)) {
            found = true;
            op(field);
        }
    });
    return found;
}

// Resolves a path to its field and applies op; false when the path names nothing.
template <typename Op> bool resolve(clsOptions& o, const QString& path, Op&& op)
{
    const qsizetype firstDot = path.indexOf(u'.');
    if (firstDot < 0) {
        return onField([](clsOptions& r, auto&& v) { forEachScalarSetting(r, v); }, o, path, op);
    }
    const QStringView head = QStringView(path).left(firstDot);
    const QStringView rest = QStringView(path).mid(firstDot + 1);
    if (head.compare(u"Fonts", Qt::CaseInsensitive) == 0 ||
        head.compare(u"HeaderCodes", Qt::CaseInsensitive) == 0) {
        const qsizetype lastDot = rest.lastIndexOf(u'.');
        if (lastDot < 0)
            return false;
        const QStringView key = rest.left(lastDot);
        const QStringView field = rest.mid(lastDot + 1);
        if (head.compare(u"Fonts", Qt::CaseInsensitive) == 0) {
            for (auto& [name, font] : o.Fonts)
                if (key.compare(name, Qt::CaseInsensitive) == 0)
                    return onField([](clsFont& r, auto&& v) { forEachFontField(r, v); }, font, field, op);
            return false;
        }
        for (auto& [name, codes] : o.HeaderCodes)
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return onField([](clsHeaderCode& r, auto&& v) { forEachHeaderField(r, v); }, codes, field,
                               op);
        return false;
    }
    bool found = false;
    forEachLanguageRecord(o, [&](const char* recordName, clsLanguageOptions& record) {
        if (!found && sameName(recordName, head))
            found = onField([](clsLanguageOptions& r, auto&& v) { forEachLanguageField(r, v); }, record, rest,
                            op);
    });
    return found;
}

} // namespace

bool SetSettingByName(clsOptions& options, const QString& path, const QString& value, QString* error)
{
    QString problem;
    bool assigned = false;
    const bool found =
        resolve(options, path.trimmed(), [&](auto& field) { assigned = assign(field, value, &problem); });
    if (!found)
        problem = QStringLiteral("unknown setting '%1'").arg(path);
    else if (!assigned)
        problem = QStringLiteral("setting '%1': %2").arg(path, problem);
    if (error)
        *error = (found && assigned) ? QString() : problem;
    return found && assigned;
}

std::optional<QString> SettingValueByName(clsOptions& options, const QString& path)
{
    QString text;
    if (!resolve(options, path.trimmed(), [&](auto& field) { text = show(field); }))
        return std::nullopt;
    return text;
}

QStringList SettingNames(clsOptions& options)
{
    QStringList names;
    forEachScalarSetting(options, [&](const char* name, auto&) { names << QString::fromLatin1(name); });
    forEachLanguageRecord(options, [&](const char* record, clsLanguageOptions& l) {
        forEachLanguageField(l, [&](const char* field, auto&) {
            names << QString::fromLatin1(record) + u'.' + QString::fromLatin1(field);
        });
    });
    for (auto& [key, font] : options.Fonts)
        forEachFontField(font, [&](const char* field, auto&) {
            names << QStringLiteral("Fonts.") + key + u'.' + QString::fromLatin1(field);
        });
    for (auto& [key, codes] : options.HeaderCodes)
        forEachHeaderField(codes, [&](const char* field, auto&) {
            names << QStringLiteral("HeaderCodes.") + key + u'.' + QString::fromLatin1(field);
        });
    return names;
}

} // namespace folionix
