#pragma once

#include "catalog/NameQuoting.h"

#include <memory>
#include <string>

namespace veltro {

class OdbcConnection;
class Session;

// What the object browser steers by: the session's connection and what its driver is.
struct CatalogTarget {
    std::shared_ptr<OdbcConnection> connection;
    std::string dbmsName;
    bool isSqlServerFamily = false;
    bool isJetDriver = false;
    bool supportsMultipleResults = false;
    NameQuoting quoting = NameQuoting::forDataSource(false, false, "");
    // The driver's SQL_SEARCH_PATTERN_ESCAPE; empty when it has none.
    std::string searchEscape;

    bool isOracle() const;
    bool isPostgres() const;
    bool isSqlite() const;
};

// The target of a connected session; asks the driver for its quote and escape characters.
CatalogTarget catalogTargetOf(const Session& session);

} // namespace veltro
