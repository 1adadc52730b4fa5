#include "completion/CatalogReader.h"

#include "catalog/CColumns.h"
#include "catalog/CStoredProcedures.h"
#include "catalog/CTables.h"
#include "common/ErrorText.h"
#include "driverinfo/IdentifiersModel.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

#include <sqlext.h>

namespace veltro {

namespace {

constexpr std::size_t keywordBufferSize = 32000;

// A driver that cannot answer has no such text.
std::string infoOrEmpty(const OdbcConnection& connection, SQLUSMALLINT infoType,
                        std::size_t size = 200) {
    try {
        return connection.infoText(infoType, size);
    } catch (const DatabaseError&) {
        return {};
    }
}

std::optional<std::string> owner(const CatalogName& table, const std::string& escape) {
    if (table.schema.empty()) {
        return std::nullopt;
    }
    return searchPatternEscaped(table.schema, escape);
}

} // namespace

CatalogReader::CatalogReader(Source source, NamesReady namesReady, ColumnsReady columnsReady)
    : source(std::move(source)), namesReady(std::move(namesReady)),
      columnsReady(std::move(columnsReady)) {}

CatalogReader::~CatalogReader() {
    {
        const std::lock_guard guard(lock);
        stopping = true;
        requests.clear();
    }
    wake.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void CatalogReader::readNames(std::uint64_t generation) {
    post({generation, std::nullopt});
}

void CatalogReader::readColumns(std::uint64_t generation, const CatalogName& table) {
    post({generation, table});
}

void CatalogReader::post(Request request) {
    {
        const std::lock_guard guard(lock);
        requests.push_back(std::move(request));
        if (!thread.joinable()) {
            thread = std::thread(&CatalogReader::run, this);
        }
    }
    wake.notify_all();
}

void CatalogReader::run() {
    for (;;) {
        Request request;
        {
            std::unique_lock guard(lock);
            wake.wait(guard, [this] { return stopping || !requests.empty(); });
            if (stopping) {
                return;
            }
            request = std::move(requests.front());
            requests.pop_front();
        }
        if (request.columnsOf) {
            columnsReady(columnsOf(request.generation, *request.columnsOf));
        } else {
            namesReady(names(request.generation));
        }
    }
}

OdbcConnection& CatalogReader::connection() {
    if (!catalogConnection || !catalogConnection->isOpen()) {
        auto opened = std::make_shared<OdbcConnection>();
        opened->setLoginTimeout(source.loginTimeout);
        if (!opened->open(source.connectString, nullptr)) {
            throw DatabaseError(SQL_ERROR, "The data source could not be reached.", {});
        }
        catalogConnection = std::move(opened);
    }
    return *catalogConnection;
}

CatalogNames CatalogReader::names(std::uint64_t generation) {
    CatalogNames names;
    names.generation = generation;
    try {
        OdbcConnection& catalog = connection();
        auto folding = NameQuoting::Folding::mixed;
        try {
            folding = static_cast<NameQuoting::Folding>(catalog.infoU16(SQL_IDENTIFIER_CASE));
        } catch (const DatabaseError&) {
            // A driver that cannot say is taken to keep names as written.
        }
        names.quoting =
            NameQuoting::forDataSource(source.isSqlServerFamily, source.isJetDriver,
                                       infoOrEmpty(catalog, SQL_IDENTIFIER_QUOTE_CHAR), folding);
        names.keywords = splitCommaList(infoOrEmpty(catalog, SQL_KEYWORDS, keywordBufferSize));
        if (catalog.supportsFunction(SQL_API_SQLTABLES)) {
            CTables tables(catalogConnection);
            const bool open =
                tables.Open(std::nullopt, std::nullopt, std::nullopt, tableTypeList(true, false));
            for (; open && !tables.IsEOF() && !stopRequested(); tables.MoveNext()) {
                names.tables.push_back({tables.tableOwner(), tables.tableName()});
            }
        }
        if (catalog.supportsFunction(SQL_API_SQLPROCEDURES)) {
            CStoredProcedures procedures(catalogConnection);
            const bool open = procedures.Open(std::nullopt, std::nullopt, std::nullopt);
            for (; open && !procedures.IsEOF() && !stopRequested(); procedures.MoveNext()) {
                names.procedures.push_back(
                    {procedures.procedureOwner(), procedures.procedureName()});
            }
        }
    } catch (...) {
        names.errorText = errorTextFor(std::current_exception());
    }
    return names;
}

CatalogColumns CatalogReader::columnsOf(std::uint64_t generation, const CatalogName& table) {
    CatalogColumns result;
    result.generation = generation;
    result.table = table;
    try {
        OdbcConnection& catalog = connection();
        if (!catalog.supportsFunction(SQL_API_SQLCOLUMNS)) {
            return result;
        }
        const std::string escape = infoOrEmpty(catalog, SQL_SEARCH_PATTERN_ESCAPE);
        CColumns columns(catalogConnection);
        const bool open = columns.Open(std::nullopt, owner(table, escape),
                                       searchPatternEscaped(table.name, escape), std::nullopt);
        for (; open && !columns.IsEOF() && !stopRequested(); columns.MoveNext()) {
            result.columns.push_back(columns.columnName());
        }
    } catch (...) {
        result.errorText = errorTextFor(std::current_exception());
    }
    return result;
}

} // namespace veltro
