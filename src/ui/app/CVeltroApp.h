#pragma once

#include <QApplication>

#include <memory>

namespace veltro {

class CMainFrame;
class WorkKeeper;
class QtSettingsStore;
struct CommandLine;

// The program's start-up: the grid component check, the settings store, the main frame,
// the recovery of unsaved queries and the query history, and either the file from the command
// line or a first connection at once.
class CVeltroApp : public QApplication {
    Q_OBJECT
public:
    CVeltroApp(int& argc, char** argv);
    ~CVeltroApp() override;

    // False when the program is to quit at once.
    bool InitInstance(const CommandLine& commandLine);
    CMainFrame* mainFrame() const { return frame.get(); }

private:
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<WorkKeeper> keeper;
};

} // namespace veltro
