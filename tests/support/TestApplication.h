#pragma once

#include <QApplication>

namespace veltro::test {

// The application object widgets need, made once per test program. It is never destroyed:
// tearing it down among the other statics at exit crashes.
inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "veltro_ui_tests";
    static char* argv[] = {name, nullptr};
    static auto* application = new QApplication(argc, argv);
    return *application;
}

} // namespace veltro::test
