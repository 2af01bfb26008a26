#pragma once

#include "SettingsStore.h"

#include <QString>
#include <optional>

namespace folionix {

// The store of a hive named as the registry names it ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
// letter case ignored). The other registry hives are known names without a store here; anything
// else selects no hive.
std::optional<Hive> HiveByName(const QString& keyRoot);
QString HiveName(Hive hive);

// Registry access by hive name over the stores. Failures are answered with false, never raised.
class Regtools
{
public:
    // Creates the key as needed and sets the value; an empty ValueData is stored as one blank.
    bool UpdateKey(const QString& KeyRoot, const QString& KeyName, const QString& ValueName,
                   const QString& ValueData);
    // Reads the value into ValueData; false (ValueData untouched) when the key or value is missing.
    bool GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& ValueName,
                     QString& ValueData);
    // With a KeyName deletes that value of SubKey; without one deletes SubKey with all its subkeys.
    bool DeleteKey(const QString& KeyRoot, const QString& SubKey, const QString& KeyName = QString());
};

} // namespace folionix
