#include "Connection.h"

#include "FunctionIds.h"
#include "IniFile.h"
#include "OutputBuffer.h"
#include "ProfileLoader.h"
#include "Statement.h"

#include <algorithm>
#include <cstdlib>

namespace veltro::testdriver {

namespace {

// SQLConnect names a DSN; its attributes live in the odbc.ini the driver manager uses.
std::optional<IniFile> findOdbcIni() {
    if (const char* path = std::getenv("ODBCINI")) {
        if (auto file = IniFile::load(path))
            return file;
    }
    if (const char* directory = std::getenv("ODBCSYSINI"))
        return IniFile::load(std::string(directory) + "/odbc.ini");
    return IniFile::load("/etc/odbc.ini");
}

} // namespace

Connection::Connection(Environment& environment) : environment_(environment) {}

Connection::~Connection() {
    statements_.clear();
    if (database_ != nullptr)
        sqlite3_close_v2(database_);
}

SQLRETURN Connection::driverConnect(std::string_view text, SQLCHAR* out, SQLSMALLINT outMax,
                                    SQLSMALLINT* outLength) {
    diagnostics_.clear();
    ConnectionString attributes = ConnectionString::parse(text);
    if (const auto dsn = attributes.find("DSN"))
        dataSourceName_ = *dsn;
    userName_ = attributes.find("UID").value_or("");
    const SQLRETURN rc = open(attributes);
    if (!SQL_SUCCEEDED(rc))
        return rc;
    if (copyOut(text, out, outMax, outLength)) {
        diagnostics_.add("01004", "String data, right truncated");
        return diagnostics_.finish(SQL_SUCCESS_WITH_INFO);
    }
    return rc;
}

SQLRETURN Connection::connectDsn(std::string dsn, std::string user) {
    diagnostics_.clear();
    ConnectionString attributes;
    if (const auto file = findOdbcIni()) {
        if (const IniSection* section = file->find(dsn)) {
            for (const auto& entry : section->entries)
                attributes.set(entry.key, entry.value);
        }
    }
    dataSourceName_ = std::move(dsn);
    userName_ = std::move(user);
    return open(attributes);
}

SQLRETURN Connection::open(const ConnectionString& attributes) {
    std::string error;
    auto profile = ProfileLoader::load(attributes, error);
    if (!profile)
        return diagnostics_.error("HY000", error);
    profile_ = std::move(*profile);
    if (profile_.connectNoData)
        return diagnostics_.finish(SQL_NO_DATA);
    if (profile_.connectError)
        return diagnostics_.error(profile_.connectError->state, profile_.connectError->message,
                                  profile_.connectError->native);
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(profile_.database.c_str(), &database_, flags, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(database_);
        sqlite3_close_v2(database_);
        database_ = nullptr;
        return diagnostics_.error("08001",
                                  "Cannot open database '" + profile_.database + "': " + message);
    }
    counters_ = std::make_unique<Counters>(profile_.statsFile);
    counters_->bump(Counter::Connects);
    currentDatabase_ = profile_.currentDatabase;
    if (currentDatabase_.empty())
        currentDatabase_ = profile_.databases.empty() ? "main" : profile_.databases.front();
    return SQL_SUCCESS;
}

SQLRETURN Connection::disconnect() {
    diagnostics_.clear();
    {
        std::lock_guard lock(statementsMutex_);
        statements_.clear();
    }
    if (database_ != nullptr)
        sqlite3_close_v2(database_);
    database_ = nullptr;
    return SQL_SUCCESS;
}

SQLRETURN Connection::getInfo(SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT bufferLength,
                              SQLSMALLINT* length) {
    diagnostics_.clear();
    std::optional<InfoValue> answer;
    if (const auto it = profile_.info.find(type); it != profile_.info.end())
        answer = it->second;
    else if (type == SQL_DATA_SOURCE_NAME)
        answer = InfoValue{InfoKind::String, dataSourceName_, 0};
    else if (type == SQL_DATABASE_NAME)
        answer = InfoValue{InfoKind::String, currentDatabase(), 0};
    else if (type == SQL_USER_NAME)
        answer = InfoValue{InfoKind::String, userName_.empty() ? "tester" : userName_, 0};
    else
        answer = defaultInfoValue(type);
    if (!answer)
        return diagnostics_.error("HY096", "Information type out of range");
    switch (answer->kind) {
    case InfoKind::UShort:
        if (value != nullptr)
            *static_cast<SQLUSMALLINT*>(value) = static_cast<SQLUSMALLINT>(answer->number);
        if (length != nullptr)
            *length = sizeof(SQLUSMALLINT);
        return SQL_SUCCESS;
    case InfoKind::UInteger:
        if (value != nullptr)
            *static_cast<SQLUINTEGER*>(value) = answer->number;
        if (length != nullptr)
            *length = sizeof(SQLUINTEGER);
        return SQL_SUCCESS;
    case InfoKind::String:
        break;
    }
    if (copyOut(answer->text, value, bufferLength, length)) {
        diagnostics_.add("01004", "String data, right truncated");
        return diagnostics_.finish(SQL_SUCCESS_WITH_INFO);
    }
    return SQL_SUCCESS;
}

SQLRETURN Connection::getFunctions(SQLUSMALLINT id, SQLUSMALLINT* supported) const {
    const auto has = [&](SQLUSMALLINT function) {
        return isImplemented(function) && !profile_.missingFunctions.contains(function);
    };
    if (id == SQL_API_ODBC3_ALL_FUNCTIONS) {
        for (int word = 0; word < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE; ++word)
            supported[word] = 0;
        for (int function = 0; function < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE * 16; ++function) {
            if (has(static_cast<SQLUSMALLINT>(function)))
                supported[function >> 4] |= static_cast<SQLUSMALLINT>(1 << (function & 0xF));
        }
    } else if (id == SQL_API_ALL_FUNCTIONS) {
        for (SQLUSMALLINT function = 0; function < 100; ++function)
            supported[function] = has(function) ? SQL_TRUE : SQL_FALSE;
    } else {
        *supported = has(id) ? SQL_TRUE : SQL_FALSE;
    }
    return SQL_SUCCESS;
}

SQLRETURN Connection::setAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length) {
    diagnostics_.clear();
    const auto number = static_cast<SQLUINTEGER>(reinterpret_cast<SQLULEN>(value));
    switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT:
        if (number == SQL_AUTOCOMMIT_ON && !autocommit_ && database_ != nullptr &&
            !sqlite3_get_autocommit(database_))
            sqlite3_exec(database_, "COMMIT", nullptr, nullptr, nullptr);
        autocommit_ = number == SQL_AUTOCOMMIT_ON;
        return SQL_SUCCESS;
    case SQL_ATTR_LOGIN_TIMEOUT:
        loginTimeout_ = number;
        return SQL_SUCCESS;
    case SQL_ATTR_CURRENT_CATALOG: {
        const auto* text = static_cast<const char*>(value);
        const std::string name =
            length == SQL_NTS ? std::string(text) : std::string(text, static_cast<size_t>(length));
        if (!useDatabase(name))
            return diagnostics_.error("08004", "Database '" + name + "' does not exist.", 911);
        return SQL_SUCCESS;
    }
    default:
        // Other attributes (timeouts, packet size, ...) are accepted and have no effect.
        return SQL_SUCCESS;
    }
}

