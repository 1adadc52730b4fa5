// Every kind of value on every real driver, read as the user gets it: the bytes of a headless
// export and the cells of a grid. The text expected of each DBMS is the one its own
// command-line client prints (sqlite3, psql, mariadb), except where a comment says why not.
#include "BatchHarness.h"
#include "ProgramRun.h"
#include "RealDrivers.h"
#include "TestDriver.h"

#include "cli/CommandLine.h"
#include "cli/HeadlessRunner.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace veltro {
namespace {

using test::BatchHarness;
using test::RealDriver;
using Rows = std::vector<std::vector<std::string>>;

// One query per DBMS (nullptr: the DBMS has no such value) and the rows each one gives,
// column names first.
struct ValueCase {
    const char* name;
    const char* sql[3];
    Rows expected[3];
};

std::size_t slot(RealDriver driver) {
    return static_cast<std::size_t>(driver);
}

const std::string fiveMegabytes = [] {
    std::string text;
    for (int i = 0; i < 5 * 1024 * 1024 / 2; ++i) {
        text += "ab";
    }
    return text;
}();

// The tables the cases read, typed as each DBMS types them.
const char* const setup[3] = {
    // SQLite
    "DROP TABLE IF EXISTS ints; DROP TABLE IF EXISTS approx; DROP TABLE IF EXISTS stamps; "
    "DROP TABLE IF EXISTS bits; "
    "CREATE TABLE ints (s SMALLINT, i INTEGER, b BIGINT, u BIGINT); "
    "INSERT INTO ints VALUES (-32768, -2147483648, -9223372036854775808, 18446744073709551615), "
    "(32767, 2147483647, 9223372036854775807, 0); "
    "CREATE TABLE approx (n INTEGER, r REAL, d DOUBLE); "
    "INSERT INTO approx VALUES (1, 0.30000000000000004, 0.30000000000000004), "
    "(2, 3.141592653589793, 3.141592653589793), (3, -1.7976931348623157e308, "
    "-1.7976931348623157e308), (4, 2.2250738585072014e-308, 4.9406564584124654e-324), "
    "(5, 1.234567890123456e15, 12345678); "
    "CREATE TABLE stamps (d DATE, t TIME, ts TIMESTAMP); "
    "INSERT INTO stamps VALUES ('2024-02-29', '23:59:59.123456', '2024-02-29 23:59:59.123456'); "
    "CREATE TABLE bits (b1 BIT, b0 BIT, t BOOLEAN, f BOOLEAN); "
    "INSERT INTO bits VALUES (1, 0, 1, 0)",
    // PostgreSQL
    "DROP TABLE IF EXISTS ints, approx, stamps, bits; "
    "CREATE TABLE ints (s SMALLINT, i INTEGER, b BIGINT, u NUMERIC(20)); "
    "INSERT INTO ints VALUES (-32768, -2147483648, -9223372036854775808, 18446744073709551615), "
    "(32767, 2147483647, 9223372036854775807, 0); "
    "CREATE TABLE approx (n INTEGER, r REAL, d DOUBLE PRECISION); "
    "INSERT INTO approx VALUES (1, 0.30000000000000004, 0.30000000000000004), "
    "(2, 3.141592653589793, 3.141592653589793), (3, -3.4028235e38, -1.7976931348623157e308), "
    "(4, 1.4e-45, 4.9406564584124654e-324), (5, 12345678, 1.234567890123456e15); "
    "CREATE TABLE stamps (d DATE, t TIME(6), ts TIMESTAMP(6)); "
    "INSERT INTO stamps VALUES ('2024-02-29', '23:59:59.123456', '2024-02-29 23:59:59.123456'); "
    "CREATE TABLE bits (b1 BIT(1), b0 BIT(1), t BOOLEAN, f BOOLEAN, b8 BIT(8)); "
    "INSERT INTO bits VALUES (B'1', B'0', true, false, B'10100101')",
    // MariaDB
    "DROP TABLE IF EXISTS ints, approx, stamps, bits; "
    "CREATE TABLE ints (s SMALLINT, i INTEGER, b BIGINT, u BIGINT UNSIGNED); "
    "INSERT INTO ints VALUES (-32768, -2147483648, -9223372036854775808, 18446744073709551615), "
    "(32767, 2147483647, 9223372036854775807, 0); "
    "CREATE TABLE approx (n INTEGER, r FLOAT, d DOUBLE); "
    "INSERT INTO approx VALUES (1, 0.30000000000000004e0, 0.30000000000000004e0), "
    "(2, 3.141592653589793e0, 3.141592653589793e0), (3, -3.40282e38, "
    "-1.7976931348623157e308), (4, 1.4e-45, 4.9406564584124654e-324), "
    "(5, 12345678, 1.234567890123456e15); "
    "CREATE TABLE stamps (d DATE, t TIME(6), ts DATETIME(6)); "
    "INSERT INTO stamps VALUES ('2024-02-29', '23:59:59.123456', '2024-02-29 23:59:59.123456'); "
    "CREATE TABLE bits (b1 BIT(1), b0 BIT(1), t BOOLEAN, f BOOLEAN, b8 BIT(8)); "
    "INSERT INTO bits VALUES (b'1', b'0', true, false, b'10100101')",
};

std::vector<ValueCase> valueCases() {
    const Rows integers = {
        {"s", "i", "b", "u"},
        {"-32768", "-2147483648", "-9223372036854775808", "18446744073709551615"},
        {"32767", "2147483647", "9223372036854775807", "0"}};
    Rows sqliteIntegers = integers;
    // SQLite keeps an integer beyond 64 bits as an approximate number.
    sqliteIntegers[1][3] = "1.84467440737096e+19";
    const Rows stamps = {{"d", "t", "ts"},
                         {"2024-02-29", "23:59:59.123456", "2024-02-29 23:59:59.123456"}};
    const Rows specials = {{"crlf", "quotes", "delimiters"},
                           {"a\r\nb\nc", "say \"hi\"", "x\ty;z,w|v"}};
    const Rows binary = {{"b", "e"}, {"0x00FF10", ""}};
    const Rows big = {{"big"}, {fiveMegabytes}};
    return {
        {"null and empty",
         {"SELECT NULL AS n, '' AS e", "SELECT NULL AS n, '' AS e", "SELECT NULL AS n, '' AS e"},
         {{{"n", "e"}, {"", ""}}, {{"n", "e"}, {"", ""}}, {{"n", "e"}, {"", ""}}}},
        {"integers at their limits",
         {"SELECT s, i, b, u FROM ints ORDER BY s", "SELECT s, i, b, u FROM ints ORDER BY s",
          "SELECT s, i, b, u FROM ints ORDER BY s"},
         {sqliteIntegers, integers, integers}},
        // SQLite has no exact decimals.
        {"decimal(38,10)",
         {"SELECT CAST('1234567890123456789012345678.1234567890' AS DECIMAL(38,10)) AS d",
          "SELECT CAST('-1234567890123456789012345678.1234567890' AS DECIMAL(38,10)) AS d",
          "SELECT CAST('-1234567890123456789012345678.1234567890' AS DECIMAL(38,10)) AS d"},
         {{{"d"}, {"1.23456789012346e+27"}},
          {{"d"}, {"-1234567890123456789012345678.1234567890"}},
          {{"d"}, {"-1234567890123456789012345678.1234567890"}}}},
        // SQLite gives 15 significant digits, PostgreSQL and MariaDB the shortest text that
        // reads back as the same double; MariaDB's FLOAT keeps 6 digits.
        {"approximate numbers",
         {"SELECT r, d FROM approx ORDER BY n", "SELECT r, d FROM approx ORDER BY n",
          "SELECT r, d FROM approx ORDER BY n"},
         {{{"r", "d"},
           {"0.3", "0.3"},
           {"3.14159265358979", "3.14159265358979"},
           {"-1.79769313486232e+308", "-1.79769313486232e+308"},
           {"2.2250738585072e-308", "4.94065645841247e-324"},
           {"1.23456789012346e+15", "12345678.0"}},
          {{"r", "d"},
           {"0.3", "0.30000000000000004"},
           {"3.1415927", "3.141592653589793"},
           {"-3.4028235e+38", "-1.7976931348623157e+308"},
           {"1e-45", "5e-324"},
           {"1.2345678e+07", "1.234567890123456e+15"}},
          {{"r", "d"},
           {"0.3", "0.30000000000000004"},
           {"3.14159", "3.141592653589793"},
           {"-3.40282e38", "-1.7976931348623157e308"},
           {"1.4013e-45", "5e-324"},
           {"12345700", "1.234567890123456e15"}}}},
        {"date and time",
         {"SELECT d, t, ts FROM stamps", "SELECT d, t, ts FROM stamps",
          "SELECT d, t, ts, TIME '-838:59:59.999999' AS neg FROM stamps"},
         {stamps,
          stamps,
          {{"d", "t", "ts", "neg"},
           {"2024-02-29", "23:59:59.123456", "2024-02-29 23:59:59.123456", "-838:59:59.999999"}}}},
        // A bit and a boolean read as "1" or "0" (psql prints t and f, the mariadb client the
        // raw byte). PostgreSQL gives a BIT(8) as its digits, MariaDB as binary.
        {"bit and boolean",
         {"SELECT b1, b0, t, f FROM bits", "SELECT b1, b0, t, f, b8 FROM bits",
          "SELECT b1, b0, t, f, b8 FROM bits"},
         {{{"b1", "b0", "t", "f"}, {"1", "0", "1", "0"}},
          {{"b1", "b0", "t", "f", "b8"}, {"1", "0", "1", "0", "10100101"}},
          {{"b1", "b0", "t", "f", "b8"}, {"1", "0", "1", "0", "0xA5"}}}},
        // 0x and digits where psql prints \x and digits; an empty value stays empty.
        {"binary",
         {"SELECT X'00FF10' AS b, X'' AS e", "SELECT '\\x00ff10'::bytea AS b, ''::bytea AS e",
          "SELECT X'00FF10' AS b, X'' AS e"},
         {binary, binary, binary}},
        {"emoji",
         {"SELECT 'grin 😀' AS \"col😀\"", "SELECT 'grin 😀' AS \"col😀\"",
          // MariaDB takes no character beyond the BMP in a name (error 1300).
          "SELECT 'grin 😀' AS `colé`"},
         {{{"col😀"}, {"grin 😀"}}, {{"col😀"}, {"grin 😀"}}, {{"colé"}, {"grin 😀"}}}},
        {"line ends, quotes and delimiters",
         {"SELECT 'a' || char(13) || char(10) || 'b' || char(10) || 'c' AS crlf, "
          "'say \"hi\"' AS quotes, 'x' || char(9) || 'y;z,w|v' AS delimiters",
          "SELECT E'a\\r\\nb\\nc' AS crlf, 'say \"hi\"' AS quotes, E'x\\ty;z,w|v' AS delimiters",
          "SELECT 'a\\r\\nb\\nc' AS crlf, 'say \"hi\"' AS quotes, 'x\\ty;z,w|v' AS delimiters"},
         {specials, specials, specials}},
        {"five megabytes of text",
         {"SELECT replace(hex(zeroblob(2621440)), '00', 'ab') AS big",
          "SELECT repeat('ab', 2621440) AS big", "SELECT repeat('ab', 2621440) AS big"},
         {big, big, big}},
    };
}

// How the export writes a cell: quoted when it holds the delimiter, a quote, CR or LF.
std::string exportedCell(const std::string& cell) {
    if (cell.find_first_of("\t\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (const char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string exported(const Rows& rows) {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            text += (k > 0 ? "\t" : "") + exportedCell(row[k]);
        }
        text += "\r\n";
    }
    return text + "\r\n";
}

// A headless run of the batch to an export file: its exit status and the file's bytes (none
// when it was not written).
struct HeadlessExport {
    int status;
    std::optional<std::string> bytes;
};

HeadlessExport exportOf(const std::string& connectString, const std::string& batch,
                        const std::string& nullText = "") {
    const auto folder = test::workFolder("values-export");
    std::ofstream(folder / "batch.sql") << batch;
    CommandLine commandLine;
    commandLine.connectString = connectString;
    commandLine.executeFile = (folder / "batch.sql").string();
    commandLine.exportTarget = (folder / "out.txt").string();
    commandLine.nullText = nullText;
    HeadlessExport result{runHeadless(commandLine, MemorySettingsStore()), std::nullopt};
    if (std::filesystem::exists(folder / "out.txt")) {
        result.bytes = test::readWholeFile(folder / "out.txt");
    }
    return result;
}

class ValuesOnEveryDriver : public testing::TestWithParam<RealDriver> {
protected:
    void SetUp() override {
        connectString = test::realDriverConnectString(GetParam(), "values");
        VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP(GetParam(), connectString);
        BatchHarness h(connectString);
        ASSERT_TRUE(h.connected);
        h.run(setup[slot(GetParam())]);
        ASSERT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    }

