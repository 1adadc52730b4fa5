#include "app/CVeltroApp.h"
#include "app/QtSettingsStore.h"
#include "cli/CommandLine.h"
#include "cli/DriverInfoRunner.h"
#include "cli/HeadlessRunner.h"
#include "cli/StandardStreams.h"

#include <QMessageBox>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Whether a person may be looking at a window (not an offscreen or headless run).
bool hasInteractiveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && std::strcmp(platform, "offscreen") == 0) {
        return false;
    }
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

// Writes what --help or --version asked for.
int answer(const std::string& text) {
    return veltro::writeAll(stdout, text) ? veltro::exitCompleted
                                          : veltro::endAfterOutputFailure(errno, "the answer");
}

} // namespace

int main(int argc, char* argv[]) {
    veltro::occupyClosedStandardStreams();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const char* environmentConnect = std::getenv("VELTRO_CONNECT");
    const veltro::CommandLine commandLine = veltro::parseCommandLine(
        arguments, environmentConnect != nullptr ? std::optional<std::string>(environmentConnect)
                                                 : std::nullopt);
    if (commandLine.help) {
        return answer(veltro::helpText());
    }
    if (commandLine.version) {
        return answer(std::string("Veltro (using ODBC) ") + VELTRO_VERSION + "\n");
    }
    if (commandLine.invalid) {
        veltro::writeAll(stderr, "veltro: " + commandLine.problem + "\n");
        if (commandLine.executeFile || commandLine.driverInfo) {
            return veltro::exitFailure;
        }
        // A window was asked for: the usage message a window start-up gives.
        veltro::writeAll(stderr, std::string(veltro::usageText) + "\n");
        if (hasInteractiveDisplay()) {
            QApplication app(argc, argv);
            QMessageBox::information(nullptr, "Veltro (using ODBC)", veltro::usageText);
        }
        return veltro::exitFailure;
    }
    if (commandLine.executeFile || commandLine.driverInfo) {
        // Drivers format numbers by the C library's locale: keep the decimal point a point.
        std::setlocale(LC_ALL, "");
        std::setlocale(LC_NUMERIC, "C");
        const veltro::QtSettingsStore settings;
        return commandLine.driverInfo ? veltro::runDriverInfo(commandLine, settings)
                                      : veltro::runHeadless(commandLine, settings);
    }

    veltro::CVeltroApp app(argc, argv);
    if (!app.InitInstance(commandLine)) {
        return 1;
    }
    return veltro::CVeltroApp::exec();
}
