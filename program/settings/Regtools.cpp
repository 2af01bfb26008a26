#include "Regtools.h"

namespace folionix {

namespace {

SettingsStore* storeByName(const QString& keyRoot)
{
    const std::optional<Hive> hive = HiveByName(keyRoot);
    return hive ? &store(*hive) : nullptr;
}

} // namespace

std::optional<Hive> HiveByName(const QString& keyRoot)
{
    if (keyRoot.compare(QLatin1String("HKEY_LOCAL_MACHINE"), Qt::CaseInsensitive) == 0)
        return Hive::Machine;
    if (keyRoot.compare(QLatin1String("HKEY_CURRENT_USER"), Qt::CaseInsensitive) == 0)
        return Hive::User;
    // HKEY_CLASSES_ROOT, HKEY_USERS and the others have no store here: no hive, every call fails.
    return std::nullopt;
}

QString HiveName(Hive hive)
{
    return hive == Hive::Machine ? QStringLiteral("HKEY_LOCAL_MACHINE") : QStringLiteral("HKEY_CURRENT_USER");
}

bool Regtools::UpdateKey(const QString& KeyRoot, const QString& KeyName, const QString& ValueName,
                         const QString& ValueData)
{
    SettingsStore* s = storeByName(KeyRoot);
    return s && s->setValue(KeyName, ValueName, ValueData.isEmpty() ? QStringLiteral(" ") : ValueData);
}

bool Regtools::GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& ValueName,
                           QString& ValueData)
{
    SettingsStore* s = storeByName(KeyRoot);
    if (!s)
        return false;
    const std::optional<QString> v = s->value(KeyName, ValueName);
    if (!v)
        return false;
    ValueData = *v;
    return true;
}

bool Regtools::DeleteKey(const QString& KeyRoot, const QString& SubKey, const QString& KeyName)
{
    SettingsStore* s = storeByName(KeyRoot);
    if (!s)
        return false;
    return KeyName.isEmpty() ? s->removeKey(SubKey) : s->removeValue(SubKey, KeyName);
}

} // namespace folionix
