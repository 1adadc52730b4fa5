#include "app/CVeltroApp.h"

#include "app/CMainFrame.h"
#include "app/IconFactory.h"
#include "app/PromptService.h"
#include "app/QtSettingsStore.h"
#include "app/WorkKeeper.h"
#include "cli/CommandLine.h"
#include "results/GridStore.h"

#include <clocale>

namespace veltro {

namespace {

// The result grid is part of the program; the check only proves a grid can be made.
bool gridComponentAvailable() {
    GridStore probe;
    return probe.SetCols(1) && probe.SetRows(1) && probe.SetTextMatrix(0, 0, "check");
}

} // namespace

CVeltroApp::CVeltroApp(int& argc, char** argv) : QApplication(argc, argv) {
    // QApplication adopts the user's locale for the C library; drivers then format numbers
    // with it (a decimal comma under de_DE). Values must read the same everywhere.
    std::setlocale(LC_NUMERIC, "C");
    setOrganizationName("Kellamoor");
    setApplicationName("Veltro (using ODBC)");
    setDesktopFileName("veltro");
    setUpIconTheme();
    setWindowIcon(applicationIcon());
}

CVeltroApp::~CVeltroApp() = default;

bool CVeltroApp::InitInstance(const CommandLine& commandLine) {
    setOverrideCursor(Qt::WaitCursor);
    if (!gridComponentAvailable()) {
        restoreOverrideCursor();
        PromptService::current().message(nullptr,
                                         "<MsFlxGrd.ocx> not registered. Please register "
                                         "<MsFlxGrd.ocx> and then try again.",
                                         PromptButtons::ok, PromptIcon::critical);
        return false;
    }
    settings = std::make_unique<QtSettingsStore>();
    frame = std::make_unique<CMainFrame>(*settings);
    frame->restorePlacement();
    keeper = std::make_unique<WorkKeeper>(*frame, *settings);
    restoreOverrideCursor();
    // Restored queries have their windows: the first connection is not asked for again.
    if (keeper->recovery().offerRecovery(false) == 0 || commandLine.fileToOpen ||
        commandLine.connectString) {
        frame->openFromCommandLine(commandLine);
    }
    return true;
}

} // namespace veltro
