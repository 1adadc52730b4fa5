// Result sets streamed as delimited text while they are fetched: the same bytes as the
// export of the grids the same batch fills.
#include "BatchHarness.h"
#include "ProgramRun.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "results/DelimitedStream.h"
#include "results/GridExport.h"
#include "results/GridMemoryBudget.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

using test::BatchHarness;

struct StreamCase {
    const char* name;
    std::string attributes;
    std::string batch;
    DelimitedStream::Options options;
};

std::string throughGrids(const StreamCase& c, const std::filesystem::path& file) {
    BatchHarness h(test::testDriver(c.attributes));
    EXPECT_TRUE(h.connected);
    h.run(c.batch);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    EXPECT_TRUE(WriteGridFile(out, h.view.grids, c.options.delimiter, c.options.columnNames));
    std::fclose(out);
    return test::readWholeFile(file);
}

std::string throughStream(const StreamCase& c, const std::filesystem::path& file) {
    BatchHarness h(test::testDriver(c.attributes));
    EXPECT_TRUE(h.connected);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    DelimitedStream stream(out, c.options, [](int) {});
    h.view.stream = &stream;
    h.run(c.batch);
    EXPECT_TRUE(stream.finish());
    std::fclose(out);
    return test::readWholeFile(file);
}

TEST(DelimitedStream, WritesTheBytesOfTheGridExport) {
    const std::string rows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < 2000) SELECT i, 'v' || i AS v FROM n";
    const std::string awkward = "SELECT 'a,b' AS \"x,y\", 'q\"uote' AS q, 'l\nf' AS lf, "
                                "NULL AS n, '' AS e UNION ALL SELECT 'c', 'd', 'e', 1, 2";
    DelimitedStream::Options comma{",", true, ""};
    DelimitedStream::Options noHeader{"|", false, ""};
    DelimitedStream::Options none{"", true, ""};
    const StreamCase cases[] = {
        {"several results", "", rows + "; SELECT 1 AS one WHERE 1 = 0; " + awkward, comma},
        {"no header, pipe", "", awkward + "; " + rows, noHeader},
        {"no delimiter", "", awkward, none},
        {"error at a row keeps the rows before", "FailFetch=3", rows, comma},
    };
    const auto folder = test::workFolder("delimited-stream");
    for (const StreamCase& c : cases) {
        const std::string fromGrids = throughGrids(c, folder / "grids.txt");
        EXPECT_FALSE(fromGrids.empty()) << c.name;
        EXPECT_EQ(throughStream(c, folder / "stream.txt"), fromGrids) << c.name;
    }
}

TEST(DelimitedStream, NullHasATextOfItsOwnWhenAsked) {
    const StreamCase c{"null text", "", "SELECT NULL AS n, '' AS e, 'x' AS s", {",", true, "\\N"}};
    EXPECT_EQ(throughStream(c, test::workFolder("stream-null") / "out.txt"),
              "n,e,s\r\n\\N,,x\r\n\r\n");
}

TEST(DelimitedStream, AFailedWriteIsReportedOnceAndStopsTheBatch) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    int failures = 0;
    int failedWith = 0;
    DelimitedStream stream(full, {}, [&](int errnoValue) {
        ++failures;
        failedWith = errnoValue;
        h.loop.post([&h] { h.control.Cancel(); });
    });
    h.view.stream = &stream;
    h.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
          "SELECT i, 'a row of some length to fill a block soon' FROM n");
    EXPECT_FALSE(stream.finish());
    std::fclose(full);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(failedWith, ENOSPC);
    EXPECT_EQ(h.session.statusText, "Query batch canceled");
}

// Every result set takes only what it needs of the grid budget, so a batch of many small
// results fits in little memory.
TEST(GridBudget, ManySmallResultsFitInAFewMegabytes) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    std::string batch;
    for (int i = 0; i < 3000; ++i) {
        batch += "SELECT " + std::to_string(i) + " AS n, 'x' AS t;";
    }
    GridMemoryBudget::setLimit(GridMemoryBudget::used() + 16 * 1024 * 1024);
    h.run(batch);
    GridMemoryBudget::resetLimit();
    EXPECT_EQ(h.session.statusText, "Query batch completed");
    ASSERT_EQ(h.batch().gridCount(), 3000);
    EXPECT_EQ(h.grid(2999).TextMatrix(1, 0), std::optional<std::string>("2999"));
}

} // namespace
} // namespace veltro
