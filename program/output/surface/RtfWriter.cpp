#include "FlowLayout.h"
#include "Writers.h"

namespace folionix {

// Placeholder until the writer lands.
bool writeRtf(const Document&, QIODevice&, QString* error)
{
    if (error)
        *error = QStringLiteral("RTF export is not available");
    return false;
}

} // namespace folionix
