#pragma once

#include <Connection.h>
#include <CurrentSurface.h>

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace folionix {

class PrintSurface;
class RegExp;

// Process-wide values shared by the engine, the preview window and the dialogs.
inline RegExp* g_objRegExp = nullptr;
inline std::vector<clsConnection> g_colElementIndents;
inline bool g_bCancelled = false;
inline bool g_bSamplePreview = false;
inline bool g_bProcessing = false;
inline int32_t g_iDocumentSection = 1;
inline int32_t g_iCurrentLanguage = 3;
inline int32_t g_iScriptSide = 1;
inline std::array<int32_t, 2> g_aDefaultLanguage{2, 1};
inline bool g_bServerLanguageSet = false;
inline bool g_bClientLanguageSet = false;
inline QString g_sExportFile;
inline QString g_sCurrentFile;

// Line numbering and indentation state of the text renderer.
inline int32_t g_lLineNumber = 1;
inline int32_t g_lIndicatorLine = 0;
inline bool g_bLineEmpty = true;
inline double g_lLineNumberWidth = 0;
inline int32_t g_iIndentLevel = 0;

// Token lists handed from parsers to output routines.
using TokenList = QStringList;

// What is being printed.
enum DocumentSection : int32_t
{
    SectionListing = 1,
    SectionContents = 2,
    SectionCoverSheet = 3
};

// The surface in use; raises an error when none has been set up.
PrintSurface& Surface();

// Puts every shared value back to its state at process start (tests, and the start of a run).
void ResetEngineState();

} // namespace folionix
