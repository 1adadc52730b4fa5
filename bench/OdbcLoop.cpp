// bench_odbc_loop CONNECT_STRING [SQL]
// The reference for the fetch benchmark: the least work any program must do to read a
// result as text over ODBC. One statement, SQLFetch per row, SQLGetData as SQL_C_CHAR per
// cell, every value and a separator appended to one std::string. No grid, no formatting.
// Reports the rows and bytes read on standard error; exits 0, or 1 on an ODBC error.
#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// Owns one ODBC handle; freed in reverse order of allocation by scope.
class Handle {
public:
    Handle(SQLSMALLINT type, SQLHANDLE parent) : type(type) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle))) {
            throw std::runtime_error("SQLAllocHandle failed");
        }
    }
    ~Handle() { SQLFreeHandle(type, handle); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle; }

private:
    SQLSMALLINT type;
    SQLHANDLE handle = SQL_NULL_HANDLE;
};

// The connection is closed before its handle is freed.
class Connected {
public:
    explicit Connected(SQLHDBC dbc) : dbc(dbc) {}
    ~Connected() { SQLDisconnect(dbc); }
    Connected(const Connected&) = delete;
    Connected& operator=(const Connected&) = delete;

private:
    SQLHDBC dbc;
};

std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    SQLCHAR state[6];
    SQLCHAR message[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; SQL_SUCCEEDED(
             SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length));
         ++i) {
        text += reinterpret_cast<char*>(state);
        text += ' ';
        text += reinterpret_cast<char*>(message);
        text += '\n';
    }
    return text;
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (!SQL_SUCCEEDED(rc)) {
        throw std::runtime_error(std::string(what) + " failed:\n" + diagnostics(type, handle));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: bench_odbc_loop CONNECT_STRING [SQL]\n");
        return 2;
    }
    std::string connectString = argv[1];
    std::string sql = argc == 3 ? argv[2] : "SELECT * FROM bench_rows";

    try {
        Handle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
        check(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, env.get(), "SQLSetEnvAttr");
        Handle dbc(SQL_HANDLE_DBC, env.get());
        check(SQLDriverConnect(dbc.get(), nullptr, reinterpret_cast<SQLCHAR*>(connectString.data()),
                               SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
              SQL_HANDLE_DBC, dbc.get(), "SQLDriverConnect");
        Connected connected(dbc.get());
        Handle stmt(SQL_HANDLE_STMT, dbc.get());
        check(SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS),
              SQL_HANDLE_STMT, stmt.get(), "SQLExecDirect");

        SQLSMALLINT columns = 0;
        check(SQLNumResultCols(stmt.get(), &columns), SQL_HANDLE_STMT, stmt.get(),
              "SQLNumResultCols");

        std::string text;
        char buffer[4096];
        long long rows = 0;
        SQLRETURN rc;
        while ((rc = SQLFetch(stmt.get())) != SQL_NO_DATA) {
            check(rc, SQL_HANDLE_STMT, stmt.get(), "SQLFetch");
            for (SQLUSMALLINT c = 1; c <= columns; ++c) {
                // Long values come in pieces: call again until the driver has no more.
                for (;;) {
                    SQLLEN indicator = 0;
                    rc = SQLGetData(stmt.get(), c, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
                    if (rc == SQL_NO_DATA) {
                        break;
                    }
                    check(rc, SQL_HANDLE_STMT, stmt.get(), "SQLGetData");
                    if (indicator == SQL_NULL_DATA) {
                        break;
                    }
                    const bool truncated = indicator == SQL_NO_TOTAL ||
                                           indicator >= static_cast<SQLLEN>(sizeof buffer);
                    text.append(buffer, truncated ? sizeof buffer - 1
                                                  : static_cast<std::size_t>(indicator));
                    if (!truncated) {
                        break;
                    }
                }
                text += c == columns ? '\n' : '\t';
            }
            ++rows;
        }
        std::fprintf(stderr, "bench_odbc_loop: %lld rows, %zu bytes\n", rows, text.size());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_odbc_loop: %s", error.what());
        return 1;
    }
    return 0;
}
