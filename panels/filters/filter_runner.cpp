#include "panels/filters/filter_runner.h"

#include "panels/filters/filter_stack.h"
#include "panels/filters/filter_types.h"
#include "platform/graphics/parallel_rows.h"

std::optional<FilterOutput> outputImageOf(const QImage &image, const FilterSettings &settings)
{
    if (image.isNull())
        return std::nullopt;
    std::optional<ImageFilter> recorded;
    const std::optional<ImageFilter> filter = filterForType(settings.type, image, settings.sliders, settings.center,
                                                            lightballImage(), &recorded);
    if (!filter)
        return std::nullopt;
    QImage output = filter->outputImage();
    if (output.isNull())
        return std::nullopt;
    return FilterOutput{std::move(output), filter->outputMargin(), filterStackEntry(*recorded)};
}

std::vector<std::optional<FilterOutput>> runFilterSteps(const QImage &image, const std::vector<FilterSettings> &steps,
                                                        RowWork &work)
{
    {
        // The passes the steps make do not depend on the picture's size: count them on a
        // small one, for the share of the whole that each pass stands for.
        RowWork dry;
        const RowWorkScope counting(dry);
        QImage small = image.isNull() ? QImage() : image.scaled(16, 16);
        for (const FilterSettings &step : steps)
            if (auto output = outputImageOf(small, step))
                small = output->image;
        work.expectPasses(dry.passesMade());
    }
    const RowWorkScope running(work);
    std::vector<std::optional<FilterOutput>> outputs;
    QImage current = image;
    for (const FilterSettings &step : steps) {
        outputs.push_back(work.stopRequested() ? std::nullopt : outputImageOf(current, step));
        if (outputs.back())
            current = outputs.back()->image;
    }
    return outputs;
}

const QImage &lightballImage()
{
    static const QImage ball = QImage(QStringLiteral(":/images/lightball.png"))
                                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return ball;
}
