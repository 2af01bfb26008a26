// Throughput of the engine (source to document model) and of each export format end to end, on generated ASP
// corpora of two sizes an order of magnitude apart, with the peak memory each run added.
#include "CorpusGenerator.h"

#include <CodeProcessor.h>
#include <ErrorTrace.h>
#include <FontSetup.h>
#include <Options.h>
#include <PageFurniture.h>
#include <PrintSurface.h>
#include <Writers.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <map>
#include <string>

using namespace folionix;

namespace {

class BenchHost : public EngineHost
{
public:
    BenchHost() { surface.setEvents(&furniture); }
    ~BenchHost() override { surface.setEvents(nullptr); }
    PrintSurface& previewSurface() override { return surface; }
    void prepareNewPage() override { furniture.PrepareNewPage(); }
    void messageBox(const QString&) override {}
    PrintSurface surface;
    PageFurniture furniture;
};

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// One corpus file per size, written once.
QString corpusFile(qint64 bytes)
{
    static std::map<qint64, QString> files;
    auto it = files.find(bytes);
    if (it != files.end())
        return it->second;
    const QString path = workDir().filePath(QStringLiteral("corpus-%1.asp").arg(bytes));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bench::generateAspCorpus(bytes, 7));
    return files.emplace(bytes, path).first->second;
}

// An HTML-only page of the given size: nested tables and lists with quoted and unquoted attributes,
// colours, comments and paragraphs of text, so that the HTML path alone is measured.
QString htmlFile(qint64 bytes)
{
    static std::map<qint64, QString> files;
    auto it = files.find(bytes);
    if (it != files.end())
        return it->second;
    QByteArray page =
        "<!DOCTYPE html>\r\n<html>\r\n<head><title>Rooms</title></head>\r\n<body bgcolor=#FFFFF0>\r\n";
    quint32 state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    while (page.size() < bytes - 64) {
        const quint32 n = next();
        page += "<!-- block " + QByteArray::number(n % 1000) + " -->\r\n";
        page += "<table border=\"0\" cellpadding=2 width=\"100%\">\r\n";
        for (quint32 r = 0; r < 3 + n % 5; ++r) {
            page += "  <tr class=\"row" + QByteArray::number(r % 2) + "\">\r\n";
            page += "    <td align=right><font color=#" + QByteArray::number(next() % 0xFFFFFF, 16) +
                    ">Room " + QByteArray::number(next() % 90) + "</font></td>\r\n";
            page += "    <td><a href=\"book.asp?id=" + QByteArray::number(next() % 500) +
                    "\">Book</a> &nbsp; don't forget the key</td>\r\n  </tr>\r\n";
        }
        page += "</table>\r\n<p>Meeting rooms on the second floor can be booked up to four weeks ahead; "
                "cancel a booking you no longer need.</p>\r\n<ul><li>one</li><li>two</li></ul>\r\n";
    }
    page += "</body>\r\n</html>\r\n";
    const QString path = workDir().filePath(QStringLiteral("html-%1.htm").arg(bytes));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(page);
    return files.emplace(bytes, path).first->second;
}

// Peak resident memory since the last reset, in bytes (Linux: VmHWM, reset through clear_refs).
void resetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double peakMemory()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb * 1024;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

void runEngine(BenchHost& host, const QString& file)
{
    const QFileInfo info(file);
    CodeProcessor().setHost(&host);
    CodeProcessor().ProcessFiles({FileListItem{true, info.fileName(), info.absolutePath()}}, true);
    CodeProcessor().setHost(nullptr);
}

// Loads fonts and fills the caches once, so that the memory measured is what the source costs.
void warmUp()
{
    BenchHost host;
    runEngine(host, corpusFile(16 << 10));
}

void reportMemory(benchmark::State& state, double baseline, qint64 bytes)
{
    const double peak = peakMemory();
    state.counters["peak_MB"] = peak / (1024.0 * 1024.0);
    state.counters["mem_x_source"] = (peak - baseline) / double(bytes);
}

void measureEngine(benchmark::State& state, const QString& file, qint64 bytes)
{
    warmUp();
    resetPeakMemory();
    const double baseline = peakMemory();
    for (auto _ : state) {
        BenchHost host;
        runEngine(host, file);
        benchmark::DoNotOptimize(host.surface.PageCount());
        state.counters["pages"] = host.surface.PageCount();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    reportMemory(state, baseline, bytes);
}

void BM_EngineToDocument(benchmark::State& state)
{
    measureEngine(state, corpusFile(state.range(0)), state.range(0));
}

void BM_HtmlToDocument(benchmark::State& state)
{
    const QString file = htmlFile(state.range(0));
    measureEngine(state, file, QFileInfo(file).size());
}

void BM_PdfEndToEnd(benchmark::State& state)
{
    const qint64 bytes = state.range(0);
    const QString file = corpusFile(bytes);
    const QString pdf = workDir().filePath(QStringLiteral("out.pdf"));
    warmUp();
    resetPeakMemory();
    const double baseline = peakMemory();
    for (auto _ : state) {
        BenchHost host;
        runEngine(host, file);
        QString error;
        if (!writePdf(host.surface.document(), pdf, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    reportMemory(state, baseline, bytes);
}

// A whole export run: engine, document model and the writer EndDoc calls (RTF, HTML, paged HTML).
void BM_ExportEndToEnd(benchmark::State& state, int format, const char* extension)
{
    const qint64 bytes = state.range(0);
    const QString file = corpusFile(bytes);
    const QString out = workDir().filePath(QStringLiteral("export") + QLatin1String(extension));
    warmUp();
    resetPeakMemory();
    const double baseline = peakMemory();
    Options().ViewExportedFile = false;
    for (auto _ : state) {
        BenchHost host;
        Options().ExportFormat = format;
        g_sExportFile = out;
        runEngine(host, file);
        state.counters["pages"] = host.surface.PageCount();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    reportMemory(state, baseline, bytes);
}

BENCHMARK(BM_EngineToDocument)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_HtmlToDocument)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PdfEndToEnd)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportEndToEnd, rtf, 4, ".rtf")
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportEndToEnd, html, 1, ".html")
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportEndToEnd, html_paged, 3, ".html")
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    registerFontSubstitutions();
    Options().ViewExportedFile = false;
    // Reports would only slow the measurement; there should be none.
    mendwick::setReportSink(
        [](const QString&, const QString& report) { fprintf(stderr, "%s\n", qPrintable(report)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