    // The batch of every case the DBMS has, and the rows expected of it.
    std::pair<std::string, std::vector<Rows>> casesOfThisDriver() {
        std::string batch;
        std::vector<Rows> expected;
        for (const ValueCase& c : valueCases()) {
            if (const char* sql = c.sql[slot(GetParam())]) {
                batch += std::string(sql) + ";\n";
                expected.push_back(c.expected[slot(GetParam())]);
            }
        }
        return {batch, expected};
    }

    std::string connectString;
};

TEST_P(ValuesOnEveryDriver, GridCellsHoldWhatTheDbmsClientPrints) {
    const auto [batch, expected] = casesOfThisDriver();
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    h.run(batch);
    EXPECT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    ASSERT_EQ(h.view.grids.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(BatchHarness::cells(h.grid(k)), expected[k]) << "result set " << k + 1;
    }
}

TEST_P(ValuesOnEveryDriver, HeadlessExportWritesTheSameTextsByteForByte) {
    const auto [batch, expected] = casesOfThisDriver();
    std::string whole;
    for (const Rows& rows : expected) {
        whole += exported(rows);
    }
    const HeadlessExport result = exportOf(connectString, batch);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.bytes, whole);

    // --null marks a NULL, not an empty text.
    EXPECT_EQ(exportOf(connectString, "SELECT NULL AS n, '' AS e", "<NULL>").bytes,
              "n\te\r\n<NULL>\t\r\n\r\n");
}

