#include "results/GridStore.h"
#include "results/GridMemoryBudget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace veltro {
namespace {

TEST(GridStore, RaisingRowsKeepsTextsAndLoweringDropsTheRowsBeyond) {
    GridStore grid;
    ASSERT_TRUE(grid.SetCols(2));
    ASSERT_TRUE(grid.SetRows(3));
    ASSERT_TRUE(grid.SetTextMatrix(0, 0, "id"));
    ASSERT_TRUE(grid.SetTextMatrix(2, 1, "äöü"));
    ASSERT_TRUE(grid.SetRows(5000));
    EXPECT_EQ(grid.TextMatrix(0, 0), std::optional<std::string>("id"));
    EXPECT_EQ(grid.TextMatrix(2, 1), std::optional<std::string>("äöü"));
    EXPECT_EQ(grid.TextMatrix(4999, 1), std::optional<std::string>(""));

    ASSERT_TRUE(grid.SetRows(2));
    EXPECT_FALSE(grid.TextMatrix(2, 1).has_value());
    ASSERT_TRUE(grid.SetRows(3));
    EXPECT_EQ(grid.TextMatrix(2, 1), std::optional<std::string>(""));
    EXPECT_EQ(grid.TextMatrix(0, 0), std::optional<std::string>("id"));
}

TEST(GridStore, CellsOutsideRowsTimesColsFail) {
    GridStore grid;
    ASSERT_TRUE(grid.SetCols(0));
    ASSERT_TRUE(grid.SetRows(1));
    ASSERT_TRUE(grid.SetCols(3));
    EXPECT_TRUE(grid.SetTextMatrix(0, 2, "c"));
    EXPECT_FALSE(grid.SetTextMatrix(1, 0, "x"));
    EXPECT_FALSE(grid.SetTextMatrix(0, 3, "x"));
    EXPECT_FALSE(grid.SetTextMatrix(-1, 0, "x"));
    EXPECT_FALSE(grid.TextMatrix(0, 3).has_value());
    EXPECT_FALSE(grid.SetColWidth(3, 100));
    EXPECT_FALSE(grid.SetRows(-1));
}

TEST(GridStore, ChangingColumnsKeepsTheColumnsThatStay) {
    GridStore grid;
    grid.SetCols(3);
    grid.SetRows(2);
    grid.SetTextMatrix(1, 0, "a");
    grid.SetTextMatrix(1, 2, "c");
    grid.SetCols(2);
    EXPECT_EQ(grid.TextMatrix(1, 0), std::optional<std::string>("a"));
    grid.SetCols(3);
    EXPECT_EQ(grid.TextMatrix(1, 2), std::optional<std::string>(""));
}

TEST(GridStore, LargeAndManyTextsReadBackWhole) {
    // 10,000 texts of 500 bytes fill chunks up to the largest (2 MiB) and into the next; the
    // longest text kept in a chunk (64 KiB) and one past it sit between them.
    constexpr int rows = 10000;
    GridStore grid;
    grid.SetCols(2);
    grid.SetRows(rows);
    const auto textOf = [](int r) {
        return r == 2000 ? std::string(64 * 1024, 'K')
                         : std::string(500, static_cast<char>('a' + r % 26));
    };
    const std::string large(200000, 'L');
    ASSERT_TRUE(grid.SetTextMatrix(1, 0, large));
    ASSERT_TRUE(grid.SetTextMatrix(3000, 0, std::string(64 * 1024 + 1, 'M')));
    for (int r = 1; r < rows; ++r) {
        ASSERT_TRUE(grid.SetTextMatrix(r, 1, textOf(r)));
    }
    EXPECT_EQ(grid.TextMatrix(1, 0), std::optional<std::string>(large));
    EXPECT_EQ(grid.TextMatrix(3000, 0),
              std::optional<std::string>(std::string(64 * 1024 + 1, 'M')));
    for (int r = 1; r < rows; ++r) {
        ASSERT_EQ(grid.TextMatrix(r, 1), std::optional<std::string>(textOf(r))) << r;
    }
}

TEST(GridStore, WholeRowsReadBackAsTheirCells) {
    // Rows of short, empty, NULL, 64 KiB and longer texts: some fit the current chunk, some
    // open the next one, some need places of their own.
    constexpr int rows = 3000;
    const auto cellOf = [](int r, int c) {
        switch ((r + c) % 7) {
        case 0:
            return std::string();
        case 1:
            return std::string(r % 500 == 0 ? 64 * 1024 : 1, static_cast<char>('a' + c));
        case 2:
            return std::string(r % 900 == 0 ? 70000 : 40, 'x');
        default:
            return std::to_string(r * 10 + c);
        }
    };
    GridStore grid;
    grid.SetCols(4);
    grid.SetRows(rows);
    RowCells cells;
    for (int r = 1; r < rows; ++r) {
        cells.clear();
        for (int c = 0; c < 4; ++c) {
            if ((r + c) % 11 == 0) {
                cells.addNull();
            } else {
                cells.add(cellOf(r, c));
            }
        }
        ASSERT_TRUE(grid.SetRow(r, cells)) << r;
    }
    for (int r = 1; r < rows; ++r) {
        for (int c = 0; c < 4; ++c) {
            const std::string expected = (r + c) % 11 == 0 ? std::string() : cellOf(r, c);
            ASSERT_EQ(grid.TextMatrix(r, c), std::optional<std::string>(expected)) << r << "," << c;
        }
    }
    // A row longer than the grid is wide sets the cells that fit and fails.
    cells.clear();
    for (const char* text : {"p", "q", "r", "s", "t"}) {
        cells.add(text);
    }
    EXPECT_FALSE(grid.SetRow(1, cells));
    EXPECT_EQ(grid.TextMatrix(1, 3), std::optional<std::string>("s"));
    EXPECT_FALSE(grid.SetRow(rows, cells));
}

TEST(GridStore, MillionShortRowsCostLittleMoreThanTheirText) {
    GridStore grid;
    grid.SetCols(10);
    constexpr int rows = 1'000'000;
    ASSERT_TRUE(grid.SetRows(rows + 1));
    std::uint64_t textBytes = 0;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 0; c < 10; ++c) {
            const std::string text = "v" + std::to_string(r);
            textBytes += text.size();
            ASSERT_TRUE(grid.SetTextMatrix(r, c, text));
        }
    }
    const std::uint64_t cells = 10ULL * rows;
    EXPECT_LE(grid.memoryBytes(), textBytes + 9 * cells);
    EXPECT_EQ(grid.TextMatrix(rows, 9), std::optional<std::string>("v1000000"));
}