SQLRETURN Connection::getAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                   SQLINTEGER* length) {
    diagnostics_.clear();
    const auto number = [&](SQLUINTEGER answer) {
        if (value != nullptr)
            *static_cast<SQLUINTEGER*>(value) = answer;
        if (length != nullptr)
            *length = sizeof(SQLUINTEGER);
        return SQL_SUCCESS;
    };
    switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT:
        return number(autocommit_ ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF);
    case SQL_ATTR_LOGIN_TIMEOUT:
        return number(loginTimeout_);
    case SQL_ATTR_CONNECTION_DEAD:
        return number(database_ == nullptr ? SQL_CD_TRUE : SQL_CD_FALSE);
    case SQL_ATTR_ACCESS_MODE:
        return number(SQL_MODE_READ_WRITE);
    case SQL_ATTR_TXN_ISOLATION:
        return number(SQL_TXN_SERIALIZABLE);
    case SQL_ATTR_CURRENT_CATALOG:
        if (copyOut(currentDatabase(), value, bufferLength, length)) {
            diagnostics_.add("01004", "String data, right truncated");
            return diagnostics_.finish(SQL_SUCCESS_WITH_INFO);
        }
        return SQL_SUCCESS;
    default:
        return number(0);
    }
}

SQLRETURN Connection::endTransaction(SQLSMALLINT completion) {
    diagnostics_.clear();
    if (database_ == nullptr || sqlite3_get_autocommit(database_))
        return SQL_SUCCESS;
    const char* sql = completion == SQL_COMMIT ? "COMMIT" : "ROLLBACK";
    if (sqlite3_exec(database_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return diagnostics_.error("HY000", sqlite3_errmsg(database_), sqlite3_errcode(database_));
    return SQL_SUCCESS;
}

bool Connection::refuseMissing(SQLUSMALLINT function, Diagnostics& diagnostics) const {
    if (!profile_.missingFunctions.contains(function))
        return false;
    diagnostics.error("IM001", "Driver does not support this function");
    return true;
}

Statement* Connection::createStatement() {
    std::lock_guard lock(statementsMutex_);
    return statements_.emplace_back(std::make_unique<Statement>(*this)).get();
}

void Connection::destroyStatement(Statement* statement) {
    std::lock_guard lock(statementsMutex_);
    std::erase_if(statements_, [&](const auto& owned) { return owned.get() == statement; });
}

bool Connection::admitStatement() {
    counters_->bump(Counter::StatementsAllocated);
    return !profile_.failAllocStmt.fires(++allocations_);
}

bool Connection::catalogFails() {
    return profile_.failCatalog.fires(++catalogCalls_);
}

bool Connection::executionFails(std::string_view sql) {
    counters_->bump(Counter::Executions);
    const bool nth = profile_.failExec.fires(++executions_);
    const bool text = !profile_.failOnText.empty() && sql.find(profile_.failOnText) != sql.npos;
    return nth || text;
}

void Connection::beginImplicitTransaction() {
    if (!autocommit_ && database_ != nullptr && sqlite3_get_autocommit(database_))
        sqlite3_exec(database_, "BEGIN", nullptr, nullptr, nullptr);
}

std::string Connection::currentDatabase() const {
    std::lock_guard lock(currentDatabaseMutex_);
    return currentDatabase_;
}

bool Connection::useDatabase(std::string_view name) {
    const std::string wanted = unquoteName(name);
    std::lock_guard lock(currentDatabaseMutex_);
    for (const auto& database : profile_.databases) {
        if (iequals(database, wanted)) {
            currentDatabase_ = database;
            return true;
        }
    }
    if (iequals(wanted, currentDatabase_))
        return true;
    return false;
}

} // namespace veltro::testdriver
