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

inline bool postgresRequired() {
    const char* required = std::getenv("VELTRO_REQUIRE_POSTGRES");
    return required != nullptr && std::string(required) == "1";
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
