#include "TagFilesXml.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace folionix {

namespace {

// pugixml writes through this into the temporary file; the first short write is remembered.
class DeviceWriter : public pugi::xml_writer
{
public:
    explicit DeviceWriter(QIODevice& device) : m_device(device) {}

    void write(const void* data, size_t size) override
    {
        if (m_ok && m_device.write(static_cast<const char*>(data), qint64(size)) != qint64(size))
            m_ok = false;
    }

    bool ok() const { return m_ok; }

private:
    QIODevice& m_device;
    bool m_ok = true;
};

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

XmlLoad loadXmlFile(pugi::xml_document& doc, const QString& path, unsigned int options)
{
    doc.reset();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return XmlLoad::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return XmlLoad::Broken;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return XmlLoad::Broken;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.constData(), size_t(bytes.size()), options, pugi::encoding_auto);
    if (!parsed) {
        // pugixml keeps what it parsed before the error; half a document is worse than none.
        doc.reset();
        return XmlLoad::Broken;
    }
    return XmlLoad::Loaded;
}

bool saveXmlFile(const pugi::xml_document& doc, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    DeviceWriter writer(file);
    // Our own declaration, so that it always names the encoding actually written.
    static const char declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    writer.write(declaration, sizeof(declaration) - 1);
    for (pugi::xml_node child : doc.children()) {
        if (child.type() != pugi::node_declaration)
            child.print(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    }
    if (!writer.ok()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace folionix
