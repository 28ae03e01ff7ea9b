// A frameless window of one known colour on the screen, for tests that pick colours from it.
#pragma once

#include "tests/support/golden_image.h"

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QTest>
#include <QWidget>

inline void showColourSwatch(QWidget &swatch, const QColor &colour, const QRect &geometry)
{
    swatch.setWindowFlags(Qt::FramelessWindowHint);
    swatch.setAutoFillBackground(true);
    QPalette palette = swatch.palette();
    palette.setColor(QPalette::Window, colour);
    swatch.setPalette(palette);
    swatch.setGeometry(geometry);
    swatch.show();
    waitForExposure(swatch);
    QTest::qWait(200);
}
