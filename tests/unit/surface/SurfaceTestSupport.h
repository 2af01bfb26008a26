#pragma once

#include "PrintSurface.h"
#include "Writers.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace surfacetest {

// A device that accepts a few bytes and then fails, like a full disk.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 capacity) : m_capacity(capacity) {}

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        if (m_written + length > m_capacity)
            return -1;
        m_written += length;
        return length;
    }

private:
    qint64 m_capacity;
    qint64 m_written = 0;
};

// Records the events in order; a test may attach an action to any of them.
class EventLog : public folionix::SurfaceEvents
{
public:
    QStringList events;
    std::function<void()> onNewPage;
    std::function<void()> onEndPage;
    std::function<void()> onNewColumn;
    std::function<void()> onBeforeHeader;

    void NewPage() override { record("NewPage", onNewPage); }
    void EndPage() override { record("EndPage", onEndPage); }
    void NewColumn() override { record("NewColumn", onNewColumn); }
    void BeforeHeader() override { record("BeforeHeader", onBeforeHeader); }
    void BeforeFooter() override { events << QStringLiteral("BeforeFooter"); }
    void Error() override { events << QStringLiteral("Error"); }

private:
    void record(const char* name, const std::function<void()>& action)
    {
        events << QString::fromLatin1(name);
        if (action)
            action();
    }
};

// A surface on the built-in PDF device with a monospace 8 pt font: one character is 96 twips.
inline void useListingFont(folionix::PrintSurface& surface)
{
    surface.setDevice(QStringLiteral("PDF"));
    surface.setFontName(QStringLiteral("Courier New"));
    surface.setFontSize(8);
    surface.setHeaderFontName(QStringLiteral("Courier New"));
    surface.setHeaderFontSize(8);
}

inline QByteArray jsonBytes(const folionix::Document& document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(folionix::writeJson(document, buffer));
    return buffer.data();
}

inline QJsonObject parseJson(const folionix::Document& document)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(jsonBytes(document), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return json.object();
}

inline QString plainText(const folionix::Document& document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(folionix::writeText(document, buffer));
    return QString::fromUtf8(buffer.data());
}

// Body runs of one page, for position checks.
inline std::vector<folionix::TextRun> bodyRuns(const folionix::Document& document, size_t page)
{
    std::vector<folionix::TextRun> runs;
    for (const folionix::TextRun& run : document.pages().at(page).runs) {
        if (run.role == folionix::ItemRole::Body && run.textLength > 0)
            runs.push_back(run);
    }
    return runs;
}

inline QString popplerTool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

} // namespace surfacetest
