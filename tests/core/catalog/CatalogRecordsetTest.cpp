// The catalog recordsets on the test driver (missing functions, STILL_EXECUTING, binding by
// position) and on the real drivers (the table types).
#include "RealDrivers.h"
#include "TestConnection.h"
#include "TestDriver.h"

#include "catalog/CColumns.h"
#include "catalog/CStoredProcedures.h"
#include "catalog/CTables.h"
#include "common/AppError.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>

namespace veltro {
namespace {

using test::connect;
using test::run;

// A call count of the test driver for this connection; the reading's own statement counts.
long connectionCounter(const std::shared_ptr<OdbcConnection>& connection, const std::string& name) {
    CRecordsetEx stats(connection);
    stats.Execute("SELECT * FROM veltro_driver_stats");
    std::string counter;
    std::string value;
    for (; !stats.IsEOF(); stats.MoveNext()) {
        stats.GetFieldValue(0, counter);
        stats.GetFieldValue(1, value);
        if (counter == name) {
            return std::stol(value);
        }
    }
    return -1;
}

std::vector<std::string> tableRows(CTables& tables) {
    std::vector<std::string> rows;
    for (; !tables.IsEOF(); tables.MoveNext()) {
        rows.push_back(tables.tableName() + "|" + tables.tableType() + "|" + tables.tableOwner());
    }
    return rows;
}

TEST(CatalogRecordsets, MissingFunctionIsATextErrorBeforeAnyStatement) {
    const auto connection = connect(test::testDriver("Missing=SQLTables,SQLProcedures,SQLColumns"));
    const std::vector<std::pair<std::string, std::function<void()>>> opens = {
        {"<::SQLTables> not supported.",
         [&] { CTables(connection).Open(std::nullopt, std::nullopt, std::nullopt, "'TABLE'"); }},
        {"<::SQLProcedures> not supported.",
         [&] { CStoredProcedures(connection).Open(std::nullopt, std::nullopt, std::nullopt); }},
        {"<::SQLColumns> not supported.",
         [&] { CColumns(connection).Open(std::nullopt, std::nullopt, "t", std::nullopt); }},
    };
    for (const auto& [text, open] : opens) {
        const long before = connectionCounter(connection, "statements_allocated");
        try {
            open();
            ADD_FAILURE() << "no error for " << text;
        } catch (const AppError& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
        // Only the counter's own reading allocated a statement.
        EXPECT_EQ(connectionCounter(connection, "statements_allocated"), before + 1) << text;
    }
}

TEST(CatalogRecordsets, StillExecutingDriverIsAskedAgainUntilItAnswers) {
    const auto connection = connect(test::testDriver("StillExecuting.Catalog=3"));
    run(connection, "CREATE TABLE t1 (a INTEGER)");
    CTables tables(connection);
    ASSERT_TRUE(tables.Open(std::nullopt, std::nullopt, std::nullopt, "'TABLE'"));
    EXPECT_EQ(tableRows(tables), std::vector<std::string>{"t1|TABLE|"});
    EXPECT_EQ(connectionCounter(connection, "still_executing"), 3);
}

TEST(CatalogRecordsets, EmptyResultIsBofAndEof) {
    const auto connection = connect(test::testDriver());
    CTables tables(connection);
    ASSERT_TRUE(tables.Open(std::nullopt, std::nullopt, std::nullopt, "'TABLE'"));
    EXPECT_TRUE(tables.IsBOF());
    EXPECT_TRUE(tables.IsEOF());
    EXPECT_EQ(tables.tableName(), "");
}

TEST(CatalogRecordsets, FieldsAreBoundByPosition) {
    const auto profile = test::workFolder("catalog-fields") / "profile.ini";
    std::ofstream(profile) << "[catalog]\n"
                              "procedure = Sales|dbo|AddOrder;1|remarks here|2\n";
    const auto connection = connect(test::testDriver("Profile=" + profile.string()));
    CStoredProcedures procedures(connection);
    ASSERT_TRUE(procedures.Open(std::nullopt, std::nullopt, std::nullopt));
    ASSERT_FALSE(procedures.IsEOF());
    EXPECT_EQ(procedures.procedureName(), "AddOrder;1");
    EXPECT_EQ(procedures.procedureOwner(), "dbo");
    // The fourth and fifth columns (NUM_INPUT_PARAMS, NUM_OUTPUT_PARAMS: NULL here), not
    // REMARKS and PROCEDURE_TYPE.
    EXPECT_EQ(procedures.textField(3), "");
    EXPECT_EQ(procedures.numberField(4), 0);
    procedures.MoveNext();
    EXPECT_TRUE(procedures.IsEOF());
}

TEST(CatalogRecordsets, TextFieldsHoldAtMost255Characters) {
    const auto connection = connect(test::testDriver());
    std::string name;
    for (int i = 0; i < 300; ++i) {
        name += "é";
    }
    run(connection, "CREATE TABLE \"" + name + "\" (a INTEGER)");
    CColumns columns(connection);
    ASSERT_TRUE(columns.Open(std::nullopt, std::nullopt, name, std::nullopt));
    ASSERT_FALSE(columns.IsEOF());
    EXPECT_EQ(columns.textField(2), name.substr(0, 255 * 2));
    EXPECT_EQ(columns.columnName(), "a");
}

class CatalogOnRealDrivers : public testing::TestWithParam<test::RealDriver> {
protected:
    void SetUp() override {
        const std::string connectString = test::realDriverConnectString(GetParam(), "catalog");
        VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
        connection = connect(connectString);
        run(connection, "DROP VIEW IF EXISTS ob_view");
        run(connection, "DROP TABLE IF EXISTS ob_table");
        run(connection, "CREATE TABLE ob_table (a INTEGER)");
        run(connection, "CREATE VIEW ob_view AS SELECT a FROM ob_table");
    }

    std::set<std::string> typesListed(const std::string& typeList, std::set<std::string>& ours) {
        CTables tables(connection);
        EXPECT_TRUE(tables.Open(std::nullopt, std::nullopt, std::nullopt, typeList));
        std::set<std::string> types;
        for (; !tables.IsEOF(); tables.MoveNext()) {
            types.insert(tables.tableType());
            if (tables.tableName().starts_with("ob_")) {
                ours.insert(tables.tableName() + " " + tables.tableType());
            }
        }
        return types;
    }

    std::shared_ptr<OdbcConnection> connection;
};

TEST_P(CatalogOnRealDrivers, TypeListChoosesTheKinds) {
    std::set<std::string> ours;
    EXPECT_EQ(typesListed("'TABLE'", ours), std::set<std::string>{"TABLE"});
    EXPECT_EQ(ours, std::set<std::string>{"ob_table TABLE"});

    ours.clear();
    const std::set<std::string> all = typesListed("'TABLE','VIEW','SYSTEM TABLE'", ours);
    EXPECT_EQ(ours, (std::set<std::string>{"ob_table TABLE", "ob_view VIEW"}));
    // The SQLite driver lists no system tables.
    EXPECT_EQ(all.contains("SYSTEM TABLE"), GetParam() == test::RealDriver::postgres);
}

VELTRO_ON_REAL_DRIVERS(CatalogOnRealDrivers);

} // namespace
} // namespace veltro
