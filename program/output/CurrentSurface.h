#pragma once

namespace folionix {

class PrintSurface;

// The surface in use: the preview window's during a run, a preference dialog's for its sample.
inline PrintSurface* g_vsPrinter = nullptr;

} // namespace folionix
