#include "driverinfo/DriverInfoReport.h"

#include "common/LineEnds.h"

namespace veltro {

DriverInfoReport::DriverInfoReport(std::shared_ptr<OdbcConnection> connection)
    : info(std::move(connection)), pages{&driverInfo,  &functions, &supportedSql, &dataTypes,
                                         &identifiers, &limits,    &misc1,        &misc2} {
    const std::array<InfoPageModel*, 6> valuePages = {&driverInfo, &supportedSql, &identifiers,
                                                      &limits,     &misc1,        &misc2};
    for (InfoPageModel* page : valuePages) {
        page->RefreshInfo();
    }
}

std::string DriverInfoReport::text(bool cursorLibraryLoaded) const {
    std::string report =
        cursorLibraryLoaded ? "Cursor Library is Loaded\n\n" : "Cursor Library is Not Loaded\n\n";
    for (InfoPageModel* page : pages) {
        page->WriteReport(report);
    }
    return report;
}

std::string DriverInfoReport::fileText(bool cursorLibraryLoaded) const {
    return textWithCrLf(text(cursorLibraryLoaded));
}

std::string suggestedReportName(const std::string& driverName) {
    return driverName.substr(0, driverName.find('.'));
}

} // namespace veltro
