// ensureCoreApp: the QCoreApplication that foundation tests needing an event loop share.
#pragma once

#include <QCoreApplication>

inline QCoreApplication &ensureCoreApp()
{
    static int argc = 1;
    static char name[] = "test_foundation";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}
