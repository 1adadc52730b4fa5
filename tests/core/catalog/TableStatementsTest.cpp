// Column lists and SELECT statements from the catalog of the real drivers, and the "Text"
// data source's way of describing a file.
#include "RealDrivers.h"
#include "TestDriver.h"

#include "catalog/CatalogListing.h"
#include "catalog/CatalogTarget.h"
#include "catalog/TableStatements.h"
#include "odbc/CRecordsetEx.h"
#include "session/Session.h"
#include "session/SessionHost.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

// A connected session, and what the object browser makes of it.
struct SessionTarget {
    explicit SessionTarget(const std::string& connectString) : session(settings, host) {
        EXPECT_TRUE(session.Connect(connectString, std::nullopt));
        target = catalogTargetOf(session);
    }

    MemorySettingsStore settings;
    SessionHost host;
    Session session;
    CatalogTarget target;
};

void run(const CatalogTarget& target, const std::string& sql) {
    CRecordsetEx recordset(target.connection);
    ASSERT_TRUE(recordset.Execute(sql)) << sql;
}

// The statements of the Tables dialog for the tables with these listed names.
std::string selects(const CatalogTarget& target, const std::vector<std::string>& names) {
    std::vector<ChosenTable> rows;
    for (const std::string& name : names) {
        rows.push_back({name, "TABLE", ""});
    }
    return composeTablesText(target, rows, false,
                             [&](const std::string& table) -> std::optional<std::string> {
                                 const ColumnList list = BuildColumnList(target, table);
                                 EXPECT_EQ(list.errorText, "");
                                 return list.columns;
                             })
        .resultText;
}

// The listed name of the table whose name the text is part of.
std::string listedName(const CatalogTarget& target, const std::string& part) {
    for (const std::string& line : listTables(target, false, false).lines) {
        if (line.find(part) != std::string::npos) {
            return line.substr(0, line.find("|TABLE|"));
        }
    }
    return {};
}

class TableStatementsOnRealDrivers : public testing::TestWithParam<test::RealDriver> {
protected:
    void SetUp() override {
        const std::string connectString = test::realDriverConnectString(GetParam(), "statements");
        VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
        connected = std::make_unique<SessionTarget>(connectString);
        target = connected->target;
        for (const char* table :
             {"t1", "t2", "ob_victim", "\"my table\"", "\"a\"\"b; DROP TABLE ob_victim;--\"",
              "\"MY_TABLE\"", "\"MY1TABLE\""}) {
            run(target, std::string("DROP TABLE IF EXISTS ") + table);
        }
        run(target, "CREATE TABLE t1 (a INTEGER, b INTEGER)");
        run(target, "CREATE TABLE t2 (x INTEGER)");
    }

    std::unique_ptr<SessionTarget> connected;
    CatalogTarget target;
};

TEST_P(TableStatementsOnRealDrivers, OneSelectOfEveryColumnPerTable) {
    EXPECT_EQ(selects(target, {"t1", "t2"}), "\n\nSELECT a, b FROM t1;\n\nSELECT x FROM t2;");
}

TEST_P(TableStatementsOnRealDrivers, NamesWithBlanksAreQuotedAndRun) {
    run(target, "CREATE TABLE \"my table\" (\"my col\" INTEGER, b INTEGER)");
    const std::string name = listedName(target, "my table");
    EXPECT_EQ(name, "\"my table\"");
    const std::string text = selects(target, {name});
    EXPECT_EQ(text, "\n\nSELECT \"my col\", b FROM \"my table\";");
    run(target, text.substr(2));
}

TEST_P(TableStatementsOnRealDrivers, HostileNameSelectsFromThatTableAndDropsNothing) {
    run(target, "CREATE TABLE ob_victim (v INTEGER)");
    run(target, "CREATE TABLE \"a\"\"b; DROP TABLE ob_victim;--\" (c INTEGER)");
    const std::string name = listedName(target, "DROP TABLE");
    const std::string text = selects(target, {name});
    EXPECT_EQ(text, "\n\nSELECT c FROM \"a\"\"b; DROP TABLE ob_victim;--\";");
    run(target, text.substr(2));
    run(target, "SELECT v FROM ob_victim");
}

// "_" matches any character in a catalog pattern, and PostgreSQL folds unquoted names to
// lower case: either would select from another table.
TEST_P(TableStatementsOnRealDrivers, TableNameMatchesOnlyItself) {
    run(target, "CREATE TABLE \"MY_TABLE\" (a INTEGER)");
    run(target, "CREATE TABLE \"MY1TABLE\" (x INTEGER)");
    const std::string name = listedName(target, "MY_TABLE");
    const std::string text = selects(target, {name});
    EXPECT_EQ(text, "\n\nSELECT a FROM " + name + ";");
    run(target, text.substr(2));
}

VELTRO_ON_REAL_DRIVERS(TableStatementsOnRealDrivers);

TEST(TableStatementsOnTextDataSource, LongFileNamesAreDescribedByAQuery) {
    const SessionTarget connected(test::testDriver("DBMS_NAME=Text"));
    const CatalogTarget& target = connected.target;
    run(target, "CREATE TABLE eightchr (a INTEGER, b INTEGER)");
    run(target, "CREATE TABLE ninechars (a INTEGER, b INTEGER)");
    // Through the query every column is quoted; through SQLColumns only where needed.
    EXPECT_EQ(BuildColumnList(target, "ninechars").columns, "\"a\", \"b\"");
    EXPECT_EQ(BuildColumnList(target, "eightchr").columns, "a, b");
}

} // namespace
} // namespace veltro
