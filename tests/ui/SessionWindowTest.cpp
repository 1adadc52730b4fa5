// A real session window in a real main frame, driven as a user would.
#include "RealDrivers.h"
#include "SessionWindowFixture.h"
#include "WindowAnswers.h"

namespace veltro {
namespace {

using test::SessionWindow;
using test::waitFor;

TEST_F(SessionWindow, RunsABatchIntoAGridAndShowsItsSize) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(frame->connectionCountText(), "Total # of connections: 1");
    execute(*session,
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
            "SELECT i, i * 2 AS d, 'x' AS e FROM n");
    EXPECT_EQ(session->paneText(0), "Query batch completed");
    EXPECT_EQ(session->paneText(2), "Results grid #1 of 1; 10 row(s); 3 col(s)");
    ASSERT_NE(session->resultView().currentGrid(), nullptr);
    EXPECT_TRUE(session->resultView().gridOnShow());
    EXPECT_EQ(session->resultView().currentGrid()->store().TextMatrix(10, 1),
              std::optional<std::string>("20"));
}

// SQLite takes one statement at a time: the window runs a script statement by statement. The
// message and the caret name the failing statement's line in the editor, also when a
// selection ran.
TEST_F(SessionWindow, AScriptOnSqliteGivesAGridPerSelectAndTheMessageAndCaretNameTheFailingLine) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    const std::string script = "SELECT 1 AS a;\nSELECT 'x' AS b, 2 AS c;\n\n  SELECT nope\n"
                               "  FROM t;\nSELECT 4 AS fine;\nSELECT nope;\n";
    struct Case {
        std::size_t selectionStart;
        std::string where;
        int caretLine;
        QString pane2;
    };
    const std::vector<Case> cases = {
        {0, "Statement 3, line 4", 4, "Results grid #1 of 2; 1 row(s); 1 col(s)"},
        {script.find("SELECT 4"), "Statement 2, line 7", 7,
         "Results grid #1 of 1; 1 row(s); 1 col(s)"},
    };
    CQryView& editor = session->queryView();
    for (const Case& c : cases) {
        editor.setTextUtf8(script);
        editor.setSelectionRange(c.selectionStart, c.selectionStart == 0 ? 0 : script.size());
        editor.action(CQryView::Command::execute)->trigger();
        ASSERT_TRUE(waitFor([&] { return !session->executionControl().batch().executing(); }));
        EXPECT_EQ(session->paneText(0), "Query batch completed with errors");
        EXPECT_EQ(session->paneText(2), c.pane2);
        EXPECT_NE(session->executionControl().batch().messageBuffer.find(c.where),
                  std::string::npos)
            << session->executionControl().batch().messageBuffer;
        EXPECT_EQ(editor.caretLineColumn().line, c.caretLine);
    }
}

// Clear All leaves pane 2 telling what is on show: no grid, while the messages stay.
TEST_F(SessionWindow, ClearAllOfGridsLeavesPaneTwoOnNoGrid) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                      "3000) SELECT i FROM n;\nSELECT 2 AS b;");
    ASSERT_EQ(session->paneText(2), "Results grid #1 of 2; 3000 row(s); 1 col(s)");
    ASSERT_FALSE(session->executionControl().batch().messageBuffer.empty());
    prompts.answers.push_back(PromptAnswer::yes);
    session->resultView().onClearAll();
    QApplication::processEvents();
    EXPECT_FALSE(session->resultView().gridOnShow());
    EXPECT_EQ(session->paneText(2), "Results grid #0 of 0; 0 row(s); 0 col(s)");
    EXPECT_EQ(session->paneText(0), "Query batch completed");
}

TEST_F(SessionWindow, BatchWithoutResultsShowsTheMessages) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "CREATE TABLE IF NOT EXISTS t (id INTEGER)");
    EXPECT_EQ(session->paneText(2), "Messages");
    EXPECT_NE(session->resultView().paneText().find("row(s) affected"), std::string::npos);
}

