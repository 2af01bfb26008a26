#pragma once

#include <QString>
#include <QStringList>
#include <bitset>

namespace folionix {

// What one output device accepts, as Windows codes: paper sizes (DMPAPER), bins (DMBIN) and duplex
// modes (1 simplex, 2 short edge, 3 long edge).
struct DeviceCapabilities
{
    std::bitset<69> papers;
    bool customPaper = false;
    std::bitset<257> bins;
    std::bitset<4> duplex;
};

// The device list (system printers plus the built-in "PDF" device) and the selected device with its
// capabilities. Printers are only asked when someone needs the list, since that may talk to CUPS.
class DeviceSetup
{
public:
    static const QString PdfDevice;

    QStringList names() const;
    // The system default printer, else "PDF".
    QString defaultName() const;
    // Selects a device by name ("" the default); false when no such device exists.
    bool select(const QString& name);
    const QString& current() const;
    const DeviceCapabilities& capabilities() const;

private:
    void ensureSelected() const;
    // The lazy first selection happens in const getters, hence const with mutable state.
    bool resolve(const QString& name) const;
    static DeviceCapabilities pdfCapabilities();
    static DeviceCapabilities printerCapabilities(const QString& name);

    mutable QStringList m_names;
    mutable bool m_namesKnown = false;
    mutable QString m_current;
    mutable DeviceCapabilities m_caps;
};

} // namespace folionix
