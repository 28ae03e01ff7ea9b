// A QGuiApplication for the drawing tests that need one (text, pixmaps), made on first use.
#pragma once

#include <QGuiApplication>

inline QGuiApplication &testApp()
{
    static int argc = 1;
    static char name[] = "test_graphics";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}
