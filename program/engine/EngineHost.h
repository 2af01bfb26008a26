#pragma once

#include <QString>

namespace folionix {

class PrintSurface;

// The two progress bars of a run: files of the run, characters of the current file.
enum class ProgressBarId
{
    Site,
    File
};

// A progress bar as the run drives it: prepared for n steps with range 1 to max(n + 1, 2), set to 1
// and shown; advanced only while the new value is below the maximum; hidden when done.
struct ProgressBarState
{
    qint64 minimum = 1;
    qint64 maximum = 2;
    qint64 value = 1;
    bool visible = false;

    void prepare(qint64 steps);
    // True when the value changed.
    bool advance(qint64 to);
    void hide() { visible = false; }
};

enum class RunMode
{
    Print,
    Preview,
    Export
};

// What the engine needs from its surroundings. The GUI implements it with its preview and progress
// windows, the batch exporter with a terminal progress line, tests with a recorder.
class EngineHost
{
public:
    virtual ~EngineHost() = default;

    // The surface a run draws on (the preview window's).
    virtual PrintSurface& previewSurface() = 0;
    // Brings a fresh page or column with header and footer (start of a run and of each file).
    virtual void prepareNewPage() = 0;

    // Show the windows of a run (preview, progress) for its mode; undo at the end.
    virtual void beginRun(RunMode) {}
    virtual void endRun() {}
    // Let the user interface handle pending events. The engine calls this at most every 30 ms inside
    // its loops, and once per file.
    virtual void processEvents() {}
    virtual void setFileLabel(const QString&) {}
    virtual void displayStatus(const QString&) {}
    virtual void progressChanged(ProgressBarId, const ProgressBarState&) {}
    // A message for the user with an OK button.
    virtual void messageBox(const QString& text) = 0;
    // Print the finished document (a print run).
    virtual void printDocument(PrintSurface&) {}
    // Write the finished document as PDF; false with a message on failure.
    virtual bool convertToPdf(PrintSurface& surface, const QString& fileName, QString* error);
    // An export run has ended: whether its file was written.
    virtual void exportFinished(bool /*written*/) {}
    // Open an exported file with the desktop's default application.
    virtual void viewExportedFile(const QString&) {}
};

} // namespace folionix
