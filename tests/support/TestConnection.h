#pragma once

#include "odbc/CRecordsetEx.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace veltro::test {

// A connection of the test's own, opened without a prompt.
inline std::shared_ptr<OdbcConnection> connect(const std::string& connectString) {
    auto connection = std::make_shared<OdbcConnection>();
    EXPECT_TRUE(connection->open(connectString, nullptr));
    return connection;
}

// Runs a statement; a failure throws as the recordset's do.
inline void run(const std::shared_ptr<OdbcConnection>& connection, const std::string& sql) {
    CRecordsetEx recordset(connection);
    ASSERT_TRUE(recordset.Execute(sql));
}

} // namespace veltro::test
