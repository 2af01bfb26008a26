#pragma once

#include "Options.h"

#include <QString>
#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>

namespace folionix {

// The key every setting is stored under; subkeys append "\Fonts", "\Margins" and so on.
inline const QString OptionsRootKey = QStringLiteral("Software\\Quorvane\\Folionix");

// Booleans as stored: "1"/"0" written; exactly "1", "-1" or "True" (letter case counts) read as true.
bool StringToBoolean(const QString& text);
QString BooleanToString(bool value);

// Numbers as stored: decimal text. A whole number also accepts a fraction (rounded, halves to even);
// nothing when the text is no number. Fractions are written in the current locale's form, without
// group separators, and read in that form or with a "." or "," separator, so a store written under
// another locale still loads.
std::optional<qint64> StoredInteger(const QString& text);
std::optional<double> StoredReal(const QString& text);
QString RealToStored(double value);

// Chooses the hive for the next access: the machine's when its store takes a write, else the
// user's. When neither does, "Failure to update registry" is shown (once, until a store is writable
// again or the stores move) and the machine's name is kept for reading. Returns the hive name.
QString ChooseHive();
// The hive name chosen last: "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
QString CurrentHive();

// The stored text of key\name, or defaultValue when nothing can be read. Doubled backslashes in key
// count as one.
QString ReadOption(const QString& key, const QString& name, const QString& defaultValue);
// The stored text read as a boolean, or defaultValue.
bool ReadOption(const QString& key, const QString& name, bool defaultValue);
QString ReadOption(const QString& key, const QString& name, const char* defaultValue) = delete;

// Stores value under key\name; a failed write is lost without a word. Empty text is stored as " ".
void SaveOption(const QString& key, const QString& name, const QString& value);
void SaveOption(const QString& key, const QString& name, bool value);
void SaveOption(const QString& key, const QString& name, double value);
template <std::integral T>
requires(!std::same_as<T, bool>) void SaveOption(const QString& key, const QString& name, T value)
{
    SaveOption(key, name, QString::number(value));
}
void SaveOption(const QString& key, const QString& name, const char* value) = delete;

// One token-class font from key\tokenClass into Options().Fonts, created when missing. A size
// outside 1–71 becomes 8; a negative colour (a system colour or a damaged value) becomes 0x800000.
void ReadFont(const QString& key, const QString& tokenClass, const QString& name, int16_t size, int32_t color,
              bool bold, bool italic, bool underline);
// Writes one token-class font to key\tokenClass; a class not in the table is reported.
void SaveFont(const QString& key, const QString& tokenClass);

// One clsLanguageOptions record (1 JScript, 2 VBScript, other HTML) from or to its key.
void ReadLanguageOptions(int32_t language);
void SaveLanguageOptions(int32_t language);

// The stored side of resetting fonts: deletes the "\Fonts" key with every subkey, then gives every
// token class its default font. Asks nothing; writes nothing else.
void ResetStoredFontDefaults();

// The check run after loading and before saving (the printer-options validation lives with the
// print surfaces, above this library).
using OptionsValidator = std::function<void()>;

// Fills Options() from the store, then runs validate. A stored value that is no number of the
// field's kind takes the field's default and loading goes on.
void LoadOptionsFromStore(const OptionsValidator& validate);
// Runs validate, then writes every setting in one write of the store, then the tag-profile document.
void SaveOptionsToStore(const OptionsValidator& validate);

} // namespace folionix