TEST_F(SessionWindow, UntitledNamesCountOnAcrossClosedSessions) {
    CChildFrame* first = open(sqlite());
    ASSERT_NE(first, nullptr);
    const QString firstTitle = first->document().title();
    EXPECT_TRUE(firstTitle.startsWith("SQLite - Untitled_")) << firstTitle.toStdString();
    const int number = firstTitle.section('_', 1).section(' ', 0, 0).toInt();
    qobject_cast<QMdiSubWindow*>(first->parentWidget())->close();
    ASSERT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
    CChildFrame* second = open(sqlite());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->document().title(),
              QString("SQLite - Untitled_%1 - (New Query)").arg(number + 1));
}

TEST_F(SessionWindow, ConnectionLimitRefusesThe513th) {
    frame->setSessionCountOffset(maxSessions - 1);
    ASSERT_NE(open(sqlite()), nullptr);
    EXPECT_EQ(frame->newConnection(std::nullopt, sqlite(), std::nullopt), nullptr);
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages.back(), "Connection limit reached. You must close some connections "
                                       "before attempting to open any more connections.");
    EXPECT_EQ(frame->sessionCount(), 1);
}

TEST_F(SessionWindow, CancelledPromptLeavesNoWindowAndRetryPromptsAgain) {
    EXPECT_EQ(frame->newConnection(std::nullopt, std::nullopt, std::nullopt), nullptr);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(frame->sessionCount(), 0);
    EXPECT_TRUE(prompts.messages.empty());

    prompt.answer = sqlite();
    prompts.answers.push_back(PromptAnswer::retry);
    ASSERT_NE(frame->newConnection(std::nullopt, std::string("DSN=NoSuchDataSource"), std::nullopt),
              nullptr);
    EXPECT_EQ(prompt.asked, 2);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("State:IM002"), std::string::npos);
}

TEST_F(SessionWindow, NonSqlServerDatabaseBoxIsNotSupported) {
    CChildFrame* session = open(test::testDriver("DBMS_NAME=Oracle"));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->databaseBoxText(), "<Not supported>");
}

TEST_F(SessionWindow, ClosingDuringABatchAsksAndAnsweredYesClosesAfterTheCancel) {
    CChildFrame* session = open(test::testDriver("FetchDelay=20"));
    ASSERT_NE(session, nullptr);
    session->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 100000) SELECT i FROM n");
    session->executeQuery();
    ASSERT_TRUE(session->executionControl().batch().executing());
    auto* sub = qobject_cast<QMdiSubWindow*>(session->parentWidget());
    prompts.answers.push_back(PromptAnswer::no);
    sub->close();
    EXPECT_EQ(frame->sessionCount(), 1);
    EXPECT_TRUE(session->executionControl().batch().executing());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "A query execution is in progress. Are you sure you wish to cancel this query?");

    // Yes to cancelling, then No to saving the typed query.
    prompts.answers.push_back(PromptAnswer::yes);
    prompts.answers.push_back(PromptAnswer::no);
    sub->close();
    EXPECT_EQ(session->paneText(0), "Attempting to cancel query batch...");
    EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
}

TEST_F(SessionWindow, ABatchThatCompletesWhileTheCloseQuestionIsOpenStillCloses) {
    const std::string postgres = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(postgres);
    // The holder's lock keeps the batch running until the question is on screen.
    CChildFrame* holder = open(postgres);
    ASSERT_NE(holder, nullptr);
    execute(*holder, "SELECT pg_advisory_lock(4712)");
    CChildFrame* session = open(postgres);
    ASSERT_NE(session, nullptr);
    session->queryView().setTextUtf8("SELECT pg_advisory_lock(4712)");
    session->executeQuery();
    bool unlocked = false;
    prompts.onMessage = [&](const std::string&) {
        if (std::exchange(unlocked, true)) {
            return;
        }
        execute(*holder, "SELECT pg_advisory_unlock(4712)");
        ASSERT_TRUE(waitFor([&] { return !session->executionControl().batch().executing(); }));
    };
    // Yes to cancelling, then No to saving the typed query.
    prompts.answers.push_back(PromptAnswer::yes);
    prompts.answers.push_back(PromptAnswer::no);
    windowOf(session)->close();
    EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 1; }));
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(SessionWindow, DisconnectAllGoesOnAfterACancel) {
    ASSERT_NE(open(sqlite()), nullptr);
    CChildFrame* busy = open(test::testDriver("FetchDelay=20"));
    ASSERT_NE(busy, nullptr);
    ASSERT_NE(open(sqlite()), nullptr);
    busy->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                  "FROM n WHERE i < 100000) SELECT i FROM n");
    busy->executeQuery();
    prompts.answers.push_back(PromptAnswer::yes);
    prompts.answers.push_back(PromptAnswer::no);
    frame->disconnectAll();
    EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
}

