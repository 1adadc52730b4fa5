#include "ChildRun.h"
#include "KeepingFixture.h"

#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "recovery/RecoveryDialog.h"
#include "recovery/RecoveryRecord.h"
#include "session/CChildFrame.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <iterator>

namespace veltro::test {
namespace {

class RecoveryWindow : public Keeping {
protected:
    RecoveryWindow() : Keeping(testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    // Runs the child on the file until its typed text is kept, then ends it as the mode
    // says: SIGKILL for "kill", its own clean exit for "exit".
    ChildResult runChild(const std::string& mode, const std::filesystem::path& file,
                         const std::string& typed) {
        const std::filesystem::path runFolder = folder / ("run-" + mode);
        std::filesystem::create_directories(runFolder);
        std::vector<std::string> environment = {"HOME=" + folder.string(),
                                                "QT_QPA_PLATFORM=offscreen"};
        for (const char* variable : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            environment.push_back(std::string(variable) + "=" + std::getenv(variable));
        }
        return runRecoveryChild({mode, file.string(), sqliteConnectString(folder / "k.db"), typed},
                                runFolder, environment, mode == "kill");
    }
};

TEST_F(RecoveryWindow, TextOfAKilledProgramIsOfferedAndRestoredByteForByte) {
    const struct {
        const char* name;
        std::string bytes;
        QueryFileEncoding encoding;
        std::string firstLine;
    } cases[] = {
        {"latin1.qry", "SELECT 'caf\xe9 \xfc' AS x\r\nFROM t\n", QueryFileEncoding::latin1,
         "typed SELECT 'café ü' AS x"},
        {"utf8.qry", "SELECT 'Grüße ☕ €' AS x\nFROM t", QueryFileEncoding::utf8,
         "typed SELECT 'Grüße ☕ €' AS x"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove_all(stateFolder());
        const std::filesystem::path file = folder / test.name;
        std::ofstream(file, std::ios::binary) << test.bytes;
        const ChildResult killed = runChild("kill", file, "typed ");
        ASSERT_EQ(killed.exitCode, 128 + SIGKILL) << killed.err;

        // The next start offers the text, and Restore puts it into a new query window.
        std::vector<QStringList> rows;
        prompts.onDialog = [&rows](QDialog& dialog) {
            auto& recovery = dynamic_cast<RecoveryDialog&>(dialog);
            for (int row = 0; row < recovery.list()->topLevelItemCount(); ++row) {
                QStringList texts;
                for (int column : {0, 1, 4}) {
                    texts << recovery.list()->topLevelItem(row)->text(column);
                }
                rows.push_back(texts);
            }
            recovery.restoreButton()->click();
        };
        attach(stateFolder());
        ASSERT_EQ(keeper->recovery().offerRecovery(false), 1);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_TRUE(rows[0][0].contains(test.name)) << rows[0][0].toStdString();
        EXPECT_EQ(rows[0][1].toStdString(), file.string());
        EXPECT_EQ(rows[0][2].toStdString(), test.firstLine);

        ASSERT_EQ(frame->sessionCount(), 1);
        CVeltroDoc& doc = frame->sessions().back()->document();
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(doc.pathName().toStdString(), file.string());
        EXPECT_EQ(doc.encoding(), test.encoding);
        EXPECT_EQ(encodeQueryText(doc.view()->textUtf8(), doc.encoding()), "typed " + test.bytes);
        // The file is this instance's now, kept without a gap; no other start takes it.
        const auto kept = filesIn(stateFolder(), ".recovery");
        ASSERT_EQ(kept.size(), 1u);
        std::ifstream in(kept[0], std::ios::binary);
        const auto record = parseRecoveryRecord(
            std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->bytes, "typed " + test.bytes);
        EXPECT_EQ(keeper->recovery().offerRecovery(false), 0);

        keeper.reset();
        frame = std::make_unique<CMainFrame>(settings);
    }
}

TEST_F(RecoveryWindow, ACleanExitLeavesNoRecoveryFile) {
    const std::filesystem::path file = folder / "clean.qry";
    std::ofstream(file, std::ios::binary) << "SELECT 1";
    const ChildResult exited = runChild("exit", file, "typed ");
    EXPECT_EQ(exited.exitCode, 0) << exited.err;
    EXPECT_EQ(exited.out, "kept\n");
    EXPECT_TRUE(std::filesystem::is_empty(stateFolder()));
}

TEST_F(RecoveryWindow, SavingOrClosingADocumentRemovesItsFile) {
    attach(stateFolder());
    for (const bool saving : {true, false}) {
        SCOPED_TRACE(saving ? "save" : "close");
        CVeltroDoc* doc =
            frame->newConnection(std::nullopt, sqliteConnectString(folder / "k.db"), std::nullopt);
        ASSERT_NE(doc, nullptr);
        doc->view()->setTextUtf8("SELECT 2");
        ASSERT_TRUE(waitFor([&] { return filesIn(stateFolder(), ".recovery").size() == 1; }));
        if (saving) {
            prompts.fileNames.push_back(QString::fromStdString((folder / "saved.qry").string()));
            ASSERT_TRUE(doc->save());
        } else {
            prompts.answers.push_back(PromptAnswer::no);
            frame->disconnectAll();
        }
        EXPECT_TRUE(waitFor([&] { return filesIn(stateFolder(), ".recovery").empty(); }));
    }
}

TEST_F(RecoveryWindow, AnUnwritableStateFolderIsSaidOnceAndTheEditorKeepsWorking) {
    std::ofstream(folder / "blocker") << "not a folder";
    attach((folder / "blocker" / "veltro").string());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "Unsaved queries cannot be kept for recovery after a crash:\n" +
                  (folder / "blocker" / "veltro").string() +
                  ": Not a directory\n\nEditing goes on as before; save your work to keep it.");
    EXPECT_FALSE(keeper->recovery().enabled());
    for (int i = 0; i < 2; ++i) {
        CVeltroDoc* doc =
            frame->newConnection(std::nullopt, sqliteConnectString(folder / "k.db"), std::nullopt);
        ASSERT_NE(doc, nullptr);
        QTest::keyClicks(doc->view(), "SELECT 3");
        EXPECT_EQ(doc->view()->textUtf8(), "SELECT 3");
        EXPECT_TRUE(doc->isModified());
    }
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(keeper->recovery().offerRecovery(false), 0);
    // Asked from the menu, it says why there is nothing.
    frame->recoveryRequested();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1], "Unsaved queries are not kept for recovery in this run:\n" +
                                       (folder / "blocker" / "veltro").string() +
                                       ": Not a directory");
}

} // namespace
} // namespace veltro::test
