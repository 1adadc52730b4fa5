#include "TestDatabases.h"

#include "common/AppError.h"
#include "history/HistoryEntry.h"
#include "history/HistoryService.h"
#include "history/HistoryStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace veltro {
namespace {

std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path folder = test::workFolder("history") / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

HistoryEntry entry(const std::string& text, const std::string& source) {
    HistoryEntry made;
    made.text = text;
    made.dataSource = source;
    made.startedAt = 1'700'000'000'000;
    made.durationMs = 1500;
    made.outcome = BatchOutcome::completedWithErrors;
    made.results = 2;
    made.rows = 42;
    return made;
}

std::vector<std::string> texts(const std::vector<HistoryEntry>& entries) {
    std::vector<std::string> found;
    for (const HistoryEntry& each : entries) {
        found.push_back(each.text);
    }
    return found;
}

std::string wholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(HistoryStore, SearchesTheTextWithoutRegardToCaseAndFiltersByDataSourceNewestFirst) {
    const std::filesystem::path path = freshFolder("search") / "history.db";
    HistoryStore history(path.string());
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    history.add(entry("SELECT * FROM Orders", "DSN=sales"), 100);
    history.add(entry("select total from invoices", "DSN=sales"), 100);
    history.add(entry("UPDATE orders SET x = 1", "DSN=stock"), 100);
    history.add(entry("SELECT 100% FROM t", "DSN=stock"), 100);

    const struct {
        std::string text;
        std::string source;
        std::vector<std::string> expected;
    } cases[] = {
        {"",
         "",
         {"SELECT 100% FROM t", "UPDATE orders SET x = 1", "select total from invoices",
          "SELECT * FROM Orders"}},
        {"ORDERS", "", {"UPDATE orders SET x = 1", "SELECT * FROM Orders"}},
        {"orders", "DSN=sales", {"SELECT * FROM Orders"}},
        {"", "DSN=stock", {"SELECT 100% FROM t", "UPDATE orders SET x = 1"}},
        // The search text is text, not a pattern, and one piece, not a list of words.
        {"%", "", {"SELECT 100% FROM t"}},
        {"_", "", {}},
        {"TOTAL from", "", {"select total from invoices"}},
        {"from total", "", {}},
        {"orders", "DSN=none", {}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(texts(history.find({test.text, test.source, 1000})), test.expected)
            << test.text << " / " << test.source;
    }
    EXPECT_EQ(history.dataSources(), (std::vector<std::string>{"DSN=sales", "DSN=stock"}));
    const HistoryEntry kept = history.find({"invoices", "", 10}).at(0);
    EXPECT_EQ(kept.startedAt, 1'700'000'000'000);
    EXPECT_EQ(kept.durationMs, 1500);
    EXPECT_EQ(kept.outcome, BatchOutcome::completedWithErrors);
    EXPECT_EQ(kept.results, 2);
    EXPECT_EQ(kept.rows, 42);

    history.clear();
    EXPECT_TRUE(history.find({"", "", 1000}).empty());
}

TEST(HistoryStore, KeepsOnlyTheNewestEntriesUpToTheLimit) {
    HistoryStore history((freshFolder("limit") / "history.db").string());
    for (int i = 1; i <= 6; ++i) {
        history.add(entry("SELECT " + std::to_string(i), "DSN=a"), 4);
    }
    EXPECT_EQ(texts(history.find({"", "", 1000})),
              (std::vector<std::string>{"SELECT 6", "SELECT 5", "SELECT 4", "SELECT 3"}));
    // A lower limit applies at the next entry.
    history.add(entry("SELECT 7", "DSN=a"), 2);
    EXPECT_EQ(texts(history.find({"", "", 1000})),
              (std::vector<std::string>{"SELECT 7", "SELECT 6"}));
}

TEST(HistoryStore, AnEntryAndTheTrimItCausesAreKeptTogetherOrNotAtAll) {
    const std::filesystem::path path = freshFolder("together") / "history.db";
    HistoryStore history(path.string());
    history.add(entry("SELECT 1", "DSN=a"), 1);
    // Another program makes the trim fail after the entry went in.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "CREATE TRIGGER refuse BEFORE DELETE ON history"
                           " BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    EXPECT_THROW(history.add(entry("SELECT 2", "DSN=a"), 1), AppError);
    EXPECT_EQ(texts(history.find({"", "", 10})), std::vector<std::string>{"SELECT 1"});
}

TEST(HistoryStore, TheListGetsTheStartOfEachTextAndTheWholeTextIsReadById) {
    HistoryStore history((freshFolder("preview") / "history.db").string());
    const std::string longText = "\n\n  SELECT a,\r\n\t b  FROM t -- " + std::string(300, 'x');
    history.add(entry(longText, "DSN=a"), 2);
    history.add(entry("SELECT 2", "DSN=a"), 2);
    HistoryFilter filter{"", "", 10};
    filter.previewCharacters = 30;
    const std::vector<HistoryEntry> listed = history.find(filter);
    EXPECT_EQ(texts(listed),
              (std::vector<std::string>{"SELECT 2", "SELECT a, b FROM t -- xxxxxxxx"}));
    EXPECT_EQ(history.text(listed[1].id), longText);
    // An entry no longer kept has no text.
    history.add(entry("SELECT 3", "DSN=a"), 2);
    EXPECT_EQ(history.text(listed[1].id), std::nullopt);
}

TEST(HistoryEntry, APreviewRunsBlanksTogetherAndNeverCutsACharacter) {
    const struct {
        std::string text;
        std::size_t characters;
        std::string preview;
    } cases[] = {
        {"  a \t\r\n b\n", 10, "a b"},
        {"ab cd", 3, "ab"},
        {"ab cd", 4, "ab c"},
        {"\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80!", 5, "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80"},
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 1, "\xF0\x9F\x98\x80"},
        {" \n ", 10, ""},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(textPreview(test.text, test.characters), test.preview) << test.text;
    }
}

TEST(HistoryStore, ACorruptFileIsSetAsideWithANoticeAndANewHistoryStarts) {
    const std::filesystem::path folder = freshFolder("corrupt");
    const std::filesystem::path path = folder / "history.db";
    const std::string garbage(4096, 'x');
    std::ofstream(path, std::ios::binary) << garbage;

    HistoryStore history(path.string());
    const std::vector<std::string> notices = history.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("could not be used"), std::string::npos) << notices[0];
    history.add(entry("SELECT 1", "DSN=a"), 10);
    EXPECT_EQ(texts(history.find({"", "", 10})), std::vector<std::string>{"SELECT 1"});

