#include "catalog/CatalogTarget.h"

#include "common/TextCompare.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"
#include "session/Session.h"

#include <sqlext.h>

namespace veltro {

namespace {

// A driver that cannot answer has no such character.
std::string infoOrEmpty(const OdbcConnection& connection, SQLUSMALLINT infoType) {
    try {
        return connection.infoText(infoType);
    } catch (const DatabaseError&) {
        return {};
    }
}

} // namespace

bool CatalogTarget::isOracle() const {
    return equalsNoCase(dbmsName, "Oracle");
}

bool CatalogTarget::isPostgres() const {
    return equalsNoCase(dbmsName, "PostgreSQL");
}

bool CatalogTarget::isSqlite() const {
    return equalsNoCase(dbmsName, "SQLite");
}

CatalogTarget catalogTargetOf(const Session& session) {
    CatalogTarget target;
    target.connection = session.connection;
    target.dbmsName = session.capabilities().dbmsName;
    target.isSqlServerFamily = session.capabilities().isSqlServerFamily;
    target.isJetDriver = session.capabilities().isJetDriver;
    target.supportsMultipleResults = session.capabilities().supportsMultipleResults;
    auto folding = NameQuoting::Folding::mixed;
    try {
        folding =
            static_cast<NameQuoting::Folding>(session.connection->infoU16(SQL_IDENTIFIER_CASE));
    } catch (const DatabaseError&) {
        // A driver that cannot say is taken to keep names as written.
    }
    target.quoting = NameQuoting::forDataSource(
        session.capabilities().isSqlServerFamily, session.capabilities().isJetDriver,
        infoOrEmpty(*session.connection, SQL_IDENTIFIER_QUOTE_CHAR), folding);
    target.searchEscape = infoOrEmpty(*session.connection, SQL_SEARCH_PATTERN_ESCAPE);
    return target;
}

} // namespace veltro
