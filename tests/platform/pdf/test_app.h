// The QGuiApplication that font and PDF tests need, made once on first use.
#pragma once

#include <QGuiApplication>

inline QGuiApplication &testApp()
{
    static int argc = 1;
    static char name[] = "test_pdf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}
