// Screenshots of widgets in a real window compared with small golden images; the test
// target's data folder holds them, and VEK_UPDATE_GOLDEN=1 writes them anew.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

// Runs the event loop until the window is on the screen (or two seconds pass).
inline void waitForExposure(QWidget &widget)
{
    QElapsedTimer timer;
    timer.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
}

// The share of pixels whose colour differs by more than a small amount.
inline double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 48)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

// `tolerance`: the share of pixels that may differ; thin line drawings need a small one, for
// a missing line changes few pixels.
inline void expectMatchesGolden(const QImage &shot, const QString &name, double tolerance = 0.01)
{
    const QString path = QStringLiteral(VEK_TEST_DATA_DIR "/") + name;
    if (qEnvironmentVariableIsSet("VEK_UPDATE_GOLDEN"))
        shot.save(path);
    const QImage golden(path);
    ASSERT_FALSE(golden.isNull()) << path.toStdString();
    EXPECT_LT(differingShare(shot.convertToFormat(QImage::Format_RGB32), golden.convertToFormat(QImage::Format_RGB32)),
              tolerance)
        << name.toStdString();
}
