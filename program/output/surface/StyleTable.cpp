#include "StyleTable.h"

#include "AppError.h"

namespace folionix {

StyleTable::StyleTable(TextFormat& format, std::function<void()> changed, QString source)
    : m_format(format), m_changed(std::move(changed)), m_source(std::move(source))
{}

void StyleTable::Clear()
{
    m_entries.clear();
    m_byFoldedName.clear();
    m_byName.clear();
    ++m_generation;
}

void StyleTable::Add(const QString& name, int /*flags*/)
{
    // Every flag combination the program uses stores font and colour together.
    if (name.isEmpty())
        fail();
    const QString folded = name.toCaseFolded();
    const auto it = m_byFoldedName.constFind(folded);
    size_t index = m_entries.size();
    if (it != m_byFoldedName.constEnd()) {
        index = *it; // redefined, perhaps under another spelling: every spelling sees the new one
        m_entries[index] = Entry{name, m_format.font, m_format.color};
    } else {
        m_entries.push_back(Entry{name, m_format.font, m_format.color});
        m_byFoldedName.insert(folded, index);
    }
    m_byName.insert(name, index);
    ++m_generation;
}

void StyleTable::Apply(const QString& name)
{
    const Entry* entry = find(name);
    if (!entry)
        fail();
    m_format.font = entry->font;
    m_format.color = entry->color;
    m_format.styleName = entry->name;
    m_lastApplied = size_t(entry - m_entries.data());
    if (m_changed)
        m_changed();
}

bool StyleTable::Contains(const QString& name) const
{
    return find(name) != nullptr;
}

const StyleTable::Entry* StyleTable::find(const QString& name) const
{
    auto it = m_byName.constFind(name);
    if (it == m_byName.constEnd()) {
        it = m_byFoldedName.constFind(name.toCaseFolded());
        if (it == m_byFoldedName.constEnd())
            return nullptr;
    }
    return &m_entries[*it];
}

void StyleTable::fail() const
{
    throw mendwick::AppError(mendwick::errnum::InvalidPropertyValue, QStringLiteral("Invalid property value"),
                             m_source);
}

} // namespace folionix
