#include "EditorTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestDatabases.h"

#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "settings/MemorySettingsStore.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltro {
namespace {

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Lowers the largest file size a write may make, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

class VeltroDocTest : public ::testing::Test {
protected:
    VeltroDocTest() : view((test::editorApplication(), &owner), settings), doc(&owner) {
        doc.attachView(&view);
    }

    test::FakeQueryOwner owner;
    MemorySettingsStore settings;
    test::ScriptedPrompts prompts;
    CQryView view;
    CVeltroDoc doc;
};

TEST_F(VeltroDocTest, OpeningAFileShowsItsPreviewAndSavingProposesTheBareFileName) {
    const auto folder = test::workFolder("doc_title");
    writeBytes(folder / "orders.qry", "select * from orders");
    ASSERT_TRUE(doc.openFile(qpath(folder / "orders.qry")));
    EXPECT_EQ(doc.title(), "Sales - orders.qry - (select * from o...)");
    EXPECT_EQ(owner.statusTexts.front(), "Please wait...");
    EXPECT_FALSE(doc.isModified());

    // Save As: the dialog proposes the bare file title; a cancel puts the title back.
    ASSERT_TRUE(prompts.fileNames.empty());
    EXPECT_FALSE(doc.saveAs());
    ASSERT_EQ(prompts.suggestions.size(), 1U);
    EXPECT_EQ(QFileInfo(QString::fromStdString(prompts.suggestions[0])).fileName(), "orders.qry");
    EXPECT_EQ(doc.title(), "Sales - orders.qry - (select * from o...)");
}

TEST_F(VeltroDocTest, SaveWritesExactlyTheTextAndReopeningGivesItBack) {
    const auto folder = test::workFolder("doc_roundtrip");
    const std::string text = "select 'ä€' as x\r\nfrom t;\n\tgo";
    view.setTextUtf8(text);
    EXPECT_TRUE(doc.isModified());
    prompts.fileNames.push_back(qpath(folder / "new"));
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readBytes(folder / "new.qry"), text);
    EXPECT_EQ(doc.pathName(), qpath(folder / "new.qry"));
    EXPECT_EQ(doc.title(), "Sales - new.qry - (select 'ä€' as ...)");
    EXPECT_FALSE(doc.isModified());

    test::FakeQueryOwner otherOwner;
    CQryView other(&otherOwner, settings);
    CVeltroDoc reopened(&otherOwner);
    reopened.attachView(&other);
    ASSERT_TRUE(reopened.openFile(qpath(folder / "new.qry")));
    EXPECT_EQ(other.textUtf8(), text);
}

TEST_F(VeltroDocTest, FileThatIsNotUtf8SavesBackByteIdentical) {
    const auto folder = test::workFolder("doc_latin1");
    const std::string bytes = "select * from kunden where ort = 'M\xfcnchen'\r\n-- \xa7\xff\n";
    writeBytes(folder / "k.qry", bytes);
    ASSERT_TRUE(doc.openFile(qpath(folder / "k.qry")));
    EXPECT_NE(view.textUtf8().find("München"), std::string::npos);
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readBytes(folder / "k.qry"), bytes);

    // A character Latin-1 cannot hold: the text is kept whole, as UTF-8.
    view.appendTextUtf8("€");
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readBytes(folder / "k.qry"), view.textUtf8());
}

TEST_F(VeltroDocTest, SaveThatRunsOutOfSpaceKeepsTheOldFileTheTitleAndTellsWhy) {
    const auto folder = test::workFolder("doc_fullsave");
    writeBytes(folder / "keep.qry", "old text");
    ASSERT_TRUE(doc.openFile(qpath(folder / "keep.qry")));
    const QString composed = doc.title();
    view.setTextUtf8(std::string(4096, 'x'));
    {
        // Files may not grow beyond 1 KiB: writing fails as on a full disk, even for root.
        const FileSizeLimit limit(1024);
        EXPECT_FALSE(doc.save());
    }
    EXPECT_EQ(readBytes(folder / "keep.qry"), "old text");
    EXPECT_EQ(doc.title(), composed);
    EXPECT_TRUE(doc.isModified());
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0],
              "File Path Name: <" + (folder / "keep.qry").string() + "> The disk is full.");
}

TEST_F(VeltroDocTest, SaveOverAReadOnlyFileKeepsItAndTellsWhy) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes read-only files";
    }
    const auto folder = test::workFolder("doc_readonly");
    writeBytes(folder / "keep.qry", "old text");
    ASSERT_TRUE(doc.openFile(qpath(folder / "keep.qry")));
    view.setTextUtf8("new text");
    ::chmod((folder / "keep.qry").c_str(), 0444);
    EXPECT_FALSE(doc.save());
    ::chmod((folder / "keep.qry").c_str(), 0644);
    EXPECT_EQ(readBytes(folder / "keep.qry"), "old text");
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0], "File Path Name: <" + (folder / "keep.qry").string() +
                                       "> The file could not be accessed.");
}

TEST_F(VeltroDocTest, SaveIntoAMissingFolderReportsABadPath) {
    const auto folder = test::workFolder("doc_nofolder");
    view.setTextUtf8("select 1");
    const auto target = folder / "missing" / "q.qry";
    prompts.fileNames.push_back(qpath(target));
    const QString before = doc.title();
    EXPECT_FALSE(doc.saveAs());
    EXPECT_EQ(doc.title(), before);
    EXPECT_TRUE(doc.pathName().isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0],
              "File Path Name: <" + target.string() + "> All or part of the path is invalid.");
}

TEST_F(VeltroDocTest, FoldersPipesAndMissingFilesAreRefusedAndLeaveTheTextAlone) {
    const auto folder = test::workFolder("doc_refuse");
    view.setTextUtf8("keep me");
    ASSERT_EQ(::mkfifo((folder / "pipe.qry").c_str(), 0600), 0);
    EXPECT_FALSE(doc.openFile(qpath(folder)));
    EXPECT_FALSE(doc.openFile(qpath(folder / "pipe.qry")));
    EXPECT_FALSE(doc.openFile(qpath(folder / "none.qry")));
    EXPECT_EQ(view.textUtf8(), "keep me");
    ASSERT_EQ(prompts.messages.size(), 3U);
    EXPECT_EQ(prompts.messages[0], "File Path Name: <" + folder.string() +
                                       "> This is not a file that can be opened as a query.");
    EXPECT_EQ(prompts.messages[2], "File Path Name: <" + (folder / "none.qry").string() +
                                       "> The file could not be located.");
    // The status pane is cleared after every attempt.
    EXPECT_EQ(owner.statusTexts.back(), "");
}

TEST_F(VeltroDocTest, TitleFollowsTheSessionsConnectionAndTheSelection) {
    view.setTextUtf8("select 1;\nselect 2");
    view.setSelectionRange(10, 18);
    doc.setTitle("a.qry");
    EXPECT_EQ(doc.title(), "Sales - a.qry - (select 2)");
    owner.connection.clear();
    doc.setTitle("b.qry");
    EXPECT_EQ(doc.title(), "b.qry");
}

TEST_F(VeltroDocTest, SaveModifiedAsksOnlyForModifiedDocuments) {
    EXPECT_TRUE(doc.saveModified());
    EXPECT_TRUE(prompts.messages.empty());
    view.setTextUtf8("select 1");
    prompts.answers.push_back(PromptAnswer::cancel);
    EXPECT_FALSE(doc.saveModified());
    prompts.answers.push_back(PromptAnswer::no);
    EXPECT_TRUE(doc.saveModified());
}

} // namespace
} // namespace veltro
