#include "execution/SqlDialect.h"

#include "common/TextCompare.h"

namespace veltro {

namespace {

bool containsNoCase(std::string_view text, std::string_view part) {
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (equalsNoCase(text.substr(i, part.size()), part)) {
            return true;
        }
    }
    return false;
}

} // namespace

SqlDialect sqlDialectOf(std::string_view dbmsName) {
    if (containsNoCase(dbmsName, "PostgreSQL")) {
        return SqlDialect::postgres;
    }
    if (containsNoCase(dbmsName, "MySQL") || containsNoCase(dbmsName, "MariaDB")) {
        return SqlDialect::mysql;
    }
    if (containsNoCase(dbmsName, "SQLite")) {
        return SqlDialect::sqlite;
    }
    return SqlDialect::portable;
}

bool takesWholeBatches(std::string_view dbmsName, bool isSqlServerFamily) {
    return isSqlServerFamily || containsNoCase(dbmsName, "Sybase") ||
           startsWithNoCase(dbmsName, "Adaptive Server");
}

} // namespace veltro
