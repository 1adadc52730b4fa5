#include "driverinfo/InfoSource.h"

#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

#include <sqlext.h>

namespace veltro {

namespace {

std::string yesNo(const std::string& answer, const char* yes, const char* no) {
    if (answer == "Y") {
        return yes;
    }
    if (answer == "N") {
        return no;
    }
    return answer;
}

} // namespace

InfoSource::InfoSource(std::shared_ptr<OdbcConnection> connection)
    : connection(std::move(connection)) {}

bool InfoSource::isConnected() const {
    return connection != nullptr && connection->isOpen();
}

std::string InfoSource::GetInfoText(SQLUSMALLINT infoType, std::size_t bufferSize) const {
    try {
        return connection->infoText(infoType, bufferSize);
    } catch (const DatabaseError&) {
        return {};
    }
}

std::uint16_t InfoSource::GetInfoShort(SQLUSMALLINT infoType) const {
    try {
        return connection->infoU16(infoType);
    } catch (const DatabaseError&) {
        return 0;
    }
}

std::uint32_t InfoSource::GetInfoLong(SQLUSMALLINT infoType) const {
    try {
        return connection->infoU32(infoType);
    } catch (const DatabaseError&) {
        return 0;
    }
}

std::string InfoSource::FormatLongOrNone(SQLUSMALLINT infoType) const {
    const std::uint32_t value = GetInfoLong(infoType);
    return value == 0 ? "<none>" : std::to_string(value);
}

std::string InfoSource::FormatShortOrNone(SQLUSMALLINT infoType) const {
    const std::uint16_t value = GetInfoShort(infoType);
    return value == 0 ? "<none>" : std::to_string(value);
}

std::string InfoSource::YesNoInfo(SQLUSMALLINT infoType) const {
    return yesNo(GetInfoText(infoType), "Yes", "No");
}

std::string InfoSource::SupportedInfo(SQLUSMALLINT infoType) const {
    return yesNo(GetInfoText(infoType), "Supported", "Not Supported");
}

std::array<std::uint16_t, functionFlagCount> InfoSource::Functions() const {
    std::array<std::uint16_t, functionFlagCount> flags{};
    // A refusal leaves every flag 0: no function is reported.
    if (!SQL_SUCCEEDED(
            SQLGetFunctions(connection->handle(), SQL_API_ALL_FUNCTIONS, flags.data()))) {
        flags.fill(0);
    }
    return flags;
}

std::optional<std::vector<TypeInfoRow>> InfoSource::TypeInfoRows() const {
    CTypeInfo typeSet(connection);
    if (!typeSet.OpenTypeInfo(SQL_ALL_TYPES)) {
        return std::nullopt;
    }
    std::vector<TypeInfoRow> rows;
    while (!typeSet.IsEOF()) {
        rows.push_back(typeSet.currentRow());
        typeSet.MoveNext();
    }
    typeSet.Close();
    return rows;
}

} // namespace veltro
