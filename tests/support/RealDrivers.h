#pragma once

#include "TestDatabases.h"

#include <gtest/gtest.h>

#include <string>

namespace veltro::test {

// The real drivers that parameterised tests run on.
enum class RealDriver { sqlite, postgres, mariadb };

inline std::string realDriverName(const testing::TestParamInfo<RealDriver>& info) {
    switch (info.param) {
    case RealDriver::sqlite:
        return "SQLite";
    case RealDriver::postgres:
        return "PostgreSQL";
    case RealDriver::mariadb:
        return "MariaDB";
    }
    return "Unknown";
}

// A SQLite file of the test's own in a fresh folder, or the PostgreSQL cluster or MariaDB
// server (empty when there is none: VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP).
inline std::string realDriverConnectString(RealDriver driver, const std::string& name) {
    switch (driver) {
    case RealDriver::sqlite:
        return sqliteConnectString(workFolder(name) / (name + ".db"));
    case RealDriver::postgres:
        return postgresConnectString();
    case RealDriver::mariadb:
        return mariadbConnectString();
    }
    return {};
}

} // namespace veltro::test

// Skips the test where a server is absent, or fails it where scripts/test promised one.
#define VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP(driver, connectString)                                  \
    do {                                                                                           \
        if ((driver) == ::veltro::test::RealDriver::mariadb) {                                     \
            VELTRO_REQUIRE_MARIADB_OR_SKIP(connectString);                                         \
        } else {                                                                                   \
            VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);                                        \
        }                                                                                          \
    } while (false)

// SQLite and PostgreSQL.
#define VELTRO_ON_REAL_DRIVERS(suite)                                                              \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Drivers, suite,                                                                            \
        testing::Values(::veltro::test::RealDriver::sqlite, ::veltro::test::RealDriver::postgres), \
        ::veltro::test::realDriverName)

// SQLite, PostgreSQL and MariaDB.
#define VELTRO_ON_EVERY_REAL_DRIVER(suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(Drivers, suite,                                                       \
                             testing::Values(::veltro::test::RealDriver::sqlite,                   \
                                             ::veltro::test::RealDriver::postgres,                 \
                                             ::veltro::test::RealDriver::mariadb),                 \
                             ::veltro::test::realDriverName)
