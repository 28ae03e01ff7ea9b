// A QGuiApplication for the tests that need fonts, made once on first use.
#pragma once

#include <QGuiApplication>

inline void ensureGuiApp()
{
    static int argc = 1;
    static char name[] = "test_text";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}
