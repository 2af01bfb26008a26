#pragma once

#include <CodeProcessor.h>
#include <ErrorTrace.h>
#include <Options.h>
#include <PageFurniture.h>
#include <PrintSurface.h>
#include <PrinterSetup.h>
#include <TestSupport.h>

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace folionix::test {

// Records what the engine asks of its surroundings, over a real surface with its page furniture.
class RecordingHost : public EngineHost
{
public:
    RecordingHost() { surface.setEvents(&furniture); }
    ~RecordingHost() override { surface.setEvents(nullptr); }

    PrintSurface& previewSurface() override { return surface; }
    void prepareNewPage() override
    {
        ++prepared;
        if (failPrepare)
            throw mendwick::AppError(5, QStringLiteral("prepare failed"), QStringLiteral("test"));
        furniture.PrepareNewPage();
    }
    void beginRun(RunMode mode) override { modes.push_back(mode); }
    void endRun() override { ++ended; }
    void processEvents() override
    {
        if (onEvents)
            onEvents();
    }
    void setFileLabel(const QString& name) override { labels << name; }
    void messageBox(const QString& text) override { messages << text; }
    bool convertToPdf(PrintSurface&, const QString& fileName, QString* error) override
    {
        converted << fileName;
        if (!convertOk)
            *error = QStringLiteral("disk full");
        return convertOk;
    }
    void viewExportedFile(const QString& file) override { viewed << file; }

    PrintSurface surface;
    PageFurniture furniture;
    int prepared = 0;
    int ended = 0;
    bool failPrepare = false;
    bool convertOk = true;
    std::vector<RunMode> modes;
    QStringList labels, messages, converted, viewed;
    std::function<void()> onEvents;
};

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetEngineState();
        Options().ApplyDefaults(QSize(28800, 16200));
        Options().ViewExportedFile = false;
        mendwick::setReportSink([this](const QString&, const QString& report) { reports << report; });
        CodeProcessor().setHost(&host);
    }
    void TearDown() override
    {
        CodeProcessor().setHost(nullptr);
        mendwick::resetReportSink();
        ResetEngineState();
    }

    QString file(const QString& name, const QByteArray& bytes)
    {
        return testsupport::writeFile(dir, name, bytes);
    }

    // Runs the named files of the temporary folder as one preview run.
    void run(const QStringList& names)
    {
        std::vector<FileListItem> items;
        for (const QString& n : names)
            items.push_back(FileListItem{true, n, dir.path()});
        CodeProcessor().ProcessFiles(items, true);
    }

    // Prepares the surface for direct calls of the renderer, as a file start does.
    void startDirect()
    {
        InitialisePrinter(host.surface);
        host.surface.StartDoc();
        DefineTokenStyles();
        g_bLineEmpty = true;
        g_iCurrentLanguage = LangHTML;
        g_lLineNumber = 1;
        g_lIndicatorLine = 0;
    }

    const Document& doc() const { return host.surface.document(); }

    // The listing's lines: body runs joined between line starts; pages are separated by "\f".
    QStringList bodyLines(int page = -1) const
    {
        QStringList lines;
        for (int p = 0; p < int(doc().pages().size()); ++p) {
            if (page >= 0 && p != page)
                continue;
            if (page < 0 && p > 0)
                lines << QStringLiteral("\f");
            for (const TextRun& run : doc().pages()[p].runs) {
                if (run.role != ItemRole::Body)
                    continue;
                if (run.lineStart || lines.isEmpty() || lines.back() == u"\f")
                    lines << QString();
                lines.back() += doc().textOf(run);
            }
        }
        return lines;
    }

    // The first run of every body line: the gutter.
    QStringList gutters() const
    {
        QStringList out;
        for (const Page& page : doc().pages())
            for (const TextRun& run : page.runs)
                if (run.role == ItemRole::Body && run.lineStart)
                    out << doc().textOf(run).toString();
        return out;
    }

    QString styleOf(const TextRun& run) const { return doc().styleNames()[run.style]; }

    QTemporaryDir dir;
    RecordingHost host;
    QStringList reports;
};

} // namespace folionix::test