TEST_F(SessionWindow, F5InTheEditorRunsTheBatch) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    session->queryView().setFocus();
    session->queryView().setTextUtf8("SELECT 42 AS answer");
    QTest::keyClick(&session->queryView(), Qt::Key_F5);
    ASSERT_TRUE(waitFor([&] { return session->paneText(0) == "Query batch completed"; }));
    EXPECT_EQ(session->paneText(2), "Results grid #1 of 1; 1 row(s); 1 col(s)");
}

TEST_F(SessionWindow, ClosingTheLastSessionDestroysTheGoToDialog) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    frame->showGoTo();
    ASSERT_NE(frame->goToDialog(), nullptr);
    qobject_cast<QMdiSubWindow*>(session->parentWidget())->close();
    ASSERT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
    EXPECT_EQ(frame->goToDialog(), nullptr);
}

TEST_F(SessionWindow, AboutShowsTheDriverManagerVersionOfTheActiveSession) {
    EXPECT_EQ(CAboutDlg(nullptr, frame.get()).odbcVersionText(), "CDatabase::m_hdbc == NULL");
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    const QString version = CAboutDlg(session, frame.get()).odbcVersionText();
    EXPECT_TRUE(version.startsWith("03.")) << version.toStdString();
}

TEST_F(SessionWindow, WindowPlacementIsSavedAndANineNumberValueIsIgnored) {
    frame->setGeometry(50, 60, 900, 650);
    frame->savePlacement();
    const std::string stored = settings.readText("Settings", "WindowPos", "");
    EXPECT_EQ(std::count(stored.begin(), stored.end(), ','), 9) << stored;
    settings.writeText("Settings", "WindowPos", "0,1,-1,-1,-1,-1,10,20,810");
    CMainFrame other(settings);
    other.restorePlacement();
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(other.size(), QSize(1100, 760));
}

