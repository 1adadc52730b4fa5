// bench_odbc_loop CONNECT_STRING SQL [--delimiter comma|tab|pipe] [--output FILE] [--threaded]
// The reference for the fetch benchmark: the least work any program must do to turn a
// result into the delimited text veltro exports. One statement; SQLFetch per row;
// SQLGetData as SQL_C_CHAR per cell into one preallocated buffer; each cell formatted into a
// preallocated arena that is written out in blocks of a megabyte. The bytes are veltro's:
// a header row of column names, cells quoted (inner quotes doubled) when they hold the
// delimiter, a double quote, CR or LF, NULL as nothing, rows ending in CR LF, an empty line
// after the result set. Output goes to standard output, or to FILE, which is flushed to
// disk before it is closed, as veltro does with an export file.
// --threaded starts and joins one thread first: the same loop in a process that has had a
// second thread, as every program with a worker thread has. glibc then takes each of the
// drivers' mutexes with an atomic instruction instead of a plain store.
// Reports the rows and bytes written on standard error; exits 0, 1 on a failure, 2 on usage.
#include <fcntl.h>
#include <sql.h>
#include <sqlext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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

// The output file descriptor, closed (after a flush to disk) only when it is a named file.
class Output {
public:
    explicit Output(const char* path) {
        if (path == nullptr) {
            return;
        }
        fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) {
            throw std::runtime_error(std::string("cannot open ") + path + ": " +
                                     std::strerror(errno));
        }
        struct stat status {};
        // As veltro does with an export file: a device is written, not flushed to disk.
        regular = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
        named = true;
    }
    ~Output() {
        if (named) {
            close(fd);
        }
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t written = ::write(fd, data, size);
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw std::runtime_error(std::string("write failed: ") + std::strerror(errno));
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    void sync() {
        if (regular && fsync(fd) != 0) {
            throw std::runtime_error(std::string("fsync failed: ") + std::strerror(errno));
        }
    }

private:
    int fd = STDOUT_FILENO;
    bool named = false;
    bool regular = false;
};

// Delimited text gathered in a fixed arena and written out a block at a time.
class Arena {
public:
    Arena(Output& output, char delimiter) : output(output), delimiter(delimiter) {
        special[static_cast<unsigned char>(delimiter)] = true;
        special['"'] = special['\r'] = special['\n'] = true;
    }

    void cell(std::size_t column, std::string_view value) {
        // The worst case: every byte a doubled quote, two enclosing quotes, a delimiter.
        const std::size_t room = 2 * value.size() + 3;
        if (room > space.size() - used) {
            flush();
            if (room > space.size()) {
                space.resize(room);
            }
        }
        char* out = space.data() + used;
        if (column > 0) {
            *out++ = delimiter;
        }
        if (needsQuotes(value)) {
            *out++ = '"';
            for (const char c : value) {
                *out++ = c;
                if (c == '"') {
                    *out++ = '"';
                }
            }
            *out++ = '"';
        } else {
            std::memcpy(out, value.data(), value.size());
            out += value.size();
        }
        used = static_cast<std::size_t>(out - space.data());
    }
    void endRow() {
        if (space.size() - used < 2) {
            flush();
        }
        space[used++] = '\r';
        space[used++] = '\n';
        if (used >= blockSize) {
            flush();
        }
    }
    void flush() {
        output.write(space.data(), used);
        total += used;
        used = 0;
    }
    std::size_t written() const { return total + used; }

private:
    static constexpr std::size_t blockSize = std::size_t{1} << 20;

    bool needsQuotes(std::string_view value) const {
        for (const char c : value) {
            if (special[static_cast<unsigned char>(c)]) {
                return true;
            }
        }
        return false;
    }

    Output& output;
    char delimiter;
    std::array<bool, 256> special{};
    std::vector<char> space = std::vector<char>(blockSize + 64 * 1024);
    std::size_t used = 0;
    std::size_t total = 0;
};

