#include "BatchHost.h"

#include <CommonRoutines.h>

#include <cstdio>
#include <unistd.h>

namespace folionix {

BatchHost::BatchHost() : m_terminal(isatty(STDERR_FILENO) == 1)
{
    m_surface.setEvents(&m_furniture);
}

BatchHost::~BatchHost()
{
    m_surface.setEvents(nullptr);
}

void BatchHost::setFileLabel(const QString& name)
{
    m_file = name;
    ++m_fileIndex;
    drawProgress(true);
}

void BatchHost::progressChanged(ProgressBarId bar, const ProgressBarState& state)
{
    if (bar == ProgressBarId::File) {
        m_fileBar = state;
        drawProgress(false);
    }
}

void BatchHost::drawProgress(bool force)
{
    if (!m_terminal)
        return;
    if (!force && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < 100)
        return;
    m_sinceDraw.start();
    const qint64 span = std::max<qint64>(1, m_fileBar.maximum - m_fileBar.minimum);
    const int percent = m_fileBar.visible ? int(100 * (m_fileBar.value - m_fileBar.minimum) / span) : 0;
    const QByteArray line = QStringLiteral("\r\x1b[K[%1/%2] %3 %4%")
                                .arg(m_fileIndex)
                                .arg(filesTotal)
                                .arg(m_file)
                                .arg(percent)
                                .toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    m_lineShown = true;
}

void BatchHost::endRun()
{
    if (m_lineShown) {
        std::fputs("\r\x1b[K", stderr);
        std::fflush(stderr);
        m_lineShown = false;
    }
}

void BatchHost::messageBox(const QString& text)
{
    ++messages;
    endRun();
    QString plain = text;
    plain.replace(u'\r', u'\n');
    const QByteArray bytes = (QStringLiteral("folionix-export: ") + plain + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void BatchHost::viewExportedFile(const QString& fileName)
{
    ViewExportedFile(fileName);
}

} // namespace folionix
