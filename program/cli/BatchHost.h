#pragma once

#include <EngineHost.h>
#include <PageFurniture.h>
#include <PrintSurface.h>

#include <QElapsedTimer>
#include <QSet>
#include <QString>

namespace folionix {

// The engine's surroundings in the batch exporter: a surface with its page furniture, a progress line
// on standard error when that is a terminal, and messages on standard error.
class BatchHost : public EngineHost
{
public:
    BatchHost();
    ~BatchHost() override;

    PrintSurface& previewSurface() override { return m_surface; }
    void prepareNewPage() override { m_furniture.PrepareNewPage(); }
    void setFileLabel(const QString& name) override;
    void progressChanged(ProgressBarId bar, const ProgressBarState& state) override;
    void messageBox(const QString& text) override;
    void endRun() override;
    void viewExportedFile(const QString& fileName) override;
    void exportFinished(bool written) override { exportWritten = written; }

    int filesTotal = 0;
    int messages = 0;
    bool exportWritten = false;

private:
    void drawProgress(bool force);

    PrintSurface m_surface;
    PageFurniture m_furniture;
    bool m_terminal = false;
    QString m_file;
    int m_fileIndex = 0;
    ProgressBarState m_fileBar;
    QElapsedTimer m_sinceDraw;
    bool m_lineShown = false;
};

} // namespace folionix