TEST(GridStore, RefusesToGrowPastTheMemoryBudgetAndKeepsItsRows) {
    GridStore grid;
    grid.SetCols(4);
    ASSERT_TRUE(grid.SetRows(700));
    for (int r = 1; r < 700; ++r) {
        for (int c = 0; c < 4; ++c) {
            ASSERT_TRUE(grid.SetTextMatrix(r, c, std::string(100, 'x')));
        }
    }
    GridMemoryBudget::setLimit(GridMemoryBudget::used() + 100000);
    EXPECT_FALSE(grid.SetRows(1400));
    GridMemoryBudget::resetLimit();
    EXPECT_EQ(grid.Rows(), 700);
    EXPECT_EQ(grid.TextMatrix(699, 3), std::optional<std::string>(std::string(100, 'x')));
    EXPECT_TRUE(grid.SetRows(1400));
}

TEST(GridStore, WorkerWritesWhileWindowThreadGrowsAndReads) {
    GridStore grid;
    grid.SetCols(3);
    grid.SetRows(1);
    std::atomic<int> allowedRows = 1;
    std::atomic<bool> done = false;
    // The worker only writes rows the window thread has made room for, as in a batch.
    std::thread worker([&] {
        for (int r = 1; r < 20000; ++r) {
            while (allowedRows.load() <= r) {
                std::this_thread::yield();
            }
            RowCells cells;
            for (int c = 0; c < 3; ++c) {
                cells.add(std::to_string(r * 3 + c));
            }
            EXPECT_TRUE(grid.SetRow(r, cells));
        }
        done = true;
    });
    int rows = 1;
    while (!done) {
        if (rows < 20000) {
            rows = std::min(rows + 700, 20000);
            ASSERT_TRUE(grid.SetRows(rows));
            allowedRows = rows;
        }
        grid.TextMatrix(rows / 2, 1);
    }
    worker.join();
    for (int r = 1; r < 20000; r += 997) {
        EXPECT_EQ(grid.TextMatrix(r, 2), std::optional<std::string>(std::to_string(r * 3 + 2)));
    }
}

} // namespace
} // namespace veltro
