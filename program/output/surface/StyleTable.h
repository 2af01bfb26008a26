#pragma once

#include "PrintSurface.h"
#include "TextFormat.h"

#include <QHash>
#include <functional>
#include <vector>

namespace folionix {

// Named styles over the surface's current text format. Names match without regard to case.
class StyleTable : public Styles
{
public:
    // changed runs after Apply so the surface can refresh what it caches about the current font.
    StyleTable(TextFormat& format, std::function<void()> changed, QString source);

    void Clear() override;
    void Add(const QString& name, int flags) override;
    void Apply(const QString& name) override;
    bool Contains(const QString& name) const override;

    // The entry the last Apply used, and a counter that changes whenever entries may have changed;
    // together they let the surface keep what it derives from a style.
    size_t lastApplied() const { return m_lastApplied; }
    size_t size() const { return m_entries.size(); }
    unsigned generation() const { return m_generation; }

private:
    struct Entry
    {
        QString name;
        FontKey font;
        WinColor color = 0;
    };

    [[noreturn]] void fail() const;
    const Entry* find(const QString& name) const;

    TextFormat& m_format;
    std::function<void()> m_changed;
    QString m_source;
    std::vector<Entry> m_entries;
    QHash<QString, size_t> m_byFoldedName;
    // The engine applies a style per token with the name as added: this finds it without folding.
    QHash<QString, size_t> m_byName;
    size_t m_lastApplied = 0;
    unsigned m_generation = 0;
};

} // namespace folionix
