// Filters over large pictures at their sliders' extremes: the memory they take stays a few
// times the picture's own size, a run stops soon after it is asked to, and it tells how far
// it is. The runs are threaded: each case runs several times.
#include "platform/filters/gegl_operation.h"
#include "platform/filters/image_filter.h"
#include "platform/graphics/parallel_rows.h"
#include "tests/support/gui_app.h"
#include "tests/support/machine_load.h"
#include "tests/support/resident_memory.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPainter>

#include <chrono>
#include <thread>

namespace {

QImage photo(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int i = 0; i < 30; ++i) {
        p.setBrush(QColor::fromHsv(i * 23 % 360, 200, 60 + i * 6));
        p.drawEllipse(QPointF(w * ((i * 37) % 100) / 100.0, h * ((i * 61) % 100) / 100.0), w / 7.0, h / 7.0);
    }
    return image;
}

struct Extreme {
    const char *name;
    std::map<QString, double> numbers;
};

// The filters whose runs are the longest or the largest, with their sliders at the ends of
// their ranges.
const Extreme extremes[] = {
    {"CIMedianFilter", {}},
    {"CINoiseReduction", {{"inputNoiseLevel", 0.1}, {"inputSharpness", 2}}},
    {"CIUnsharpMask", {{"inputRadius", 100}, {"inputIntensity", 1}}},
    {"CIEdgeWork", {{"inputRadius", 20}}},
    {"CIEdges", {{"inputIntensity", 10}}},
    {"CIGaussianBlur", {{"inputRadius", 100}}},
    {"CIBloom", {{"inputRadius", 100}, {"inputIntensity", 1}}},
    {"CIHeightFieldFromMask", {{"inputRadius", 300}}},
    {"CIExposureAdjust", {{"inputEV", 10}}},
};

ImageFilter filterOf(const Extreme &extreme, const QImage &input)
{
    ImageFilter filter = *ImageFilter::filterWithName(QString::fromLatin1(extreme.name));
    filter.setImage(QStringLiteral("inputImage"), input);
    for (const auto &[key, value] : extreme.numbers)
        filter.setNumber(key, value);
    return filter;
}

} // namespace

TEST(FilterRuns, TakeAFewTimesThePicturesSizeAtTheSlidersExtremes)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory and quarantine change the resident size";
#endif
    ensureGuiApp();
    if (!resetResidentPeak())
        GTEST_SKIP() << "the kernel does not let the resident peak be reset";
    // Started once on a small picture: the engine's modules and the threads' stacks are
    // not the run's.
    for (const Extreme &extreme : extremes)
        filterOf(extreme, photo(64, 64)).outputImage();
    const QImage input = photo(1600, 1200);
    const qint64 pictureBytes = input.sizeInBytes();
    for (const Extreme &extreme : extremes) {
        SCOPED_TRACE(extreme.name);
        const ImageFilter filter = filterOf(extreme, input);
        ASSERT_TRUE(resetResidentPeak());
        const qint64 before = residentBytes();
        const QImage output = filter.outputImage();
        const qint64 taken = residentPeakBytes() - before;
        ASSERT_FALSE(output.isNull());
        // Four pictures' worth at most, output included: the picture's size, or the output's
        // where the filter grows it by its margin. (A run of the whole picture at once through
        // the engine's floating-point buffers took fifteen.)
        const qint64 largest = std::max(pictureBytes, qint64(output.sizeInBytes()));
        EXPECT_LE(taken, 4 * largest) << taken / 1048576 << " MB for a picture of " << largest / 1048576 << " MB";
    }
}

TEST(FilterRuns, StopWithinAFractionOfASecondAndGiveNothing)
{
    ensureGuiApp();
    // The engine's start (once a process, a few hundred milliseconds) is not a filter's run.
    filterOf(extremes[0], photo(16, 16)).outputImage();
    const QImage input = photo(2400, 1800);
    for (const Extreme &extreme : extremes)
        for (int attempt = 0; attempt < 3; ++attempt) {
            SCOPED_TRACE(std::string(extreme.name) + " attempt " + std::to_string(attempt));
            const ImageFilter filter = filterOf(extreme, input);
            RowWork work;
            QImage output = input;
            std::atomic<bool> ended{false};
            std::thread runner([&] {
                const RowWorkScope scope(work);
                output = filter.outputImage();
                ended = true;
            });
            // Stopped at different points: as soon as it started, and once it is under way.
            if (attempt > 0)
                while (!ended && work.fractionDone() < 0.1 * attempt)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const bool finishedFirst = ended;
            QElapsedTimer stopping;
            stopping.start();
            work.requestStop();
            runner.join();
            EXPECT_LT(stopping.elapsed(), boundOnThisMachine(100));
            EXPECT_TRUE(output.isNull() || finishedFirst);
        }
}

TEST(FilterRuns, TellHowFarTheyAreAndGiveTheSamePicture)
{
    ensureGuiApp();
    const QImage input = photo(900, 700);
    for (const Extreme &extreme : extremes) {
        SCOPED_TRACE(extreme.name);
        const ImageFilter filter = filterOf(extreme, input);
        RowWork dry;
        {
            const RowWorkScope scope(dry);
            filterOf(extreme, photo(16, 16)).outputImage();
        }
        RowWork work;
        work.expectPasses(dry.passesMade());
        std::vector<double> seen;
        std::atomic<bool> ended{false};
        QImage output;
        std::thread runner([&] {
            const RowWorkScope scope(work);
            output = filter.outputImage();
            ended = true;
        });
        while (!ended) {
            seen.push_back(work.fractionDone());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        runner.join();
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        // The small picture made as many passes as the large one: the fraction ends at 1.
        EXPECT_EQ(work.passesMade(), dry.passesMade());
        EXPECT_DOUBLE_EQ(work.fractionDone(), 1.0);
        // Watched or not, the run gives the same pixels.
        EXPECT_EQ(output, filter.outputImage());
    }
}

TEST(FilterRuns, TheEngineStartsOnlyForAFilterThatNeedsItOnTheRunsThread)
{
    ensureGuiApp();
    if (geglStarted())
        GTEST_SKIP() << "an earlier test of this process started the engine (CTest runs each test alone)";
    ImageFilter invert = *ImageFilter::filterWithName(QStringLiteral("CIColorInvert"));
    invert.setImage(QStringLiteral("inputImage"), photo(32, 32));
    invert.outputImage();
    EXPECT_FALSE(geglStarted());
    std::thread([] { filterOf(extremes[0], photo(32, 32)).outputImage(); }).join();
    EXPECT_TRUE(geglStarted());
    EXPECT_FALSE(geglStartedOnThisThread());
}
