#pragma once

#include "AppError.h"
#include "mendwick_export.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <new>
#include <type_traits>

namespace mendwick {

// The calling application: executable name and version, shown in every report.
struct AppInfo
{
    QString EXEName = QStringLiteral("Folionix");
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
};

// The process-wide application object; the program fills it once at start.
MENDWICK_EXPORT AppInfo& App();

// The pending error of the current thread. Number 0 means there is none.
class MENDWICK_EXPORT ErrObject
{
public:
    int32_t Number = 0;
    QString Description;
    QString Source;

    void Clear();
    void Set(int32_t number, const QString& description, const QString& source);
    // Raise is the way procedures fail: the error travels as an AppError to the next boundary.
    [[noreturn]] void Raise(int32_t number, const QString& source, const QString& description);
};

MENDWICK_EXPORT ErrObject& Err();

// Where finished reports go. By default: the report window in a program with widgets, standard error
// elsewhere (batch exporter, tests).
using ReportSink = std::function<void(const QString& title, const QString& report)>;
MENDWICK_EXPORT void setReportSink(ReportSink sink);
MENDWICK_EXPORT void resetReportSink();

// The clock of the "Date and time" line; tests fix it.
using Clock = std::function<QDateTime()>;
MENDWICK_EXPORT void setClock(Clock clock);

// Remembers where a procedure is (component, member, stage) and reports the pending error from there.
// Stage texts are kept as their parts and only joined when a report is due, so tracing costs a few
// pointer stores when nothing fails.
class MENDWICK_EXPORT ErrorTrace
{
public:
    ErrorTrace() = default;
    // Shorthand for Context(&App(), &Err(), component, member, "Entry Point"). Inline and free of calls:
    // every traced procedure pays for it, failing or not.
    ErrorTrace(const char* component, const char* member) : m_component(component), m_member(member) {}
    // Reports an error still pending when the procedure ends.
    ~ErrorTrace()
    {
        if (error().Number != 0)
            ShowError(1);
    }
    ErrorTrace(const ErrorTrace&) = delete;
    ErrorTrace& operator=(const ErrorTrace&) = delete;

    void Context(const AppInfo* application, ErrObject* error, const char* component, const char* member,
                 const char* stage = "Entry Point");

    // Sets the stage: a static text, or a prefix with one value and an optional suffix.
    void Stage(const char* text)
    {
        m_stageKind = StageKind::Text;
        m_stagePrefix = text ? text : "";
        m_stageSuffix = nullptr;
    }
    void Stage(const char* prefix, const QString& value, const char* suffix = nullptr);
    void Stage(const char* prefix, qint64 value, const char* suffix = nullptr);
    QString Stage() const;

    // Shows the report for the pending error; nothing when there is none. Never throws.
    void ShowError(int32_t severity = 2);

    void SaveError();
    int32_t SavedErrorNumber() const { return m_savedNumber; }
    QString SavedErrorSource() const { return m_savedSource; }
    QString SavedErrorDescription() const { return m_savedDescription; }
    [[noreturn]] void RethrowSavedError() const;

    void setTRACE(int16_t value) { m_trace = value; }

    // Present to complete the interface; they carry no behaviour.
    QString ReadOption(const QString& key, const QString& keyword, const QString& defaultValue) const;
    bool StringToBoolean(const QString& value) const;

    // The report and title exactly as shown, for the pending error (also used by tests).
    QString ReportText() const;
    QString Title() const;

private:
    // The error object given to Context, or the thread's own.
    ErrObject& error() const { return m_err ? *m_err : Err(); }
    const AppInfo* m_app = nullptr; // none: the process's App()
    ErrObject* m_err = nullptr;     // none: the thread's Err()
    const char* m_component = "";
    const char* m_member = "";
    const char* m_stagePrefix = "Entry Point";
    const char* m_stageSuffix = nullptr;
    QString m_stageValue;
    qint64 m_stageNumber = 0;
    enum class StageKind : uint8_t
    {
        Text,
        WithString,
        WithNumber
    } m_stageKind = StageKind::Text;
    int16_t m_trace = 0;
    int32_t m_savedNumber = 0;
    QString m_savedSource;
    QString m_savedDescription;
};

// Loads a caught exception into the error object: AppError keeps its number, memory exhaustion is 7,
// anything else is an internal error 51 with its message.
MENDWICK_EXPORT void LoadCaught(ErrObject& err, std::exception_ptr caught);

// The boundary of a traced procedure: runs body; when it fails, the error is reported through trace,
// cleared, and fallback is returned.
template <typename F, typename R = std::invoke_result_t<F>>
R Guard(ErrorTrace& trace, F&& body, R fallback = R{})
{
    try {
        return body();
    } catch (...) {
        LoadCaught(Err(), std::current_exception());
        trace.ShowError(2);
        Err().Clear();
        return fallback;
    }
}

// The same for procedures without a result.
template <typename F>
requires std::is_void_v<std::invoke_result_t<F>>
bool Guard(ErrorTrace& trace, F&& body)
{
    try {
        body();
        return true;
    } catch (...) {
        LoadCaught(Err(), std::current_exception());
        trace.ShowError(2);
        Err().Clear();
        return false;
    }
}

// Drops an error silently (procedures that clear without reporting).
template <typename F> bool Quietly(F&& body)
{
    try {
        body();
        return true;
    } catch (...) {
        Err().Clear();
        return false;
    }
}

} // namespace mendwick
