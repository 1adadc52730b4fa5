#include "TestDatabases.h"

#include "common/AtomicFile.h"
#include "results/DelimitedFormat.h"
#include "results/GridExport.h"
#include "results/GridStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace veltro {
namespace {

std::shared_ptr<GridStore> gridOf(const std::vector<std::vector<std::string>>& rows) {
    auto grid = std::make_shared<GridStore>();
    grid->SetCols(static_cast<int>(rows.front().size()));
    grid->SetRows(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            grid->SetTextMatrix(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
        }
    }
    return grid;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes through a real file, as the export does.
std::string exportText(const std::function<bool(std::FILE*)>& writer) {
    const auto path = test::workFolder("export") / "out.csv";
    std::string failure;
    EXPECT_TRUE(writeFileAtomically(path.string(), writer, failure)) << failure;
    return readFile(path);
}

class GridExport : public testing::Test {
protected:
    std::vector<std::shared_ptr<GridStore>> grids{
        gridOf({{"a", "b"}, {"1", "2"}, {"3", "4"}}),
        gridOf({{"c", "d"}, {"5", "6"}, {"7", "8"}}),
    };
};

TEST_F(GridExport, AllGridsWithHeaderGiveEightLines) {
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridFile(f, grids, ",", true); }),
              "a,b\r\n1,2\r\n3,4\r\n\r\nc,d\r\n5,6\r\n7,8\r\n\r\n");
}

TEST_F(GridExport, WithoutHeaderGiveSixLines) {
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridFile(f, grids, "\t", false); }),
              "1\t2\r\n3\t4\r\n\r\n5\t6\r\n7\t8\r\n\r\n");
}

TEST_F(GridExport, NoDelimiterWritesCellsBackToBackAndNeverQuotes) {
    grids = {gridOf({{"h1", "h2"}, {"1", "2"}, {"a,\"b\"", "c"}})};
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridFile(f, grids, "", false); }),
              "12\r\na,\"b\"c\r\n\r\n");
}

// Rows end with CR LF; the bytes inside a cell, line ends included, stay as they are.
TEST_F(GridExport, CellBytesAreKeptAndQuotedWhereNeeded) {
    grids = {gridOf({{"h\nx", "y"}, {"a\nb", "c\r\nd"}, {"1,5", "say \"hi\""}})};
    const std::pair<std::string, std::string> cases[] = {
        {",", "\"h\nx\",y\r\n\"a\nb\",\"c\r\nd\"\r\n\"1,5\",\"say \"\"hi\"\"\"\r\n\r\n"},
        // A comma is only special when it is the delimiter.
        {"|", "\"h\nx\"|y\r\n\"a\nb\"|\"c\r\nd\"\r\n1,5|\"say \"\"hi\"\"\"\r\n\r\n"},
        {"\t", "\"h\nx\"\ty\r\n\"a\nb\"\t\"c\r\nd\"\r\n1,5\t\"say \"\"hi\"\"\"\r\n\r\n"},
        {"", "h\nxy\r\na\nbc\r\nd\r\n1,5say \"hi\"\r\n\r\n"},
    };
    for (const auto& [delimiter, expected] : cases) {
        EXPECT_EQ(
            exportText([&](std::FILE* f) { return WriteGridFile(f, grids, delimiter, true); }),
            expected)
            << "delimiter '" << delimiter << "'";
    }
}

// An empty line would read as the blank line that ends the grid; without a delimiter nothing
// is quoted.
TEST_F(GridExport, AnEmptyValueOfOneColumnIsTwoQuotes) {
    grids = {gridOf({{"a"}, {""}, {"x"}})};
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridFile(f, grids, ",", true); }),
              "a\r\n\"\"\r\nx\r\n\r\n");
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridFile(f, grids, "", true); }),
              "a\r\n\r\nx\r\n\r\n");
    GridStore& grid = *grids[0];
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetRowSel(2);
    grid.SetColSel(0);
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridSelection(f, grid, "\t"); }),
              "a\r\n\"\"\r\nx");
}

TEST_F(GridExport, NoGridsGiveAnEmptyFile) {
    grids.clear();
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridFile(f, grids, ",", true); }), "");
}

TEST_F(GridExport, SelectionIsTheBlockBetweenTheCornersWithoutLastLineEnd) {
    GridStore& grid = *grids[0];
    grid.SetRow(2);
    grid.SetCol(1);
    grid.SetRowSel(2);
    grid.SetColSel(1);
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridSelection(f, grid, ","); }), "4");
    grid.SetRow(2);
    grid.SetRowSel(0);
    grid.SetCol(1);
    grid.SetColSel(0);
    EXPECT_EQ(exportText([&](std::FILE* f) { return WriteGridSelection(f, grid, "|"); }),
              "a|b\r\n1|2\r\n3|4");
}

