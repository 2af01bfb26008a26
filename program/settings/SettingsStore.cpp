#include "SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariant>

namespace folionix {

namespace {

// Registry paths use "\"; QSettings groups use "/". Empty parts (doubled or trailing separators)
// carry no meaning in either.
QStringList keyParts(const QString& key)
{
    QString k = key;
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return k.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

QString folded(const QStringList& parts)
{
    return parts.join(QLatin1Char('/')).toCaseFolded();
}

} // namespace

SettingsStore::SettingsStore(QString filePath) : m_filePath(std::move(filePath)) {}

SettingsStore::~SettingsStore() = default;

QSettings& SettingsStore::settings()
{
    if (!m_settings) {
        // A file path of its own: no fallbacks to other scopes or organisations are mixed in.
        m_settings = std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
        // The default already, but the whole point of the store: a crash mid-write leaves the old file.
        m_settings->setAtomicSyncRequired(true);
    }
    return *m_settings;
}

void SettingsStore::ensureIndex()
{
    if (m_index)
        return;
    m_index.emplace();
    QSettings& s = settings();
    const QStringList keys = s.allKeys();
    for (const QString& full : keys) {
        QStringList parts = full.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            continue;
        const QVariant v = s.value(full);
        QString text;
        // An unquoted comma in a hand-edited file makes QSettings see a list; the registry knows text.
        if (v.typeId() == QMetaType::QStringList)
            text = v.toStringList().join(QLatin1String(", "));
        else if (v.typeId() == QMetaType::QString)
            text = v.toString();
        else
            continue; // other types are unreadable, as binary values are to the program
        const QString name = parts.takeLast();
        Node& node = nodeFor(parts.join(QLatin1Char('/')));
        const QString f = name.toCaseFolded();
        node.names.insert(f, name);
        node.values.insert(f, text);
    }
}

SettingsStore::Node& SettingsStore::nodeFor(const QString& key)
{
    const QStringList parts = keyParts(key);
    QString path;
    QString foldedPath;
    Node* node = nullptr;
    for (qsizetype i = 0; i <= parts.size(); ++i) {
        if (i > 0) {
            foldedPath += (i > 1 ? QStringLiteral("/") : QString()) + parts[i - 1].toCaseFolded();
            path += (i > 1 ? QStringLiteral("/") : QString()) + parts[i - 1];
        }
        auto it = m_index->find(foldedPath);
        if (it == m_index->end())
            it = m_index->insert(foldedPath, Node{path, {}, {}});
        // Keep the spelling already stored for the parts that exist.
        path = it->path;
        node = &*it;
    }
    return *node;
}

SettingsStore::Node* SettingsStore::findNode(const QString& key)
{
    ensureIndex();
    auto it = m_index->find(folded(keyParts(key)));
    return it == m_index->end() ? nullptr : &*it;
}

std::optional<QString> SettingsStore::value(const QString& key, const QString& name)
{
    const Node* node = findNode(key);
    if (!node)
        return std::nullopt;
    auto it = node->values.find(name.toCaseFolded());
    if (it == node->values.end())
        return std::nullopt;
    return *it;
}

bool SettingsStore::keyExists(const QString& key)
{
    return findNode(key) != nullptr;
}

QStringList SettingsStore::subkeys(const QString& key)
{
    const Node* node = findNode(key);
    if (!node)
        return {};
    const QString prefix = folded(keyParts(key));
    const qsizetype depth = keyParts(key).size() + 1;
    QStringList result;
    for (auto it = m_index->cbegin(); it != m_index->cend(); ++it) {
        const bool below =
            prefix.isEmpty() ? !it.key().isEmpty() : it.key().startsWith(prefix + QLatin1Char('/'));
        if (below && it->path.split(QLatin1Char('/')).size() == depth)
            result << QString(it->path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    result.sort(Qt::CaseInsensitive);
    return result;
}

bool SettingsStore::setValue(const QString& key, const QString& name, const QString& text)
{
    if (keyParts(key).isEmpty() || name.isEmpty())
        return false;
    ensureIndex();
    Node& node = nodeFor(key);
    const QString f = name.toCaseFolded();
    const QString storedName = node.names.value(f, name);
    settings().setValue(node.path + QLatin1Char('/') + storedName, text);
    m_dirty = true;
    node.names.insert(f, storedName);
    node.values.insert(f, text);
    return commit();
}

bool SettingsStore::removeValue(const QString& key, const QString& name)
{
    Node* node = findNode(key);
    const QString f = name.toCaseFolded();
    if (!node || !node->values.contains(f))
        return false;
    settings().remove(node->path + QLatin1Char('/') + node->names.value(f));
    m_dirty = true;
    node->names.remove(f);
    node->values.remove(f);
    return commit();
}

bool SettingsStore::removeKey(const QString& key)
{
    const QStringList parts = keyParts(key);
    Node* node = parts.isEmpty() ? nullptr : findNode(key);
    if (!node)
        return false;
    settings().remove(node->path);
    m_dirty = true;
    const QString prefix = folded(parts);
    m_index->removeIf([&](const QHash<QString, Node>::iterator it) {
        return it.key() == prefix || it.key().startsWith(prefix + QLatin1Char('/'));
    });
    return commit();
}

bool SettingsStore::probeWritable() const
{
    const QFileInfo file(m_filePath);
    if (file.exists() && (!file.isFile() || !file.isWritable()))
        return false;
    // The write creates the missing folders, so the nearest existing one must take new entries.
    QString folder = file.absolutePath();
    while (!QFileInfo::exists(folder)) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return false;
        folder = parent;
    }
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".folionix-probe-XXXXXX")));
    return probe.open() && probe.write("Testing", 7) == 7;
}

