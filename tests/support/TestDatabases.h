#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltro::test {

// A fresh folder under the build tree for one test's files.
inline std::filesystem::path workFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(VELTRO_TEST_WORK_DIR) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string sqliteConnectString(const std::filesystem::path& file) {
    return "Driver=SQLite3;Database=" + file.string();
}

// The PostgreSQL cluster that scripts/test starts. Where the script demands it
// (VELTRO_REQUIRE_POSTGRES=1) a missing cluster fails the test instead of skipping it.
inline std::string postgresConnectString() {
    const char* port = std::getenv("VELTRO_PG_PORT");
    if (port == nullptr || *port == '\0') {
        return {};
    }
    return std::string("Driver=PostgreSQL;Server=127.0.0.1;Port=") + port +
           ";Database=veltro_test;UID=veltro;PWD=veltro";
}

// The MariaDB server that scripts/test starts (VELTRO_REQUIRE_MARIADB=1 demands it), as a
// user connects: without the driver's option for several statements in one execution,
// since scripts go statement by statement.
inline std::string mariadbConnectString() {
    const char* port = std::getenv("VELTRO_MARIADB_PORT");
    if (port == nullptr || *port == '\0') {
        return {};
    }
    return std::string("Driver=MariaDB;Server=127.0.0.1;Port=") + port +
           ";Database=veltro_test;UID=veltro;PWD=veltro;CHARSET=utf8mb4";
}

inline bool environmentFlag(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && std::string(value) == "1";
}

inline bool postgresRequired() {
    return environmentFlag("VELTRO_REQUIRE_POSTGRES");
}

inline bool mariadbRequired() {
    return environmentFlag("VELTRO_REQUIRE_MARIADB");
}

} // namespace veltro::test

// Skips the test, or fails it when scripts/test promised a cluster, if none is there.
#define VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString)                                             \
    do {                                                                                           \
        if ((connectString).empty()) {                                                             \
            if (::veltro::test::postgresRequired()) {                                              \
                FAIL() << "VELTRO_PG_PORT is not set but PostgreSQL tests are required";           \
            }                                                                                      \
            GTEST_SKIP() << "no PostgreSQL cluster (VELTRO_PG_PORT not set)";                      \
        }                                                                                          \
    } while (false)

// The same for the MariaDB server.
#define VELTRO_REQUIRE_MARIADB_OR_SKIP(connectString)                                              \
    do {                                                                                           \
        if ((connectString).empty()) {                                                             \
            if (::veltro::test::mariadbRequired()) {                                               \
                FAIL() << "VELTRO_MARIADB_PORT is not set but MariaDB tests are required";         \
            }                                                                                      \
            GTEST_SKIP() << "no MariaDB server (VELTRO_MARIADB_PORT not set)";                     \
        }                                                                                          \
    } while (false)
