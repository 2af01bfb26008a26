#include "RtfReader.h"

#include "PrintSurface.h"

namespace folionix {

// Placeholder until the reader lands.
QString RtfDocument::plainText() const
{
    return QString();
}

RtfDocument readRtf(QStringView)
{
    return RtfDocument();
}

void renderRtf(PrintSurface&, const RtfDocument&) {}

} // namespace folionix