TEST(GridExportFormat, DelimiterFromTheChosenEntry) {
    EXPECT_EQ(delimiterOfFormat("Comma Seperated", "?"), ",");
    EXPECT_EQ(delimiterOfFormat("Tab Delimited", "?"), "\t");
    EXPECT_EQ(delimiterOfFormat("Pipe Seperated", "?"), "|");
    EXPECT_EQ(delimiterOfFormat("<None>", "?"), "");
    EXPECT_EQ(delimiterOfFormat("Semicolon", "?"), "?");
}

// A special byte at any place of a cell of any length is seen, and only a special byte.
TEST(GridExportFormat, QuotesWhereverTheSpecialByteIs) {
    const DelimitedFormat comma(",");
    const std::string special[] = {",", "\"", "\r", "\n"};
    for (std::size_t length = 0; length <= 20; ++length) {
        const std::string plain(length, 'x');
        std::string out;
        comma.appendCell(out, plain);
        EXPECT_EQ(out, plain);
        for (std::size_t at = 0; at < length; ++at) {
            for (const std::string& byte : special) {
                std::string cell = plain;
                cell.replace(at, 1, byte);
                out.clear();
                comma.appendCell(out, cell);
                EXPECT_EQ(out.front(), '"') << "length " << length << " at " << at;
            }
        }
    }
    // A byte that differs from the comma only in its high bit, NUL and other delimiters' bytes
    // stay plain.
    const std::string alike("\xAC\0\t|;0123456789", 15);
    std::string out;
    comma.appendCell(out, alike);
    EXPECT_EQ(out, alike);
}

TEST(GridExportFile, MissingFolderIsABadPathAndLeavesNothing) {
    const auto folder = test::workFolder("export-missing");
    const auto path = folder / "no-such-folder" / "out.csv";
    std::string failure;
    EXPECT_FALSE(writeFileAtomically(
        path.string(), [](std::FILE*) { return true; }, failure));
    EXPECT_EQ(failure,
              "File Path Name: <" + path.string() + "> All or part of the path is invalid.");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(GridExportFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const auto folder = test::workFolder("export-fail");
    const auto path = folder / "keep.csv";
    std::ofstream(path) << "old contents";
    std::string failure;
    EXPECT_FALSE(writeFileAtomically(
        path.string(),
        [](std::FILE* f) {
            std::fputs("partial", f);
            errno = ENOSPC;
            return false;
        },
        failure));
    EXPECT_EQ(failure, "File Path Name: <" + path.string() + "> The disk is full.");
    EXPECT_EQ(readFile(path), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(GridExportFile, NewFilesFollowTheUmaskReplacedFilesKeepTheirPermissions) {
    const auto folder = test::workFolder("export-mode");
    std::ofstream(folder / "old.csv") << "old";
    std::filesystem::permissions(folder / "old.csv", static_cast<std::filesystem::perms>(0604));
    const mode_t previousMask = umask(027);
    for (const char* name : {"new.csv", "old.csv"}) {
        std::string failure;
        EXPECT_TRUE(writeFileAtomically((folder / name).string(),
                                        [](std::FILE* f) { return std::fputs("x", f) >= 0; },
                                        failure))
            << failure;
    }
    umask(previousMask);
    EXPECT_EQ(std::filesystem::status(folder / "new.csv").permissions(),
              static_cast<std::filesystem::perms>(0640));
    EXPECT_EQ(std::filesystem::status(folder / "old.csv").permissions(),
              static_cast<std::filesystem::perms>(0604));
}

TEST(GridExportFile, DevicesAndLinksAreWrittenThroughNotReplaced) {
    std::string failure;
    EXPECT_TRUE(writeFileAtomically(
        "/dev/null", [](std::FILE* f) { return std::fputs("x", f) >= 0; }, failure))
        << failure;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    const auto folder = test::workFolder("export-link");
    std::ofstream(folder / "real.csv") << "old";
    std::filesystem::create_symlink(folder / "real.csv", folder / "link.csv");
    EXPECT_TRUE(writeFileAtomically((folder / "link.csv").string(),
                                    [](std::FILE* f) { return std::fputs("new", f) >= 0; },
                                    failure))
        << failure;
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.csv"));
    EXPECT_EQ(readFile(folder / "real.csv"), "new");
}

} // namespace
} // namespace veltro