void SettingsStore::beginBatch()
{
    ++m_batchDepth;
}

bool SettingsStore::endBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return true;
    return commit();
}

bool SettingsStore::commit()
{
    if (m_batchDepth > 0)
        return true;
    if (!m_dirty || !m_settings)
        return true; // nothing to write: a load leaves the file and its folder alone
    m_dirty = false;
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    m_settings->sync();
    const bool ok = m_settings->status() == QSettings::NoError;
    if (!ok) {
        // QSettings keeps its error for good: start afresh from what the file holds.
        m_settings.reset();
        m_index.reset();
    }
    return ok;
}

void SettingsStore::reload()
{
    m_dirty = false;
    m_settings.reset();
    m_index.reset();
}

namespace {

struct Stores
{
    std::optional<std::pair<QString, QString>> folders; // machine, user
    std::unique_ptr<SettingsStore> machine;
    std::unique_ptr<SettingsStore> user;
};

Stores& stores()
{
    static Stores s;
    return s;
}

} // namespace

QString storeFolder(Hive hive)
{
    const Stores& s = stores();
    if (s.folders)
        return hive == Hive::Machine ? s.folders->first : s.folders->second;
    if (hive == Hive::User)
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // Relative entries are to be ignored, as the base-directory rules say.
    const QStringList dirs =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& dir : dirs) {
        if (QDir::isAbsolutePath(dir))
            return dir;
    }
    return QStringLiteral("/etc/xdg");
}

QString storeFile(Hive hive)
{
    return QDir(storeFolder(hive)).filePath(QStringLiteral("Quorvane/Folionix.ini"));
}

SettingsStore& store(Hive hive)
{
    std::unique_ptr<SettingsStore>& slot = hive == Hive::Machine ? stores().machine : stores().user;
    const QString path = storeFile(hive);
    if (!slot || slot->filePath() != path)
        slot = std::make_unique<SettingsStore>(path);
    return *slot;
}

void setStoreFolders(const QString& machineDir, const QString& userDir)
{
    stores() = Stores{std::make_pair(machineDir, userDir), nullptr, nullptr};
}

void resetStoreFolders()
{
    stores() = Stores{};
}

} // namespace folionix
