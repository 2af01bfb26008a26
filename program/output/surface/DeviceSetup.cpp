#include "DeviceSetup.h"

#include "PaperSizes.h"

#include <QPageSize>
#include <QPrinterInfo>

#include <algorithm>

namespace folionix {

const QString DeviceSetup::PdfDevice = QStringLiteral("PDF");

namespace {

constexpr int BinUser = 256;
constexpr int StandardBins[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15};

} // namespace

QStringList DeviceSetup::names() const
{
    if (!m_namesKnown) {
        m_names = QPrinterInfo::availablePrinterNames();
        m_names.removeAll(PdfDevice);
        m_names.append(PdfDevice);
        m_namesKnown = true;
    }
    return m_names;
}

QString DeviceSetup::defaultName() const
{
    const QString printer = QPrinterInfo::defaultPrinterName();
    return printer.isEmpty() ? PdfDevice : printer;
}

bool DeviceSetup::select(const QString& name)
{
    return resolve(name);
}

bool DeviceSetup::resolve(const QString& name) const
{
    QString wanted = name.isEmpty() ? defaultName() : name;
    const QStringList all = names();
    if (!all.contains(wanted)) {
        // Printer names are matched exactly first; a differently cased name is still accepted.
        const auto it = std::find_if(all.begin(), all.end(), [&](const QString& candidate) {
            return candidate.compare(wanted, Qt::CaseInsensitive) == 0;
        });
        if (it == all.end())
            return false;
        wanted = *it;
    }
    m_current = wanted;
    m_caps = wanted == PdfDevice ? pdfCapabilities() : printerCapabilities(wanted);
    return true;
}

const QString& DeviceSetup::current() const
{
    ensureSelected();
    return m_current;
}

const DeviceCapabilities& DeviceSetup::capabilities() const
{
    ensureSelected();
    return m_caps;
}

void DeviceSetup::ensureSelected() const
{
    if (m_current.isEmpty())
        resolve(QString());
}

DeviceCapabilities DeviceSetup::pdfCapabilities()
{
    DeviceCapabilities caps;
    for (int code = FirstPaperCode; code <= LastPaperCode; ++code)
        caps.papers[size_t(code)] = paperSizeInfo(code) != nullptr;
    for (int bin : StandardBins)
        caps.bins[size_t(bin)] = true;
    caps.bins[BinUser] = true;
    caps.duplex[1] = true;
    return caps;
}

DeviceCapabilities DeviceSetup::printerCapabilities(const QString& name)
{
    DeviceCapabilities caps;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    for (const QPageSize& size : info.supportedPageSizes()) {
        if (const int code = paperCodeFor(size))
            caps.papers[size_t(code)] = true;
    }
    caps.customPaper = info.supportsCustomPageSizes();

    // Qt does not list a CUPS printer's trays; the tray is chosen by the job's options, so every
    // standard bin is accepted.
    for (int bin : StandardBins)
        caps.bins[size_t(bin)] = true;

    caps.duplex[1] = true;
    for (QPrinter::DuplexMode mode : info.supportedDuplexModes()) {
        if (mode == QPrinter::DuplexShortSide)
            caps.duplex[2] = true;
        else if (mode == QPrinter::DuplexLongSide)
            caps.duplex[3] = true;
    }
    return caps;
}

} // namespace folionix