// Every key a menu shows, pressed with the focus in the query editor, in the results text
// and in a grid, reaches that menu command; only Copy, Select All and Wrap Word are the
// results pane's own there.
TEST_F(SessionWindow, EveryMenuShortcutWorksWhereverTheFocusIs) {
    CChildFrame* session = open(test::testDriver("FetchDelay=1"));
    ASSERT_NE(session, nullptr);
    activateFrame();
    // The dialogs that keys open are closed again at once.
    const test::WindowAnswers closeDialogs;
    std::vector<std::pair<QAction*, QKeySequence>> shortcuts;
    for (QAction* top : frame->menuBar()->actions()) {
        for (QAction* action : openedMenuActions(top->menu())) {
            for (const QKeySequence& key : action->shortcuts()) {
                shortcuts.emplace_back(action, key);
            }
        }
    }
    QStringList keys;
    for (const auto& [action, key] : shortcuts) {
        keys << key.toString();
    }
    for (const char* expected :
         {"Ctrl+T",       "Ctrl+O", "Ctrl+S",    "Ctrl+P", "Ctrl+F4", "Ctrl+G", "F5",
          "Ctrl+E",       "Alt+X",  "Alt+Pause", "Ctrl+N", "F4",      "Ctrl+Z", "Ctrl+Y",
          "Ctrl+X",       "Ctrl+C", "Ctrl+V",    "Ctrl+A", "Ctrl+F",  "F3",     "Ctrl+H",
          "Ctrl+Shift+U", "Ctrl+U", "F7",        "F8",     "F9",      "F10"}) {
        EXPECT_TRUE(keys.contains(expected)) << expected;
    }

    const std::string rows = "SELECT 1 AS a, 'x' AS b UNION ALL SELECT 2, 'y'";
    // Its first grid is on show as soon as the second, endless one begins.
    const std::string endless = "SELECT 1 AS a;\nWITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                "SELECT i + 1 FROM n WHERE i < 100000) SELECT i FROM n";
    enum class Place { editor, resultsText, grid };
    // A finished batch (or a running one) with every command it allows enabled, and the
    // focus at the place.
    const auto prepare = [&](Place place, bool running) -> QWidget* {
        for (CChildFrame* other : std::vector<CChildFrame*>(frame->sessions())) {
            if (other != session) {
                windowOf(other)->close();
            }
        }
        EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 1; }));
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(window) != nullptr) {
                window->hide();
            }
        }
        activateFrame();
        CQryView& editor = session->queryView();
        if (running) {
            editor.setTextUtf8(endless);
            session->executeQuery();
            EXPECT_TRUE(waitFor([&] { return session->resultView().gridOnShow(); }));
        } else {
            execute(*session, rows);
            // Something to undo and to redo (edits apart, so that they are not merged), a
            // selection and text to paste.
            editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
            editor.insertAt("-- keys\n", 0, 0);
            editor.appendTextUtf8(" ");
            editor.undo();
            editor.setSelectionRange(0, 6);
            QGuiApplication::clipboard()->setText("clip");
        }
        QWidget* target = &editor;
        if (place == Place::resultsText) {
            session->executionControl().navigation().ToggleMessages();
            target = &session->resultView();
        } else if (place == Place::grid) {
            target = session->resultView().currentGrid();
        }
        session->updateCommandStates();
        if (target == nullptr) {
            return nullptr;
        }
        target->setFocus();
        EXPECT_TRUE(waitFor([&] { return QApplication::focusWidget() == target; }));
        return target;
    };

    const QStringList paneKeys = {"Ctrl+C", "Ctrl+A", "F7"};
    for (const Place place : {Place::editor, Place::resultsText, Place::grid}) {
        for (const auto& [action, key] : shortcuts) {
            const bool cancelling = key.toString() == "Alt+Pause";
            if (cancelling && place == Place::resultsText) {
                continue; // While a batch runs, its first grid covers the results text.
            }
            const QString where = QString("%1 in place %2").arg(key.toString()).arg(int(place));
            QWidget* target = prepare(place, cancelling);
            ASSERT_NE(target, nullptr) << where.toStdString();
            const bool paneOwnsKey = place != Place::editor && paneKeys.contains(key.toString());
            EXPECT_TRUE(paneOwnsKey || action->isEnabled()) << where.toStdString();
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keySequence(target, key);
            EXPECT_EQ(triggered.count(), paneOwnsKey ? 0 : 1) << where.toStdString();
            EXPECT_TRUE(waitFor([&] { return !session->executionControl().batch().executing(); }));
        }
    }
}

TEST_F(SessionWindow, CommandLineFileOpensInASessionOnTheGivenConnection) {
    const auto file = test::workFolder("commandline") / "start.qry";
    std::ofstream(file) << "SELECT 7";
    frame->openFromCommandLine(parseCommandLine({"--connect", sqlite(), file.string()}));
    EXPECT_EQ(prompt.asked, 0);
    ASSERT_EQ(frame->sessionCount(), 1);
    CChildFrame* session = frame->sessions().front();
    EXPECT_EQ(session->queryView().textUtf8(), "SELECT 7");
    EXPECT_TRUE(session->document().title().startsWith("SQLite - start.qry"))
        << session->document().title().toStdString();
}

