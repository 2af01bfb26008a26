#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace folionix {

// The two stores that stand in for the machine-wide and the per-user registry hive.
enum class Hive
{
    Machine,
    User
};

// One hive kept as an INI file. Key paths use "\" between their parts, as registry paths do; every
// part of a key path and every value name is matched without regard to letter case, and a write
// keeps the spelling already stored so that no second entry differing only in case appears.
// The file is parsed once and served from memory; every change is written to the file at once
// through a temporary file and a rename, unless a batch is open, which writes once when it closes.
class SettingsStore
{
public:
    explicit SettingsStore(QString filePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const QString& filePath() const { return m_filePath; }

    // The stored text, or nothing when the key or the value does not exist.
    std::optional<QString> value(const QString& key, const QString& name);
    bool keyExists(const QString& key);
    // The key paths of the direct subkeys of key, as stored.
    QStringList subkeys(const QString& key);

    // False when the change could not be written; inside a batch the answer waits for endBatch().
    bool setValue(const QString& key, const QString& name, const QString& text);
    // False when there was no such value.
    bool removeValue(const QString& key, const QString& name);
    // Removes key with all its subkeys; false when there was no such key.
    bool removeKey(const QString& key);

    // Whether a change could be written now: the file (when present) is writable and a file can be
    // created in its folder or, while that does not exist yet, in the nearest folder above it. A
    // temporary file is written and deleted for it; the store itself is not touched.
    bool probeWritable() const;

    // Changes made between these two reach the file in one write: all of them or none.
    void beginBatch();
    bool endBatch();

    // Forgets what was read, so that the next access reads the file again.
    void reload();

private:
    struct Node
    {
        QString path;                   // as stored, "/" between parts
        QHash<QString, QString> names;  // case-folded name → name as stored
        QHash<QString, QString> values; // case-folded name → text
    };

    QSettings& settings();
    void ensureIndex();
    Node& nodeFor(const QString& key); // creates the node and the ones above it
    Node* findNode(const QString& key);
    bool commit();

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
    std::optional<QHash<QString, Node>> m_index; // case-folded "/"-path → node
    int m_batchDepth = 0;
    bool m_dirty = false; // changes not yet written
};

// Folders holding the hives' files: an override when set, else the first of XDG_CONFIG_DIRS
// (/etc/xdg when unset) for the machine and XDG_CONFIG_HOME (~/.config) for the user.
QString storeFolder(Hive hive);
// The file of a hive: <folder>/Quorvane/Folionix.ini.
QString storeFile(Hive hive);
SettingsStore& store(Hive hive);

// Points both hives at other folders (tests, portable installs); resetStoreFolders() goes back to the
// environment's. Either drops what was cached.
void setStoreFolders(const QString& machineDir, const QString& userDir);
void resetStoreFolders();

} // namespace folionix
