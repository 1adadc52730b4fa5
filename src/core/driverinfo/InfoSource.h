#pragma once

#include "driverinfo/CTypeInfo.h"

#include <sql.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltro {

class OdbcConnection;

inline constexpr std::size_t functionFlagCount = 100;

// What the driver of a connection declares about itself, as the driver information pages
// ask it. A request the driver refuses reads as empty text, or as 0 for numbers and masks,
// so that one unanswered question does not hide all the others.
class InfoSource {
public:
    explicit InfoSource(std::shared_ptr<OdbcConnection> connection);

    // Without an open connection the pages neither ask nor write anything.
    bool isConnected() const;

    std::string GetInfoText(SQLUSMALLINT infoType, std::size_t bufferSize = 200) const;
    std::uint16_t GetInfoShort(SQLUSMALLINT infoType) const;
    std::uint32_t GetInfoLong(SQLUSMALLINT infoType) const;

    // "<none>" for 0, else the number.
    std::string FormatLongOrNone(SQLUSMALLINT infoType) const;
    std::string FormatShortOrNone(SQLUSMALLINT infoType) const;
    // "Y" and "N" as "Yes" and "No", or as "Supported" and "Not Supported"; any other answer
    // unchanged.
    std::string YesNoInfo(SQLUSMALLINT infoType) const;
    std::string SupportedInfo(SQLUSMALLINT infoType) const;

    // SQLGetFunctions with SQL_API_ALL_FUNCTIONS: nonzero at the number of each function the
    // driver has.
    std::array<std::uint16_t, functionFlagCount> Functions() const;

    // The driver's data types in its order; none when it lacks SQLGetTypeInfo. A failing
    // SQLGetTypeInfo throws DatabaseError.
    std::optional<std::vector<TypeInfoRow>> TypeInfoRows() const;

private:
    std::shared_ptr<OdbcConnection> connection;
};

} // namespace veltro
