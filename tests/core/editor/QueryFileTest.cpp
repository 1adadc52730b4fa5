#include "TestDatabases.h"

#include "editor/QueryFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sys/stat.h>

namespace veltro {
namespace {

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(QueryFile, ReadsEveryByteIncludingNulsAndCrLf) {
    const auto folder = test::workFolder("queryfile_read");
    const std::string bytes = std::string("select 1\r\n\0go\n", 14) + "é";
    writeBytes(folder / "a.qry", bytes);
    const QueryFileContents contents = readQueryFile((folder / "a.qry").string());
    ASSERT_EQ(contents.status, QueryFileStatus::ok);
    EXPECT_EQ(contents.bytes, bytes);
}

TEST(QueryFile, FoldersPipesAndHugeFilesAreRefusedWithoutWaiting) {
    const auto folder = test::workFolder("queryfile_refuse");
    EXPECT_EQ(readQueryFile(folder.string()).status, QueryFileStatus::notAFile);
    const auto pipe = folder / "pipe.qry";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // No writer ever opens the pipe: a blocking open would hang here.
    EXPECT_EQ(readQueryFile(pipe.string()).status, QueryFileStatus::notAFile);
    writeBytes(folder / "big.qry", std::string(2048, 'x'));
    EXPECT_EQ(readQueryFile((folder / "big.qry").string(), 1024).status, QueryFileStatus::tooLarge);
    EXPECT_EQ(readQueryFile((folder / "big.qry").string(), 2048).status, QueryFileStatus::ok);
}

TEST(QueryFile, MissingFileReportsTheSystemsReason) {
    const auto folder = test::workFolder("queryfile_missing");
    const QueryFileContents contents = readQueryFile((folder / "none.qry").string());
    EXPECT_EQ(contents.status, QueryFileStatus::failed);
    EXPECT_EQ(contents.errnoValue, ENOENT);
}

TEST(QueryFile, TextThatIsNotUtf8KeepsItsBytesThroughDecodeAndEncode) {
    const std::string latin1 = "select * from kunden where ort = 'M\xfcnchen'\r\n\x80\xff";
    ASSERT_EQ(encodingOf(latin1), QueryFileEncoding::latin1);
    const std::string text = decodeQueryText(latin1, QueryFileEncoding::latin1);
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_NE(text.find("München"), std::string::npos);
    EXPECT_EQ(encodeQueryText(text, QueryFileEncoding::latin1), latin1);
    // A character Latin-1 cannot hold cannot be written back in it.
    EXPECT_FALSE(encodeQueryText(text + "€", QueryFileEncoding::latin1));
}

TEST(QueryFile, Utf8ValidityFollowsTheStandard) {
    EXPECT_TRUE(isValidUtf8("plain é € 😀"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));     // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80")); // surrogate
    EXPECT_FALSE(isValidUtf8("abc\xe2\x82"));  // cut short
    EXPECT_EQ(encodingOf("M\xc3\xbcnchen"), QueryFileEncoding::utf8);
}

} // namespace
} // namespace veltro
