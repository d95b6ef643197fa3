// The one QApplication of a widget-test binary, made on first use.
#pragma once

#include <QApplication>

namespace qx::test {

inline void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "quorisdex_ui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace qx::test