    // The old file is kept, as it was, under the name the notice gives.
    std::vector<std::filesystem::path> aside;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (file.path().filename().string().starts_with("history.db.unusable-")) {
            aside.push_back(file.path());
        }
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(wholeFile(aside[0]), garbage);
    EXPECT_NE(notices[0].find(aside[0].string()), std::string::npos);
}

TEST(HistoryStore, FilesSetAsideInTheSameSecondKeepNamesOfTheirOwn) {
    const std::filesystem::path folder = freshFolder("twice");
    const std::filesystem::path path = folder / "history.db";
    std::vector<std::string> notices;
    for (const char fill : {'x', 'y'}) {
        std::ofstream(path, std::ios::binary) << std::string(4096, fill);
        HistoryStore history(path.string());
        notices.push_back(history.takeNotices().at(0));
    }
    std::map<std::string, std::string> aside;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (file.path().filename().string().starts_with("history.db.unusable-")) {
            aside[file.path().string()] = wholeFile(file.path());
        }
    }
    ASSERT_EQ(aside.size(), 2u);
    // Each notice names the file that holds what it set aside.
    for (std::size_t i = 0; i < notices.size(); ++i) {
        const auto named = std::ranges::find_if(aside, [&](const auto& file) {
            return notices[i].find(" as " + file.first + " ") != std::string::npos;
        });
        ASSERT_NE(named, aside.end()) << notices[i];
        EXPECT_EQ(named->second, std::string(4096, i == 0 ? 'x' : 'y'));
    }
}

