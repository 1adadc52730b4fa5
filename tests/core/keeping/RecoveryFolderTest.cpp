#include "TestDatabases.h"

#include "common/AppError.h"
#include "recovery/InstanceLock.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryRecord.h"
#include "recovery/RecoveryWriter.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace veltro {
namespace {

std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path folder = test::workFolder("recovery") / name;
    std::filesystem::remove_all(folder);
    return folder;
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        names.push_back(file.path().filename().string());
    }
    return names;
}

TEST(RecoveryRecord, KeepsEveryFieldAndTheBytesAsTheyAre) {
    const struct {
        RecoveryRecord record;
        std::string firstLine;
    } cases[] = {
        {{"sales - Untitled_1 - (New Query)", "", "DSN=sales;UID=me", 1765000000,
          QueryFileEncoding::utf8, "\n  \nSELECT 'Grüße' -- €\r\nFROM t"},
         "SELECT 'Grüße' -- €"},
        {{"old.qry", "/tmp/old.qry", "", 1, QueryFileEncoding::latin1,
          std::string("SELECT '\xe9t\xe9'\n\n", 13)},
         "SELECT 'été'"},
        {{"line\nbreak\\title", "/a\nb", "DSN=x", 0, QueryFileEncoding::utf8,
          std::string("\0x", 2)},
         std::string("\0x", 2)},
    };
    for (const auto& test : cases) {
        const auto back = parseRecoveryRecord(formatRecoveryRecord(test.record));
        ASSERT_TRUE(back.has_value()) << test.record.title;
        EXPECT_EQ(back->title, test.record.title);
        EXPECT_EQ(back->fileName, test.record.fileName);
        EXPECT_EQ(back->dataSource, test.record.dataSource);
        EXPECT_EQ(back->changedAt, test.record.changedAt);
        EXPECT_EQ(back->encoding, test.record.encoding);
        EXPECT_EQ(back->bytes, test.record.bytes);
        EXPECT_EQ(firstTextLine(*back), test.firstLine);
    }
    // A file cut short is not taken for a record.
    const std::string whole = formatRecoveryRecord(cases[0].record);
    EXPECT_FALSE(parseRecoveryRecord(whole.substr(0, whole.size() - 1)));
    EXPECT_FALSE(parseRecoveryRecord(whole + "x"));
}

