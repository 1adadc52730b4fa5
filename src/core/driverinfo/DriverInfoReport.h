#pragma once

#include "driverinfo/DataTypesModel.h"
#include "driverinfo/DriverInfoModel.h"
#include "driverinfo/FunctionsModel.h"
#include "driverinfo/IdentifiersModel.h"
#include "driverinfo/InfoSource.h"
#include "driverinfo/LimitsModel.h"
#include "driverinfo/Misc1Model.h"
#include "driverinfo/Misc2Model.h"
#include "driverinfo/SupportedSqlModel.h"

#include <array>
#include <memory>
#include <string>

namespace veltro {

class OdbcConnection;

// The eight pages of the driver information sheet over one connection, in sheet order, and
// the report that gathers them. The pages of plain values ask the driver when they are made;
// the functions and data types pages wait until they are shown.
class DriverInfoReport {
    // Made before the pages that ask it.
    InfoSource info;

public:
    static constexpr std::size_t pageCount = 8;

    explicit DriverInfoReport(std::shared_ptr<OdbcConnection> connection);
    DriverInfoReport(const DriverInfoReport&) = delete;
    DriverInfoReport& operator=(const DriverInfoReport&) = delete;

    InfoSource& source() { return info; }
    InfoPageModel& page(std::size_t index) { return *pages[index]; }

    // The report's text with line feeds: the cursor library line, then every page's section.
    std::string text(bool cursorLibraryLoaded) const;
    // The report as its file holds it: the same with CR LF line ends.
    std::string fileText(bool cursorLibraryLoaded) const;

    DriverInfoModel driverInfo{info};
    FunctionsModel functions{info};
    SupportedSqlModel supportedSql{info};
    DataTypesModel dataTypes{info};
    IdentifiersModel identifiers{info};
    LimitsModel limits{info};
    Misc1Model misc1{info};
    Misc2Model misc2{info};

private:
    std::array<InfoPageModel*, pageCount> pages;
};

// The file name the report is offered under: the driver's name up to its first period.
std::string suggestedReportName(const std::string& driverName);

} // namespace veltro
