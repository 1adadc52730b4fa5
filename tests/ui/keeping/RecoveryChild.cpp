// The program a recovery test kills: the real start-up on a query file and a connect string,
// a few keys typed into the editor, then, once the text is kept for recovery, either a run
// until killed ("kill") or a clean exit without saving ("exit").
// recovery_child kill|exit FILE CONNSTR TEXT
#include "EventWait.h"
#include "ScriptedPrompts.h"

#include "app/CMainFrame.h"
#include "app/CVeltroApp.h"
#include "cli/CommandLine.h"
#include "common/XdgFolders.h"
#include "editor/CQryView.h"
#include "session/CChildFrame.h"

#include <QTest>

#include <filesystem>
#include <iostream>
#include <set>
#include <string>

namespace {

std::set<std::filesystem::path> recoveryFiles(const std::string& folder) {
    std::set<std::filesystem::path> found;
    std::error_code ignored;
    for (const auto& file : std::filesystem::directory_iterator(folder, ignored)) {
        if (file.path().extension() == ".recovery") {
            found.insert(file.path());
        }
    }
    return found;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        return 2;
    }
    const std::string mode = argv[1];
    veltro::test::ScriptedPrompts prompts;
    int qtArgc = 1;
    veltro::CVeltroApp app(qtArgc, argv);
    veltro::CommandLine line;
    line.fileToOpen = argv[2];
    line.connectString = argv[3];
    if (!app.InitInstance(line)) {
        return 3;
    }
    veltro::CChildFrame* session = app.mainFrame()->activeSession();
    if (session == nullptr) {
        return 4;
    }
    // Files other instances left are not this one's.
    const auto before = recoveryFiles(veltro::stateFolder());
    QTest::keyClicks(&session->queryView(), argv[4]);
    if (!veltro::test::waitFor(
            [&before] { return recoveryFiles(veltro::stateFolder()).size() > before.size(); })) {
        return 5;
    }
    std::cout << "kept" << std::endl;
    if (mode == "kill") {
        return veltro::CVeltroApp::exec();
    }
    // Exit, and No to saving the changes.
    prompts.answers.push_back(veltro::PromptAnswer::no);
    app.mainFrame()->close();
    return app.mainFrame()->sessionCount() == 0 ? 0 : 6;
}
