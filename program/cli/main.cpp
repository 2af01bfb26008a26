// folionix-export: turns ASP pages into a paged, line-numbered document from the command line, through
// the same engine, page furniture and writers as the desktop program.
#include "BatchHost.h"
#include "InputFiles.h"

#include <CodeProcessor.h>
#include <CommonRoutines.h>
#include <ErrorTrace.h>
#include <FontSetup.h>
#include <Options.h>
#include <OptionsValidation.h>
#include <SettingsFields.h>
#include <TagFiles.h>
#include <ValidationSurface.h>
#include <Writers.h>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <cstdio>

using namespace folionix;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void printError(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("folionix-export: ") + text + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// exportFormat: the export format number the run uses; -1 for the formats only the batch exporter
// writes (the inspection dump and plain text).
struct Format
{
    const char* name;
    const char* extension;
    int exportFormat;
};

const Format kFormats[] = {{"pdf", ".pdf", 99},        {"rtf", ".rtf", 4},    {"html", ".html", 1},
                           {"html-paged", ".html", 3}, {"json", ".json", -1}, {"text", ".txt", -1}};

const Format* findFormat(const QString& name)
{
    for (const Format& f : kFormats)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString defaultOutput(const QString& firstInput, const Format& format)
{
    QString path = firstInput;
    while (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\')))
        path.chop(1);
    const QFileInfo info(path);
    QString base = info.isDir() ? info.fileName() : info.completeBaseName();
    if (base.isEmpty() || base == u"." || base == u"..")
        base = QFileInfo(info.absoluteFilePath()).fileName();
    if (base.isEmpty())
        base = QStringLiteral("folionix");
    return base + QLatin1String(format.extension);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("folionix-export"));
    mendwick::App().EXEName = QStringLiteral("folionix-export");
    registerFontSubstitutions();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints ASP pages (HTML with server and client script and style sheets) to a paged, "
        "line-numbered document.\nFolders are searched for the files of the FileFilter setting."));
    parser.addHelpOption();
    const QCommandLineOption formatOption(
        {QStringLiteral("f"), QStringLiteral("format")},
        QStringLiteral("Output format: pdf, rtf, html, html-paged (a file per page: NAME1.html, "
                       "NAME2.html, ...), json or text (default pdf)."),
        QStringLiteral("format"), QStringLiteral("pdf"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Output file (default: the first input's base name with the format's extension)."),
        QStringLiteral("file"));
    const QCommandLineOption setOption(QStringLiteral("set"),
                                       QStringLiteral("Override a setting for this run, e.g. Columns=2, "
                                                      "VBScriptOptions.TabSize=4, Fonts.Keywords.Bold=1. "
                                                      "Repeatable; --set list shows every name."),
                                       QStringLiteral("NAME=VALUE"));
    const QCommandLineOption recursiveOption(QStringLiteral("r"),
                                             QStringLiteral("Take the files of folders recursively."));
    const QCommandLineOption openOption(
        QStringLiteral("open"), QStringLiteral("Open the result with the desktop's application for it."));
    parser.addOptions({formatOption, outputOption, setOption, recursiveOption, openOption});
    parser.addPositionalArgument(QStringLiteral("inputs"), QStringLiteral("Files or folders to print."),
                                 QStringLiteral("FILE|DIR..."));
    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return kExitOk;
    }

    // The user's stored settings, with --set on top for this run only (nothing is written back).
    LoadOptions();
    clsOptions& options = Options();
    for (const QString& assignment : parser.values(setOption)) {
        if (assignment.trimmed().compare(u"list", Qt::CaseInsensitive) == 0) {
            for (const QString& name : SettingNames(options))
                std::printf("%s=%s\n", qPrintable(name),
                            qPrintable(SettingValueByName(options, name).value_or(QString())));
            return kExitOk;
        }
        const qsizetype eq = assignment.indexOf(u'=');
        QString error;
        if (eq <= 0) {
            printError(QStringLiteral("--set needs NAME=VALUE, got '%1'").arg(assignment));
            return kExitUsage;
        }
        if (!SetSettingByName(options, assignment.left(eq), assignment.mid(eq + 1), &error)) {
            printError(error);
            return kExitUsage;
        }
    }
    const Format* format = findFormat(parser.value(formatOption));
    if (!format) {
        printError(QStringLiteral("unknown format '%1' (use pdf, rtf, html, html-paged, json or text)")
                       .arg(parser.value(formatOption)));
        return kExitUsage;
    }
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty()) {
        printError(QStringLiteral("no input files; see --help"));
        return kExitUsage;
    }

    QStringList missing;
    const std::vector<FileListItem> items =
        CollectInputFiles(inputs, options.FileFilter, parser.isSet(recursiveOption), &missing);
    for (const QString& path : missing)
        printError(QStringLiteral("%1: no such file or folder").arg(path));
    if (items.empty()) {
        printError(QStringLiteral("nothing to print"));
        return kExitFailed;
    }
    const QString output = QFileInfo(parser.isSet(outputOption) ? parser.value(outputOption)
                                                                : defaultOutput(inputs.first(), *format))
                               .absoluteFilePath();

    ValidationWindow().ValidatePrinterOptions();
    options.ViewExportedFile = parser.isSet(openOption);
    LoadLanguageFiles();

    // Every report during a file marks that file as failed; the report itself goes to standard error.
    QSet<QString> failed;
    mendwick::setReportSink([&](const QString& title, const QString& report) {
        failed.insert(g_sCurrentFile.isEmpty() ? QStringLiteral("(run)") : g_sCurrentFile);
        QString text = report;
        text.remove(u'\r');
        const QByteArray bytes = (title + u'\n' + text).toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    });

    BatchHost host;
    host.filesTotal = int(items.size());
    clsCodeProcessor& engine = CodeProcessor();
    engine.setHost(&host);
    const bool exported = format->exportFormat >= 0;
    if (exported) {
        options.ExportFormat = format->exportFormat;
        g_sExportFile = output;
    }
    engine.ProcessFiles(items, true);

    bool written = exported && host.exportWritten;
    if (!exported) {
        QString error;
        const Document& document = host.previewSurface().document();
        const bool json = qstrcmp(format->name, "json") == 0;
        written = writeFileAtomically(
            output,
            [&](QIODevice& device) {
                return json ? writeJson(document, device) : writeText(document, device);
            },
            &error);
        if (!written)
            printError(QStringLiteral("cannot write %1: %2").arg(output, error));
        else if (options.ViewExportedFile) {
            options.ExportFormat = 5; // a single file, opened as it is
            ViewExportedFile(output);
        }
    }
    engine.setHost(nullptr);
    mendwick::resetReportSink();

    for (const QString& file : failed)
        printError(QStringLiteral("%1: failed").arg(file));
    if (written && format->exportFormat == 3) {
        // A file per page: name the first and the last.
        const int pages = std::max(1, host.previewSurface().PageCount());
        std::fprintf(stderr, "folionix-export: wrote %d page%s: %s%s%s\n", pages, pages == 1 ? "" : "s",
                     qPrintable(pagedHtmlFileName(output, 1)), pages > 1 ? " ... " : "",
                     pages > 1 ? qPrintable(QFileInfo(pagedHtmlFileName(output, pages)).fileName()) : "");
    } else if (written) {
        std::fprintf(stderr, "folionix-export: wrote %s\n", qPrintable(output));
    }
    return (written && failed.isEmpty() && missing.isEmpty()) ? kExitOk : kExitFailed;
}
