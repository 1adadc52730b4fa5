// The texts the object browser generates: names as listed, source-text statements per
// DBMS, and what the object commands put into the editor.
#include "catalog/ObjectText.h"
#include "catalog/CatalogTarget.h"
#include "catalog/NameQuoting.h"
#include "catalog/TableStatements.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

CatalogTarget target(const std::string& dbms, bool sqlServerFamily = false, bool jet = false) {
    CatalogTarget t;
    t.dbmsName = dbms;
    t.isSqlServerFamily = sqlServerFamily;
    t.isJetDriver = jet;
    t.quoting = NameQuoting::forDataSource(sqlServerFamily, jet, "\"");
    t.searchEscape = "\\";
    return t;
}

TEST(ObjectText, NamesAreQuotedSoThatTheStatementRuns) {
    const NameQuoting brackets = NameQuoting::forDataSource(true, false, "\"");
    const NameQuoting jet = NameQuoting::forDataSource(false, true, "`");
    const NameQuoting quotes = NameQuoting::forDataSource(false, false, "\"");
    const NameQuoting lowerCase =
        NameQuoting::forDataSource(false, false, "\"", NameQuoting::Folding::lower);
    struct Case {
        const NameQuoting& quoting;
        std::string name;
        std::string table;
        std::string column;
        std::string procedure;
    };
    const std::vector<Case> cases = {
        {brackets, "t1", "t1", "t1", "t1"},
        {brackets, "my table;1", "[my table;1]", "[my table;1]", "[my table]"},
        {brackets, "a-b", "a-b", "a-b", "a-b"},
        {brackets, "x] y", "[x]] y]", "[x]] y]", "[x]] y]"},
        {jet, "t1", "[t1]", "[t1]", "t1"},
        {jet, "my q.col", "[my q.col]", "[my q].[col]", "my q.col"},
        {quotes, "t1", "t1", "t1", "t1"},
        {quotes, "my table", "\"my table\"", "\"my table\"", "\"my table\""},
        {quotes, "MY-T", "\"MY-T\"", "\"MY-T\"", "\"MY-T\""},
        {quotes, "MyT", "MyT", "MyT", "MyT"},
        {lowerCase, "MyT", "\"MyT\"", "\"MyT\"", "\"MyT\""},
        {lowerCase, "my_t1", "my_t1", "my_t1", "my_t1"},
        {quotes, "a\"b; DROP TABLE t;--", "\"a\"\"b; DROP TABLE t;--\"",
         "\"a\"\"b; DROP TABLE t;--\"", "\"a\"\"b\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.quoting.tableName(c.name), c.table) << c.name;
        EXPECT_EQ(c.quoting.columnName(c.name), c.column) << c.name;
        EXPECT_EQ(c.quoting.procedureName(c.name), c.procedure) << c.name;
        EXPECT_EQ(c.quoting.bareName(c.table), c.name) << c.name;
    }
    // A driver without a quote character gets brackets.
    EXPECT_EQ(NameQuoting::forDataSource(false, false, " ").tableName("a b"), "[a b]");
}

TEST(ObjectText, SearchPatternsMatchOnlyTheName) {
    EXPECT_EQ(searchPatternEscaped("MY_TABLE%", "\\"), "MY\\_TABLE\\%");
    EXPECT_EQ(searchPatternEscaped("a\\b", "\\"), "a\\\\b");
    EXPECT_EQ(searchPatternEscaped("MY_TABLE", ""), "MY_TABLE");
    EXPECT_EQ(tableTypeList(false, false), "'TABLE'");
    EXPECT_EQ(tableTypeList(true, true), "'TABLE','VIEW','SYSTEM TABLE'");
    EXPECT_EQ(tableTypeList(false, true), "'TABLE','SYSTEM TABLE'");
}

TEST(ObjectText, SourceTextStatementsPerDbms) {
    struct Case {
        CatalogTarget target;
        std::string view;
        std::string procedure;
    };
    const std::vector<Case> cases = {
        {target("Microsoft SQL Server", true), "sp_helptext v", "sp_helptext p"},
        {target("Adaptive Server Anywhere", true), "sp_helptext v", "sp_helptext p"},
        {target("ORACLE"), "select TEXT from ALL_SOURCE where type = 'VIEW' and NAME = 'v'",
         "select TEXT from ALL_SOURCE where type = 'PROCEDURE' and NAME = 'p'"},
        {target("ACCESS", false, true), "v", "p // CDaoQueryDef::GetSQL()"},
        {target("Visual FoxPro"), "v // View text not supported",
         "p // Procedure text not supported"},
        {target("SQLite"), "SELECT sql FROM sqlite_master WHERE name = 'v'",
         "SELECT sql FROM sqlite_master WHERE name = 'p'"},
    };
    for (const Case& c : cases) {
        const std::string shownView = c.target.quoting.tableName("v");
        EXPECT_EQ(viewTextStatement(c.target, shownView, "dbo").statement, c.view)
            << c.target.dbmsName;
        EXPECT_EQ(viewTextStatement(c.target, shownView, "dbo").objectName, "v");
        EXPECT_EQ(procedureTextStatement(c.target, "p", "dbo"), c.procedure) << c.target.dbmsName;
    }
    // Names go in as literals.
    EXPECT_EQ(procedureTextStatement(target("SQLite"), "\"o'x\"", ""),
              "SELECT sql FROM sqlite_master WHERE name = 'o''x'");
}

// The window tests run the commands on the test driver's DBMSs; here what they leave alone.
TEST(ObjectText, CommandsSelectWhatTheyAppend) {
    // Without Output Text only a view is selected from like a table; positions count
    // characters.
    const ObjectCommandResult tables = tablesCommandResult(
        target("SQL Server", true), "é", {"\n\nSELECT a FROM v;", "VIEW", "", false});
    EXPECT_EQ(tables.editorText, "é\n\nSELECT a FROM v;");
    EXPECT_EQ(tables.selectionStart, 3u);
    EXPECT_EQ(tables.selectionEnd, 19u);
    EXPECT_FALSE(tables.objectText);
    // A view's not-supported text runs as an ordinary batch, a procedure's as a text batch.
    EXPECT_FALSE(
        tablesCommandResult(target("Informix"), "", {"\n\nv", "VIEW", "v", true}).objectText);
    EXPECT_TRUE(proceduresCommandResult(target("Informix"), "", "p", "").objectText);
}

TEST(ObjectText, OneSelectPerTableWithoutSemicolonsOnVisualFoxPro) {
    const auto columns = [](const std::string& table) -> std::optional<std::string> {
        return table == "t1" ? "a, b" : "x";
    };
    const std::vector<ChosenTable> rows = {{"t1", "TABLE", ""}, {"t2", "TABLE", ""}};
    EXPECT_EQ(composeTablesText(target("visual foxpro"), rows, false, columns).resultText,
              "\n\nSELECT a, b FROM t1\n\nSELECT x FROM t2");
    // A failed column list stops: nothing is produced.
    EXPECT_FALSE(composeTablesText(target("SQLite"), rows, false, [](const std::string&) {
                     return std::optional<std::string>();
                 }).complete);
}

} // namespace
} // namespace veltro
