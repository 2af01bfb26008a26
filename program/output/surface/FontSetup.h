#pragma once

namespace folionix {

// Maps the Windows font names the settings use to installed faces (Liberation, DejaVu), so that
// monospace stays monospace and metrics stay close to what the names promise. Call once at start-up,
// after the QGuiApplication exists; further calls do nothing.
void registerFontSubstitutions();

} // namespace folionix
