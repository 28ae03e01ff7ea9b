// The one application object a benchmark's drawing needs, made on first use without a display.
#pragma once

#include <QGuiApplication>

inline QGuiApplication &offscreenApplication()
{
    static int argc = 1;
    static char name[] = "vekanto_bench";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}
