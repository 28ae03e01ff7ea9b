// The QApplication that widget tests need.
#pragma once

#include "tests/support/test_apps.h"

#include <QApplication>

inline QApplication &ensureWidgetApp()
{
    return ensureApp<QApplication>();
}