char delimiterNamed(const std::string& name) {
    if (name == "tab") {
        return '\t';
    }
    if (name == "comma") {
        return ',';
    }
    if (name == "pipe") {
        return '|';
    }
    throw std::invalid_argument("--delimiter takes comma, tab or pipe");
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_odbc_loop CONNECT_STRING SQL [--delimiter "
                             "comma|tab|pipe] [--output FILE] [--threaded]\n");
        return 2;
    }
    std::string connectString = argv[1];
    std::string sql = argv[2];
    char delimiter = '\t';
    const char* outputPath = nullptr;
    try {
        for (int i = 3; i < argc; ++i) {
            const std::string option = argv[i];
            if (option == "--threaded") {
                std::thread([] {}).join();
                continue;
            }
            if (i + 1 == argc) {
                throw std::invalid_argument(option + " takes a value");
            }
            if (option == "--delimiter") {
                delimiter = delimiterNamed(argv[++i]);
            } else if (option == "--output") {
                outputPath = argv[++i];
            } else {
                throw std::invalid_argument("unknown option " + option);
            }
        }
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "bench_odbc_loop: %s\n", error.what());
        return 2;
    }

    try {
        Output output(outputPath);
        Arena arena(output, delimiter);
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
        std::vector<char> buffer(64 * 1024);
        const auto bufferLength = static_cast<SQLLEN>(buffer.size());
        // The length offered for each column's first read: its size, a sign, a decimal point
        // and the terminator. Some drivers pad the whole length offered (the SQLite driver
        // copies with strncpy), so offering the whole buffer would cost time per cell.
        std::vector<SQLLEN> firstLength(static_cast<std::size_t>(columns) + 1);
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            SQLCHAR name[256];
            SQLSMALLINT nameLength = 0;
            SQLSMALLINT type = 0;
            SQLULEN size = 0;
            SQLSMALLINT scale = 0;
            SQLSMALLINT nullable = 0;
            check(SQLDescribeCol(stmt.get(), c, name, sizeof name, &nameLength, &type, &size,
                                 &scale, &nullable),
                  SQL_HANDLE_STMT, stmt.get(), "SQLDescribeCol");
            // veltro writes binary values as hexadecimal digits itself; this loop does not.
            if (type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY) {
                throw std::runtime_error("binary columns are not supported");
            }
            firstLength[c] = size == 0 || size > buffer.size() - 3 ? bufferLength
                                                                   : static_cast<SQLLEN>(size + 3);
            arena.cell(c - 1, std::string_view(reinterpret_cast<char*>(name),
                                               static_cast<std::size_t>(nameLength)));
        }
        arena.endRow();

        // A value longer than the buffer is gathered here, piece by piece.
        std::string longValue;
        long long rows = 0;
        SQLRETURN rc;
        while ((rc = SQLFetch(stmt.get())) != SQL_NO_DATA) {
            check(rc, SQL_HANDLE_STMT, stmt.get(), "SQLFetch");
            for (SQLUSMALLINT c = 1; c <= columns; ++c) {
                SQLLEN indicator = 0;
                rc = SQLGetData(stmt.get(), c, SQL_C_CHAR, buffer.data(), firstLength[c],
                                &indicator);
                check(rc, SQL_HANDLE_STMT, stmt.get(), "SQLGetData");
                if (indicator == SQL_NULL_DATA) {
                    arena.cell(c - 1, {});
                    continue;
                }
                if (indicator != SQL_NO_TOTAL && indicator < firstLength[c]) {
                    arena.cell(c - 1, std::string_view(buffer.data(),
                                                       static_cast<std::size_t>(indicator)));
                    continue;
                }
                // Long values come in pieces: call again until the driver has no more.
                longValue.assign(buffer.data(), static_cast<std::size_t>(firstLength[c]) - 1);
                for (;;) {
                    rc = SQLGetData(stmt.get(), c, SQL_C_CHAR, buffer.data(), bufferLength,
                                    &indicator);
                    if (rc == SQL_NO_DATA) {
                        break;
                    }
                    check(rc, SQL_HANDLE_STMT, stmt.get(), "SQLGetData");
                    const bool more = indicator == SQL_NO_TOTAL || indicator >= bufferLength;
                    longValue.append(buffer.data(), more ? buffer.size() - 1
                                                         : static_cast<std::size_t>(indicator));
                    if (!more) {
                        break;
                    }
                }
                arena.cell(c - 1, longValue);
            }
            arena.endRow();
            ++rows;
        }
        arena.endRow();
        arena.flush();
        output.sync();
        std::fprintf(stderr, "bench_odbc_loop: %lld rows, %zu bytes\n", rows, arena.written());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_odbc_loop: %s\n", error.what());
        return 1;
    }
    return 0;
}