TEST_F(SessionWindow, WithoutASessionPrintSetupWorksAndSessionMenusAreHidden) {
    const auto visibleMenus = [this] {
        QStringList titles;
        for (QAction* top : frame->menuBar()->actions()) {
            if (top->isVisible()) {
                titles << top->text();
            }
        }
        return titles;
    };
    EXPECT_EQ(visibleMenus(), QStringList({"&File", "&Window", "&Help"}));
    QAction* printSetup = nullptr;
    for (QAction* action : openedMenuActions(topMenu("&File"))) {
        if (action->text() == "Print Set&up...") {
            printSetup = action;
        }
    }
    ASSERT_NE(printSetup, nullptr);
    EXPECT_TRUE(printSetup->isEnabled());
    prompts.setUpOrientation = QPageLayout::Landscape;
    printSetup->trigger();
    EXPECT_EQ(prompts.printerSetUps, 1);

    // The orientation chosen there is the one the next print starts from.
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(visibleMenus(),
              QStringList({"&File", "&Edit", "&Query", "&Results", "&Window", "&Help"}));
    EXPECT_FALSE(openedMenuActions(topMenu("&Query")).isEmpty());
    session->queryView().printQuery();
    ASSERT_EQ(prompts.printOrientations.size(), 1u);
    EXPECT_EQ(prompts.printOrientations[0], QPageLayout::Landscape);
}

// The active session is asked first, each question names its document as the title does,
// and the count of connections drops with each session closed.
TEST_F(SessionWindow, DisconnectAllAsksTheActiveSessionFirstAndCountsDown) {
    std::vector<CChildFrame*> sessions;
    for (int i = 0; i < 3; ++i) {
        sessions.push_back(open(sqlite()));
        ASSERT_NE(sessions.back(), nullptr);
        sessions.back()->queryView().setTextUtf8("SELECT " + std::to_string(i));
    }
    const auto file = test::workFolder("closing") / "saved.qry";
    std::ofstream(file) << "SELECT 0";
    ASSERT_TRUE(sessions[2]->document().openFile(QString::fromStdString(file.string())));
    sessions[2]->queryView().setTextUtf8("SELECT 2");
    const auto untitled = [](CChildFrame* session) {
        return session->document().title().section(" - ", 1, 1).toStdString();
    };
    frame->findChild<QMdiArea*>()->setActiveSubWindow(windowOf(sessions[1]));
    std::vector<std::string> names;
    std::vector<QString> counts;
    prompts.onMessage = [&](const std::string& text) {
        names.push_back(text);
        counts.push_back(frame->connectionCountText());
    };
    prompts.answers = {PromptAnswer::no, PromptAnswer::no, PromptAnswer::no};
    frame->disconnectAll();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "Save changes to " + untitled(sessions[1]) + "?");
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names[1], "Save changes to " + untitled(sessions[0]) + "?");
    EXPECT_EQ(names[2], "Save changes to saved.qry?");
    EXPECT_EQ(counts,
              std::vector<QString>({"Total # of connections: 3", "Total # of connections: 2",
                                    "Total # of connections: 1"}));
    EXPECT_EQ(frame->connectionCountText(), "Total # of connections: 0");
}

TEST_F(SessionWindow, ExitAsksTheActiveSessionWithItsRunningBatchFirst) {
    CChildFrame* quiet = open(sqlite());
    ASSERT_NE(quiet, nullptr);
    quiet->queryView().setTextUtf8("SELECT 1");
    CChildFrame* busy = open(test::testDriver("FetchDelay=20"));
    ASSERT_NE(busy, nullptr);
    busy->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                  "FROM n WHERE i < 100000) SELECT i FROM n");
    busy->executeQuery();
    frame->findChild<QMdiArea*>()->setActiveSubWindow(windowOf(busy));
    // Yes to cancelling, then No to saving either query.
    prompts.answers = {PromptAnswer::yes, PromptAnswer::no, PromptAnswer::no};
    frame->close();
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages[0],
              "A query execution is in progress. Are you sure you wish to cancel this query?");
    EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
    EXPECT_EQ(prompts.messages.size(), 3u);
    EXPECT_FALSE(frame->isVisible());
}

} // namespace
} // namespace veltro
