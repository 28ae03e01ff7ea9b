// The QGuiApplication that tests of fonts, pixmaps and PDF rendering need.
#pragma once

#include "tests/support/test_apps.h"

#include <QGuiApplication>

inline QGuiApplication &ensureGuiApp()
{
    return ensureApp<QGuiApplication>();
}
