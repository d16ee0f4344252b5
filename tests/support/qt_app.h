// One QApplication for the Qt-based form tests (offscreen).
#pragma once

#include <QApplication>

namespace forms_test {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "forms_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        a->setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

}  // namespace forms_test
