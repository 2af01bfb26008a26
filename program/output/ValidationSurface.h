#pragma once

namespace folionix {

class PrintSurface;

// The hidden validation window: one print surface whose printer is never set, used only to check
// the printer settings.
class frmValidation
{
public:
    // Corrects out-of-range printer settings in the settings object, in a fixed order.
    void ValidatePrinterOptions();
    PrintSurface& surface();
};

frmValidation& ValidationWindow();

} // namespace folionix
