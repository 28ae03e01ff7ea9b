#include "panels/filters/filter_runner.h"

#include "panels/filters/filter_stack.h"
#include "panels/filters/filter_types.h"

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
    return FilterOutput{std::move(output), filterStackEntry(*recorded)};
}

const QImage &lightballImage()
{
    static const QImage ball = QImage(QStringLiteral(":/images/lightball.png"))
                                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return ball;
}