TEST(RecoveryFolder, TwoRunningInstancesNeitherTakeNorRemoveTheOthersFiles) {
    const std::filesystem::path folder = freshFolder("two");
    RecoveryRecord record;
    record.title = "first";
    record.bytes = "SELECT 1";
    auto first = std::make_unique<RecoveryFolder>(folder.string());
    std::vector<std::string> failures;
    {
        RecoveryWriter writer([&](std::string text) { failures.push_back(std::move(text)); });
        writer.save(first->documentPath(1), record, "SELECT 1");
        writer.waitIdle();
    }
    EXPECT_TRUE(failures.empty());
    struct stat info {};
    ASSERT_EQ(::stat(first->documentPath(1).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    {
        // The first is running: the second instance finds nothing to offer, and its own
        // clean end leaves the first's files alone.
        RecoveryFolder second(folder.string());
        EXPECT_TRUE(second.claimOrphans().documents().empty());
    }
    EXPECT_TRUE(std::filesystem::exists(first->documentPath(1)));
    EXPECT_EQ(namesIn(folder).size(), 2u);

    // A clean end of the first leaves nothing behind.
    first.reset();
    EXPECT_TRUE(namesIn(folder).empty());
}

TEST(RecoveryFolder, OnlyTheDeadInstancesOwnReadableFilesAreTakenAndItsLockStaysWhileAnyIsLeft) {
    const std::filesystem::path folder = freshFolder("orphans");
    RecoveryFolder self(folder.string());
    const auto record = [](const std::string& title, std::size_t size) {
        RecoveryRecord made;
        made.title = title;
        made.bytes = "x";
        std::string data = formatRecoveryRecord(made);
        const std::size_t field = data.find("bytes: 1\n");
        data.replace(field, 9, "bytes: " + std::to_string(size) + "\n");
        return data.substr(0, data.size() - 1);
    };
    const auto put = [&folder](const std::string& name, const std::string& data) {
        std::ofstream(folder / name, std::ios::binary) << data;
    };
    // "dead" is gone. "dead.b" runs (its lock is held) and is writing a document.
    put("dead.lock", "");
    const auto running = InstanceLock::tryTake((folder / "dead.b.lock").string());
    ASSERT_TRUE(running);
    put("dead.b.1.recovery", record("running", 0));
    put(".dead.b.1.recovery.Ab12", "");
    put(".dead.1.recovery.Cd34", "");
    put("dead.3.recovery", record("kept", 0));
    // Neither waits for a writer nor is read whole.
    ASSERT_EQ(::mkfifo((folder / "dead.1.recovery").c_str(), 0600), 0);
    put("dead.2.recovery", record("huge", maxRecoveryFileBytes));
    std::filesystem::resize_file(folder / "dead.2.recovery",
                                 std::filesystem::file_size(folder / "dead.2.recovery") +
                                     maxRecoveryFileBytes);

    {
        OrphanClaim claim = self.claimOrphans();
        ASSERT_EQ(claim.documents().size(), 1u);
        EXPECT_EQ(claim.documents()[0].record.title, "kept");
        claim.discard(0);
    }
    std::vector<std::string> left = namesIn(folder);
    std::ranges::sort(left);
    const std::string own = std::filesystem::path(self.documentPath(1)).stem().stem().string();
    EXPECT_EQ(left, (std::vector<std::string>{".dead.b.1.recovery.Ab12", own + ".lock",
                                              "dead.1.recovery", "dead.2.recovery",
                                              "dead.b.1.recovery", "dead.b.lock", "dead.lock"}));
}

TEST(RecoveryFolder, AFolderThatCannotBeMadeIsAFailureNamingIt) {
    const std::filesystem::path folder = freshFolder("blocked");
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "file") << "x";
    const std::string where = (folder / "file" / "veltro").string();
    try {
        RecoveryFolder blocked(where);
        FAIL() << "made a folder under a file";
    } catch (const AppError& failure) {
        EXPECT_EQ(std::string(failure.what()), where + ": Not a directory");
    }
}

TEST(RecoveryWriter, ANewerTextReplacesOneNotYetWrittenAndARemoveWins) {
    const std::filesystem::path folder = freshFolder("writer");
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "doc.recovery").string();
    std::vector<std::string> failures;
    RecoveryWriter writer([&](std::string text) { failures.push_back(std::move(text)); });
    const auto kept = [&path] {
        std::ifstream in(path, std::ios::binary);
        return parseRecoveryRecord(
            std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    };
    for (const char* text : {"a", "ab", "abc"}) {
        writer.save(path, RecoveryRecord{}, text);
    }
    writer.waitIdle();
    EXPECT_EQ(kept()->bytes, "abc");

    // A Latin-1 document is kept in Latin-1, unless its text has outgrown it.
    const struct {
        std::string text;
        QueryFileEncoding encoding;
        std::string bytes;
    } encodings[] = {
        {"caf\u00e9", QueryFileEncoding::latin1, "caf\xe9"},
        {"\u20ac", QueryFileEncoding::utf8, "\u20ac"},
    };
    for (const auto& test : encodings) {
        RecoveryRecord record;
        record.encoding = QueryFileEncoding::latin1;
        writer.save(path, record, test.text);
        writer.waitIdle();
        EXPECT_EQ(kept()->encoding, test.encoding);
        EXPECT_EQ(kept()->bytes, test.bytes);
    }
    // A text too large to be read back is reported, and the earlier one stays.
    writer.save(path, RecoveryRecord{}, std::string(maxRecoveryFileBytes, 'x'));
    writer.waitIdle();
    EXPECT_EQ(kept()->bytes, "\u20ac");
    EXPECT_EQ(failures, std::vector<std::string>{path + ": more than 64 MB, too large to keep"});
    writer.remove(path);
    writer.waitIdle();
    EXPECT_FALSE(std::filesystem::exists(path));

    // A folder gone: the failure is reported, not thrown.
    writer.save((folder / "gone" / "doc.recovery").string(), RecoveryRecord{}, "x");
    writer.waitIdle();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[1].find("gone/doc.recovery"), std::string::npos) << failures[1];
}

} // namespace
} // namespace veltro
