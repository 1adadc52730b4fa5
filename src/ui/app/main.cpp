#include "app/CVeltroApp.h"
#include "app/QtSettingsStore.h"
#include "cli/CommandLine.h"
#include "cli/HeadlessRunner.h"

#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Whether a person may be looking at a window (not an offscreen or headless run).
bool hasInteractiveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && std::strcmp(platform, "offscreen") == 0) {
        return false;
    }
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const veltro::CommandLine commandLine = veltro::parseCommandLine(arguments);
    if (commandLine.help) {
        std::fputs(veltro::helpText().c_str(), stdout);
        return 0;
    }
    if (commandLine.version) {
        std::printf("Veltro (using ODBC) %s\n", VELTRO_VERSION);
        return 0;
    }
    if (commandLine.invalid) {
        std::fprintf(stderr, "%s\n", veltro::usageText);
        if (hasInteractiveDisplay()) {
            QApplication app(argc, argv);
            QMessageBox::information(nullptr, "Veltro (using ODBC)", veltro::usageText);
        }
        return veltro::exitFailure;
    }
    if (commandLine.executeFile) {
        // Drivers format numbers by the C library's locale: keep the decimal point a point.
        std::setlocale(LC_ALL, "");
        std::setlocale(LC_NUMERIC, "C");
        const veltro::QtSettingsStore settings;
        return veltro::runHeadless(commandLine, settings);
    }

    veltro::CVeltroApp app(argc, argv);
    if (!app.InitInstance(commandLine)) {
        return 1;
    }
    return veltro::CVeltroApp::exec();
}
