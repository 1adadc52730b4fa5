#include "V2Statement.h"

namespace veltro::testdriver::test {

V2Statement::V2Statement(const V2Connection& connection) : connection_(connection) {
    SQLAllocStmt(connection.handle(), &statement_);
}

V2Statement::~V2Statement() {
    if (statement_ != SQL_NULL_HSTMT)
        SQLFreeStmt(statement_, SQL_DROP);
}

SQLRETURN V2Statement::execute(const std::string& sql) {
    std::string text = sql;
    return SQLExecDirect(statement_, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
}

SQLSMALLINT V2Statement::columnCount() {
    SQLSMALLINT count = -1;
    SQLNumResultCols(statement_, &count);
    return count;
}

std::string V2Statement::columnName(SQLUSMALLINT column) {
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    SQLDescribeCol(statement_, column, name, sizeof name, &length, nullptr, nullptr, nullptr,
                   nullptr);
    return reinterpret_cast<char*>(name);
}

SQLLEN V2Statement::rowCount() {
    SQLLEN count = -2;
    SQLRowCount(statement_, &count);
    return count;
}

std::vector<Row> V2Statement::rows() {
    std::vector<Row> result;
    const SQLSMALLINT columns = columnCount();
    while (SQL_SUCCEEDED(SQLFetch(statement_))) {
        Row row;
        for (SQLUSMALLINT column = 1; column <= columns; ++column) {
            char buffer[4096] = {};
            SQLLEN indicator = 0;
            SQLGetData(statement_, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            row.push_back(indicator == SQL_NULL_DATA ? std::nullopt
                                                     : std::optional<std::string>(buffer));
        }
        result.push_back(std::move(row));
    }
    return result;
}

std::vector<DiagnosticRecord> V2Statement::errors() {
    std::vector<DiagnosticRecord> records;
    SQLCHAR state[6];
    SQLINTEGER native = 0;
    SQLCHAR message[1024];
    SQLSMALLINT length = 0;
    while (SQLError(connection_.environment(), connection_.handle(), statement_, state, &native,
                    message, sizeof message, &length) == SQL_SUCCESS)
        records.push_back(
            {reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(message)});
    return records;
}

} // namespace veltro::testdriver::test
