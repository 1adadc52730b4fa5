#pragma once

#include "Diagnostics.h"
#include "InfoTypes.h"
#include "SqlTypeMapper.h"
#include "StringUtil.h"

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace veltro::testdriver {

// The kinds of call that can be made to answer SQL_STILL_EXECUTING first.
enum class CallKind { Exec, Fetch, GetData, MoreResults, Catalog, Describe };
inline constexpr size_t callKindCount = 6;

// "N" fires on the N-th occurrence (1-based), "*" on every one.
struct Trigger {
    int nth = 0;
    bool every = false;

    bool fires(int occurrence) const { return every || (nth > 0 && occurrence == nth); }
};

enum class NoTotalMode { Off, LongColumns, AllColumns };

using OptionalText = std::optional<std::string>;

struct CatalogTable {
    OptionalText catalog, schema;
    std::string name, type;
    OptionalText remarks;
};

struct CatalogProcedure {
    OptionalText catalog, schema;
    std::string name;
    OptionalText remarks;
    int type = SQL_PT_PROCEDURE;
};

struct CatalogColumn {
    std::string table, name;
    TypeSpec type;
    std::string typeName;
    SQLSMALLINT nullable = SQL_NULLABLE;
};

// Everything one connection claims and does, from the profile file and the
// connection string (which wins).
struct Profile {
    std::string database = ":memory:";
    std::string schema;
    std::string statsFile;

    std::map<SQLUSMALLINT, InfoValue> info;
    std::set<SQLUSMALLINT> missingFunctions;
    bool rowCountUnknown = false;

    std::array<int, callKindCount> stillExecuting{};
    Trigger failExec;
    std::string failOnText;
    Trigger failFetch;
    Trigger failMoreResults;
    Trigger failAllocStmt;
    Trigger failCatalog;
    DiagRecord error{"HY000", 0, std::string(messagePrefix) + "Injected failure"};
    int errorRecords = 1;
    std::optional<DiagRecord> connectError;
    bool connectNoData = false;
    NoTotalMode noTotal = NoTotalMode::Off;
    std::optional<SQLULEN> columnSize;
    std::map<std::string, SQLULEN, CaseInsensitiveLess> columnSizes;
    std::map<std::string, TypeSpec, CaseInsensitiveLess> columnTypes;
    // The length SQLGetData reports for a column's values, whatever it delivered.
    std::map<std::string, SQLLEN, CaseInsensitiveLess> reportedLengths;
    // SQLGetData rounds an approximate number that does not fit the buffer to the digits that
    // do, and answers the rounded text as the whole value.
    bool roundApproximate = false;
    int execDelayMs = 0;
    int fetchDelayMs = 0;
    // SQLCancel calls that find a call running and are answered but ignored, per statement.
    int missCancels = 0;

    // Up to 19 fields per row; nullopt is NULL.
    std::vector<std::vector<OptionalText>> typeInfo;
    std::vector<CatalogTable> tables;
    std::vector<CatalogProcedure> procedures;
    std::vector<CatalogColumn> columns;
    std::map<std::string, std::vector<std::string>, CaseInsensitiveLess> sources;
    std::vector<std::string> databases;
    std::string currentDatabase;
    std::optional<DiagRecord> databasesError;

    bool multipleResults() const;
    // The records of an injected error: ErrorRecords copies of Error, numbered.
    std::vector<DiagRecord> injectedErrors() const;
};

} // namespace veltro::testdriver
