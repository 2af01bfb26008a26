#include "FontSetup.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <mutex>
#include <utility>

namespace folionix {

namespace {

// fontconfig turns these into a proportional default face; the settings expect a sans face…
constexpr const char* SansNames[] = {"Tahoma", "MS Sans Serif", "Small Fonts", "Verdana"};
// …and a monospace one here, or listings lose their alignment.
constexpr const char* MonospaceNames[] = {"Lucida Console"};

// fontconfig normally maps these to the metric-compatible faces itself; we check and step in if not.
constexpr std::pair<const char*, const char*> MetricCompatible[] = {
    {"Courier New", "Liberation Mono"},
    {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},
};

void ensureResolvesTo(const QString& family, const QString& face)
{
    if (QFontInfo(QFont(family)).family() == face)
        return;
    if (QFontDatabase::families().contains(face))
        QFont::insertSubstitution(family, face);
}

} // namespace

void registerFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
        const QStringList mono = {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
        for (const char* family : SansNames)
            QFont::insertSubstitutions(QString::fromLatin1(family), sans);
        for (const char* family : MonospaceNames)
            QFont::insertSubstitutions(QString::fromLatin1(family), mono);
        for (const auto& [family, face] : MetricCompatible)
            ensureResolvesTo(QString::fromLatin1(family), QString::fromLatin1(face));
    });
}

} // namespace folionix
