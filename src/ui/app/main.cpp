#include "app/QtSettingsStore.h"
#include "cli/CommandLine.h"
#include "session/ConnectionWindow.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <cstdio>

int main(int argc, char* argv[]) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const veltro::CommandLine commandLine = veltro::parseCommandLine(arguments);
    if (commandLine.help) {
        std::fputs(veltro::helpText().c_str(), stdout);
        return 0;
    }
    if (commandLine.version) {
        std::printf("Veltro (using ODBC) %s\n", VELTRO_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    // QApplication adopts the user's locale for the C library; drivers then format numbers
    // with it (a decimal comma under de_DE). Values must read the same everywhere.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("Kellamoor");
    QApplication::setApplicationName("Veltro (using ODBC)");

    if (commandLine.invalid) {
        QMessageBox::information(nullptr, "Veltro (using ODBC)", veltro::usageText);
        return 1;
    }

    veltro::QtSettingsStore settings;
    veltro::ConnectionWindow window(settings);
    window.show();
    if (!window.connectSession(commandLine.connectString)) {
        return 1;
    }
    return QApplication::exec();
}
