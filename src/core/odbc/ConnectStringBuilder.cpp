#include "odbc/ConnectStringBuilder.h"

#include "common/Quoting.h"
#include "odbc/OdbcEnvironment.h"

#include <sql.h>
#include <sqlext.h>

namespace veltro {

std::string connectAttributeValue(std::string_view value) {
    const bool plain = value.find_first_of(";{}=") == std::string_view::npos &&
                       (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) {
        return std::string(value);
    }
    return enclosedDoubling(value, '{', '}');
}

std::string buildConnectString(std::string_view dataSource, bool isDriver, std::string_view user,
                               std::string_view password, std::string_view more) {
    std::string text = isDriver ? "Driver={" : "DSN=";
    if (isDriver) {
        for (const char c : dataSource) {
            text += c;
            if (c == '}') {
                text += '}';
            }
        }
        text += '}';
    } else {
        text += connectAttributeValue(dataSource);
    }
    if (!user.empty()) {
        text += ";UID=" + connectAttributeValue(user);
    }
    if (!password.empty()) {
        text += ";PWD=" + connectAttributeValue(password);
    }
    if (!more.empty()) {
        text += ';';
        text += more;
    }
    return text;
}

std::vector<DataSourceEntry> listDataSources() {
    std::vector<DataSourceEntry> entries;
    const auto environment = OdbcEnvironment::acquire();
    for (const SQLUSMALLINT scope : {SQL_FETCH_FIRST_USER, SQL_FETCH_FIRST_SYSTEM}) {
        SQLUSMALLINT direction = scope;
        SQLCHAR name[SQL_MAX_DSN_LENGTH + 1];
        SQLCHAR description[512];
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT descriptionLength = 0;
        // SQL_NO_DATA ends the list; so does a failure, which leaves what was read.
        while (SQL_SUCCEEDED(SQLDataSources(environment->handle(), direction, name, sizeof name,
                                            &nameLength, description, sizeof description,
                                            &descriptionLength))) {
            entries.push_back({reinterpret_cast<const char*>(name),
                               reinterpret_cast<const char*>(description),
                               scope == SQL_FETCH_FIRST_SYSTEM});
            direction = SQL_FETCH_NEXT;
        }
    }
    return entries;
}

std::vector<std::string> listDrivers() {
    std::vector<std::string> drivers;
    const auto environment = OdbcEnvironment::acquire();
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    SQLCHAR name[512];
    SQLCHAR attributes[2048];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    // SQL_NO_DATA ends the list; so does a failure, which leaves what was read.
    while (
        SQL_SUCCEEDED(SQLDrivers(environment->handle(), direction, name, sizeof name, &nameLength,
                                 attributes, sizeof attributes, &attributesLength))) {
        drivers.emplace_back(reinterpret_cast<const char*>(name));
        direction = SQL_FETCH_NEXT;
    }
    return drivers;
}

} // namespace veltro
