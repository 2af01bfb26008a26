#pragma once

#include "mendwick_export.h"

#include <QString>
#include <cstdint>
#include <exception>

namespace mendwick {

// An error travelling to the next traced boundary: number, description and the source that raised it.
class MENDWICK_EXPORT AppError : public std::exception
{
public:
    AppError(int32_t number, QString description, QString source = {});
    const char* what() const noexcept override;

    int32_t number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }

private:
    int32_t m_number;
    QString m_description;
    QString m_source;
    QByteArray m_what;
};

// Common error numbers used across the program.
namespace errnum {
constexpr int32_t OutOfMemory = 7;
constexpr int32_t FileNotFound = 53;
constexpr int32_t BadFileNameOrNumber = 52;
constexpr int32_t InternalError = 51;
constexpr int32_t PathFileAccessError = 75;
constexpr int32_t InvalidProcedureCall = 5;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t NotSupported = 438;
} // namespace errnum

} // namespace mendwick