TEST(HistoryService, AFileThatCannotBeSetAsideIsLeftAsItWasAndTheHistoryStops) {
    // A name too long to take the suffix of a file set aside, though its journal's fits.
    const std::filesystem::path path = freshFolder("stuck") / (std::string(237, 'h') + ".db");
    HistoryStore(path.string()).add(entry("SELECT 1", "DSN=a"), 10);
    // Another program is writing to it, with its journal beside it.
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(holder, "BEGIN EXCLUSIVE; DELETE FROM history", nullptr, nullptr, nullptr),
        SQLITE_OK);
    const std::string journal = path.string() + "-journal";
    const std::string before = wholeFile(journal);
    ASSERT_FALSE(before.empty());

    std::vector<std::string> notices;
    {
        HistoryService service(path.string(),
                               [&](std::string text) { notices.push_back(std::move(text)); });
        service.record(entry("SELECT 2", "DSN=a"), 10);
        service.record(entry("SELECT 3", "DSN=a"), 10);
        service.waitIdle();
    }
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].starts_with("The query history cannot be kept: " + path.string() +
                                       " could not be used (execute: database is locked) and"
                                       " could not be set aside as " +
                                       path.string() + ".unusable-"))
        << notices[0];
    EXPECT_TRUE(notices[0].ends_with(": File name too long")) << notices[0];
    EXPECT_EQ(wholeFile(journal), before);
    // The other program can still undo its change.
    EXPECT_EQ(sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(holder);
    EXPECT_EQ(texts(HistoryStore(path.string()).find({"", "", 10})),
              std::vector<std::string>{"SELECT 1"});
}

TEST(HistoryStore, AFileAnotherProgramKeepsLockedIsSetAsideAfterTheWait) {
    const std::filesystem::path path = freshFolder("locked") / "history.db";
    HistoryStore(path.string()).add(entry("SELECT 1", "DSN=a"), 10);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    HistoryStore history(path.string());
    EXPECT_EQ(history.takeNotices().size(), 1u);
    history.add(entry("SELECT 2", "DSN=a"), 10);
    EXPECT_EQ(texts(history.find({"", "", 10})), std::vector<std::string>{"SELECT 2"});
    sqlite3_close(holder);
}

TEST(HistoryService, AnswersInOrderOnItsOwnThreadAndReportsAHistoryItCannotKeep) {
    const std::filesystem::path folder = freshFolder("service");
    std::vector<std::string> notices;
    {
        HistoryService service((folder / "sub" / "history.db").string(),
                               [&](std::string text) { notices.push_back(std::move(text)); });
        service.record(entry("SELECT 1", "DSN=a"), 10);
        service.record(entry("SELECT 2", "DSN=b"), 10);
        std::vector<std::string> found;
        std::vector<std::string> sources;
        service.find({"", "", 10},
                     [&](std::vector<HistoryEntry> entries, std::vector<std::string> names) {
                         found = texts(entries);
                         sources = std::move(names);
                     });
        service.waitIdle();
        EXPECT_EQ(found, (std::vector<std::string>{"SELECT 2", "SELECT 1"}));
        EXPECT_EQ(sources, (std::vector<std::string>{"DSN=a", "DSN=b"}));
    }
    EXPECT_TRUE(notices.empty());

    // A folder that cannot be made: one notice, and requests do nothing.
    std::ofstream(folder / "file") << "x";
    HistoryService broken((folder / "file" / "history.db").string(),
                          [&](std::string text) { notices.push_back(std::move(text)); });
    broken.record(entry("SELECT 1", "DSN=a"), 10);
    broken.record(entry("SELECT 2", "DSN=a"), 10);
    broken.waitIdle();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].starts_with("The query history cannot be kept: ")) << notices[0];
}

TEST(HistoryEntry, DataSourceNamesNeverCarryAPassword) {
    const struct {
        const char* connectString;
        const char* kept;
    } cases[] = {
        {"DSN=sales;UID=me;PWD=secret", "DSN=sales;UID=me"},
        {"pwd=secret;DSN=sales", "DSN=sales"},
        {"Driver={PostgreSQL};Server=h;Password=secret;Port=5",
         "Driver={PostgreSQL};Server=h;Port=5"},
        {"DSN=x;PWD={se;cr}}et};UID=me", "DSN=x;UID=me"},
        {"DSN=x; PwD =secret", "DSN=x"},
        {"DSN=x;", "DSN=x"},
        {"", ""},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(withoutPassword(test.connectString), test.kept) << test.connectString;
    }
}

} // namespace
} // namespace veltro
