#pragma once

// Loading and saving of the settings with the printer check they run; kept above the settings
// library because the check needs a print surface.

#include "CurrentSurface.h"
#include "ValidationSurface.h"

#include <ErrorTrace.h>
#include <Persistence.h>

namespace folionix {

// Corrects out-of-range printer and page settings in place.
inline void ValidateOptions()
{
    mendwick::ErrorTrace trace("clsOptions", "ValidateOptions");
    mendwick::Guard(trace, [&] {
        trace.Stage("ValidatePrinterOptions");
        ValidationWindow().ValidatePrinterOptions();
    });
}

// Start-up: makes previewSurface (the preview window's, when there is one) the current surface, then
// fills the settings from the store and validates them.
inline void LoadOptions(PrintSurface* previewSurface = nullptr)
{
    mendwick::ErrorTrace trace("clsOptions", "LoadOptions");
    trace.Stage("Set g_vsPrinter object");
    if (previewSurface)
        g_vsPrinter = previewSurface;
    LoadOptionsFromStore(ValidateOptions);
}

// Validates, then writes every setting and the tag-profile document.
inline void SaveOptions()
{
    SaveOptionsToStore(ValidateOptions);
}

} // namespace folionix
