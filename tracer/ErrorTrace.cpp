#include "ErrorTrace.h"
#include "ErrorDisplay.h"

#include <QLocale>
#include <mutex>

namespace mendwick {

AppError::AppError(int32_t number, QString description, QString source)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
      m_what(m_description.toUtf8())
{}

const char* AppError::what() const noexcept
{
    return m_what.constData();
}

namespace {

struct Sinks
{
    std::mutex lock;
    ReportSink report = presentReport;
    Clock clock = [] { return QDateTime::currentDateTime(); };
};

Sinks& sinks()
{
    static Sinks s;
    return s;
}

QString clockText()
{
    Clock clock;
    {
        std::lock_guard guard(sinks().lock);
        clock = sinks().clock;
    }
    return QLocale::system().toString(clock(), QLocale::ShortFormat);
}

} // namespace

AppInfo& App()
{
    static AppInfo app;
    return app;
}

ErrObject& Err()
{
    thread_local ErrObject err;
    return err;
}

void ErrObject::Clear()
{
    Number = 0;
    Description.clear();
    Source.clear();
}

void ErrObject::Set(int32_t number, const QString& description, const QString& source)
{
    Number = number;
    Description = description;
    Source = source;
}

void ErrObject::Raise(int32_t number, const QString& source, const QString& description)
{
    throw AppError(number, description, source);
}

void setReportSink(ReportSink sink)
{
    std::lock_guard guard(sinks().lock);
    sinks().report = sink ? std::move(sink) : ReportSink(presentReport);
}

void resetReportSink()
{
    setReportSink({});
}

void setClock(Clock clock)
{
    std::lock_guard guard(sinks().lock);
    sinks().clock = clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); });
}

void LoadCaught(ErrObject& err, std::exception_ptr caught)
{
    try {
        std::rethrow_exception(caught);
    } catch (const AppError& e) {
        err.Set(e.number(), e.description(), e.source());
    } catch (const std::bad_alloc&) {
        err.Set(errnum::OutOfMemory, QStringLiteral("Out of memory"), QString());
    } catch (const std::exception& e) {
        err.Set(errnum::InternalError, QString::fromLocal8Bit(e.what()), QString());
    } catch (...) {
        err.Set(errnum::InternalError, QStringLiteral("Internal error"), QString());
    }
}

void ErrorTrace::Context(const AppInfo* application, ErrObject* error, const char* component,
                         const char* member, const char* stage)
{
    m_app = application;
    m_err = error;
    m_component = component ? component : "";
    m_member = member ? member : "";
    Stage(stage);
}

void ErrorTrace::Stage(const char* prefix, const QString& value, const char* suffix)
{
    m_stageKind = StageKind::WithString;
    m_stagePrefix = prefix ? prefix : "";
    m_stageValue = value;
    m_stageSuffix = suffix;
}

void ErrorTrace::Stage(const char* prefix, qint64 value, const char* suffix)
{
    m_stageKind = StageKind::WithNumber;
    m_stagePrefix = prefix ? prefix : "";
    m_stageNumber = value;
    m_stageSuffix = suffix;
}

QString ErrorTrace::Stage() const
{
    QString text = QString::fromUtf8(m_stagePrefix);
    if (m_stageKind == StageKind::WithString)
        text += m_stageValue;
    else if (m_stageKind == StageKind::WithNumber)
        text += QString::number(m_stageNumber);
    if (m_stageKind != StageKind::Text && m_stageSuffix)
        text += QString::fromUtf8(m_stageSuffix);
    return text;
}

QString ErrorTrace::Title() const
{
    const AppInfo& app = m_app ? *m_app : App();
    return QStringLiteral("%1 version %2.%3.%4")
        .arg(app.EXEName)
        .arg(app.Major)
        .arg(app.Minor)
        .arg(app.Revision);
}

QString ErrorTrace::ReportText() const
{
    const AppInfo& app = m_app ? *m_app : App();
    const ErrObject& err = error();
    const QLatin1String eol("\r\n");
    QString r;
    r += QLatin1String("Error Number  : ") + QString::number(err.Number) + eol;
    r += QLatin1String("Description   : ") + err.Description + eol;
    r += eol;
    r += QLatin1String("Application   : ") + app.EXEName + eol;
    r += QLatin1String("Version       : ") +
         QStringLiteral("%1.%2.%3").arg(app.Major).arg(app.Minor).arg(app.Revision) + eol;
    r += QLatin1String("Component     : ") + QString::fromUtf8(m_component) + eol;
    r += QLatin1String("Member        : ") + QString::fromUtf8(m_member) + eol;
    r += QLatin1String("Stage         : ") + Stage() + eol;
    r += QLatin1String("Date and time : ") + clockText() + eol;
    r += eol;
    return r;
}

void ErrorTrace::ShowError(int32_t severity)
{
    Q_UNUSED(severity);
    if (error().Number == 0)
        return;
    try {
        ReportSink sink;
        {
            std::lock_guard guard(sinks().lock);
            sink = sinks().report;
        }
        sink(Title(), ReportText());
    } catch (...) {
        // The tracer never fails its caller.
    }
}

void ErrorTrace::SaveError()
{
    const ErrObject& err = error();
    m_savedNumber = err.Number;
    m_savedSource = err.Source;
    m_savedDescription = err.Description;
}

void ErrorTrace::RethrowSavedError() const
{
    throw AppError(m_savedNumber, m_savedDescription, m_savedSource);
}

QString ErrorTrace::ReadOption(const QString&, const QString&, const QString&) const
{
    return QString();
}

bool ErrorTrace::StringToBoolean(const QString&) const
{
    return false;
}

} // namespace mendwick