VELTRO_ON_EVERY_REAL_DRIVER(ValuesOnEveryDriver);

// What no real driver does on cue: a DOUBLE described too short by a driver that rounds it
// to the buffer, lengths left unknown, and a length no answer can have, which ends the batch
// instead of becoming a value.
TEST(ValuesOnTheTestDriver, QuirksGiveWholeValuesAndImpossibleLengthsEndTheBatch) {
    struct Case {
        const char* attributes;
        const char* sql;
        Rows rows;
        const char* error;
    };
    const Case cases[] = {
        {"ColumnType.v=SQL_DOUBLE;ColumnSize.v=15;RoundApproximate=1",
         "SELECT '-1.7976931348623157e308' AS v",
         {{"v"}, {"-1.7976931348623157e308"}},
         nullptr},
        {"NoTotal=all;ColumnSize.v=3", "SELECT 'wxyz-long' AS v", {{"v"}, {"wxyz-long"}}, nullptr},
        {"ReportedLength.v=-13",
         "SELECT 1 AS k, 'abc' AS v",
         {{"k", "v"}, {"1", ""}},
         "The driver answered SQLGetData for column 2 (v) with SQL_SUCCESS and the impossible "
         "length -13.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        const std::string connectString = test::testDriver(c.attributes);
        BatchHarness h(connectString);
        ASSERT_TRUE(h.connected);
        h.run(c.sql);
        ASSERT_EQ(h.view.grids.size(), 1u);
        EXPECT_EQ(BatchHarness::cells(h.grid(0)), c.rows);

        const HeadlessExport result = exportOf(connectString, c.sql);
        if (c.error == nullptr) {
            EXPECT_EQ(h.session.statusText, "Query batch completed");
            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(result.bytes, exported(c.rows));
        } else {
            // The batch did not complete: the export file is not written.
            EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
            EXPECT_EQ(h.batch().messageBuffer, c.error);
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.bytes, std::nullopt);
        }
    }
}

} // namespace
} // namespace veltro
