#pragma once

#include "TestDatabases.h"

#include <gtest/gtest.h>

#include <string>

namespace veltro::test {

// The real drivers that parameterised tests run on.
enum class RealDriver { sqlite, postgres };

inline std::string realDriverName(const testing::TestParamInfo<RealDriver>& info) {
    return info.param == RealDriver::sqlite ? "SQLite" : "PostgreSQL";
}

// A SQLite file of the test's own in a fresh folder, or the PostgreSQL cluster (empty when
// there is none: VELTRO_REQUIRE_POSTGRES_OR_SKIP).
inline std::string realDriverConnectString(RealDriver driver, const std::string& name) {
    return driver == RealDriver::sqlite ? sqliteConnectString(workFolder(name) / (name + ".db"))
                                        : postgresConnectString();
}

} // namespace veltro::test

#define VELTRO_ON_REAL_DRIVERS(suite)                                                              \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Drivers, suite,                                                                            \
        testing::Values(::veltro::test::RealDriver::sqlite, ::veltro::test::RealDriver::postgres), \
        ::veltro::test::realDriverName)
