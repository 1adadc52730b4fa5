#include "driverinfo/DriverInfoModel.h"

#include "driverinfo/InfoSource.h"

#include <sqlext.h>

namespace veltro {

namespace {

// "No Limit" for 0, else the count as a signed 16-bit number.
std::string limitText(std::uint16_t value) {
    return value == 0 ? "No Limit" : std::to_string(static_cast<std::int16_t>(value));
}

} // namespace

void DriverInfoModel::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    dataSourceName = source.GetInfoText(SQL_DATA_SOURCE_NAME);
    userName = source.GetInfoText(SQL_USER_NAME);
    serverName = source.GetInfoText(SQL_SERVER_NAME);
    databaseName = source.GetInfoText(SQL_DATABASE_NAME);
    dbmsName = source.GetInfoText(SQL_DBMS_NAME);
    dbmsVersion = source.GetInfoText(SQL_DBMS_VER);
    driverName = source.GetInfoText(SQL_DRIVER_NAME);
    driverVersion = source.GetInfoText(SQL_DRIVER_VER);
    driverOdbcVersion = source.GetInfoText(SQL_DRIVER_ODBC_VER);
    odbcVersion = source.GetInfoText(SQL_ODBC_VER);
    setByCode(apiConformance, source.GetInfoShort(SQL_ODBC_API_CONFORMANCE),
              {{0, "Core"}, {1, "Level 1"}, {2, "Level 2"}});
    setByCode(sqlConformance, source.GetInfoShort(SQL_ODBC_SQL_CONFORMANCE),
              {{0, "Minimum"}, {1, "Core"}, {2, "Extended"}});
    setByCode(sagCliConformance, source.GetInfoShort(SQL_ODBC_SAG_CLI_CONFORMANCE),
              {{0, "No"}, {1, "Yes"}});
    optionalIef = source.SupportedInfo(SQL_ODBC_SQL_OPT_IEF);
    activeConnections = limitText(source.GetInfoShort(SQL_ACTIVE_CONNECTIONS));
    activeStatements = limitText(source.GetInfoShort(SQL_ACTIVE_STATEMENTS));
    multipleResultSets = source.SupportedInfo(SQL_MULT_RESULT_SETS);
    setByCode(fileUsage, source.GetInfoShort(SQL_FILE_USAGE),
              {{0, "<n/a>, Driver not single-tier"},
               {1, "Files are Tables"},
               {2, "Files are Qualifiers"}});
    const std::string readOnly = source.GetInfoText(SQL_DATA_SOURCE_READ_ONLY);
    if (readOnly == "Y") {
        readWriteStatus = "Data source is read-only";
    } else if (readOnly == "N") {
        readWriteStatus = "Data source is read-write";
    }
    accessibleProcedures = source.YesNoInfo(SQL_ACCESSIBLE_PROCEDURES);
    accessibleTables = source.YesNoInfo(SQL_ACCESSIBLE_TABLES);
}

void DriverInfoModel::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "Driver Info\n-----------\n";
    report += "     Data Source Name - " + dataSourceName + "\n";
    report += "        Database Name - " + databaseName + "\n";
    report += "            User Name - " + userName + "\n";
    report += "          Server Name - " + serverName + "\n";
    report += "                 DBMS - " + dbmsName + " version " + dbmsVersion + "\n";
    report += "               Driver - " + driverName + " version " + driverVersion + "\n";
    report += "     Driver ODBC Ver. - " + driverOdbcVersion + "\n";
    report += "         ODBC Version - " + odbcVersion + "\n";
    report += "      API Conformance - " + apiConformance + "\n";
    report += "      SQL Conformance - " + sqlConformance + "\n";
    report += "  SAG CLI Conformance - " + sagCliConformance + "\n";
    report += "     Optional SQL IEF - " + optionalIef + "\n";
    report += "   Active Connections - " + activeConnections + "\n";
    report += "    Active Statements - " + activeStatements + "\n";
    report += " Multiple Result Sets - " + multipleResultSets + "\n";
    report += "           File Usage - " + fileUsage + "\n";
    report += "    Read/Write Status - " + readWriteStatus + "\n";
    report += "Accessible Procedures - " + accessibleProcedures + "\n";
    report += "    Accessible Tables - " + accessibleTables + "\n\n";
}

std::vector<PageField> DriverInfoModel::fields() const {
    return {
        {"Data Source Name:", &dataSourceName},
        {"Database Name:", &databaseName, FieldStyle::edit},
        {"User Name:", &userName},
        {"Server Name:", &serverName},
        {"DBMS Name:", &dbmsName},
        {"DBMS Version:", &dbmsVersion},
        {"Driver Name:", &driverName},
        {"Driver Version:", &driverVersion},
        {"Driver ODBC Version:", &driverOdbcVersion},
        {"ODBC Version:", &odbcVersion},
        {"Accessible Procedures:", &accessibleProcedures},
        {"ODBC API Conformance:", &apiConformance},
        {"ODBC SQL Conformance:", &sqlConformance},
        {"SAG Compliant:", &sagCliConformance},
        {"Optional IEF:", &optionalIef},
        {"Active Connections:", &activeConnections},
        {"Active Statements:", &activeStatements},
        {"Multiple Result Sets:", &multipleResultSets},
        {"File Usage:", &fileUsage},
        {"Read-Write Status:", &readWriteStatus},
        {"Accessible Tables:", &accessibleTables},
    };
}

} // namespace veltro
