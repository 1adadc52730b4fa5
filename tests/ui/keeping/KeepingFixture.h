#pragma once

// A real main frame with the recovery and the history attached, in folders of the test's
// own: nothing touches the user's home.
#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "TestApplication.h"
#include "TestDatabases.h"

#include "app/CMainFrame.h"
#include "app/WorkKeeper.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace veltro::test {

class Keeping : public testing::Test {
protected:
    explicit Keeping(const std::string& name) : folder(workFolder("keeping") / name) {
        testApplication();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        for (const char* variable : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            setenv(variable, (folder / variable).c_str(), 1);
        }
        frame = std::make_unique<CMainFrame>(settings);
        frame->resize(1000, 700);
        frame->show();
    }
    ~Keeping() override {
        keeper.reset();
        frame.reset();
        QApplication::processEvents();
    }

    void attach(const std::string& recoveryFolder) {
        keeper = std::make_unique<WorkKeeper>(*frame, settings, recoveryFolder,
                                              (folder / "history.db").string());
    }
    std::string stateFolder() const { return (folder / "XDG_STATE_HOME" / "veltro").string(); }

    std::vector<std::filesystem::path> filesIn(const std::filesystem::path& where,
                                               const std::string& extension) const {
        std::vector<std::filesystem::path> found;
        std::error_code ignored;
        for (const auto& file : std::filesystem::directory_iterator(where, ignored)) {
            if (file.path().extension() == extension) {
                found.push_back(file.path());
            }
        }
        return found;
    }

    std::filesystem::path folder;
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<WorkKeeper> keeper;
};

} // namespace veltro::test
