// A QApplication for the widget tests, made on first use.
#pragma once

#include <QApplication>

inline QApplication &testApp()
{
    static int argc = 1;
    static char name[] = "test_model_ui";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
