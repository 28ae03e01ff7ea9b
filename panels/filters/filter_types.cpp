#include "panels/filters/filter_types.h"

#include <cmath>

namespace {

constexpr double pi = 3.14;   // the angle sliders' limits, exactly these decimals

const std::array<FilterType, filterTypeCount> &table()
{
    static const std::array<FilterType, filterTypeCount> types = {{
        {"CIGaussianBlur", {{"Radius", "inputRadius", 0, 100, 10}}},
        {"CIMedianFilter", {}},
        {"CINoiseReduction", {{"Level", "inputNoiseLevel", 0, 0.1, 0.02f}, {"Sharpness", "inputSharpness", 0, 2, 0.4f}}},
        {"CISharpenLuminance", {{"Sharpness", "inputSharpness", 0, 2, 0.4f}}},
        {"CIUnsharpMask", {{"Radius", "inputRadius", 0, 100, 2.5f}, {"Intensity", "inputIntensity", 0, 1, 0.5f}}},
        {"CIExposureAdjust", {{"Level", "inputEV", -10, 10, 0.5f}}},
        {"CIColorControls",
         {{"Saturation", "inputSaturation", 0, 2, 1}, {"Brightness", "inputBrightness", -1, 1, 0},
          {"Contrast", "inputContrast", 0.25, 4, 1}}},
        {"CIGammaAdjust", {{"Level", "inputPower", 0.1, 3, 0.75f}}},
        {"CIHueAdjust", {{"Angle", "inputAngle", -pi, pi, 0}}},
        {"CIColorInvert", {}},
        {"CIColorMonochrome", {{"Brightness", "inputBrightness", 0, 1, 0.5f}, {"Intensity", "inputIntensity", 0, 1, 1}}},
        {"CISepiaTone", {{"Intensity", "inputIntensity", 0, 1, 1}}},
        {"CIMaskToAlpha", {}},
        {"CIColorPosterize", {{"Level", "inputLevels", 2, 30, 6}}},
        {"CICircularWrap", {{"Radius", "inputRadius", 0, 600, 150}, {"Angle", "inputAngle", -pi, pi, 0}}, true},
        {"CIHoleDistortion", {{"Radius", "inputRadius", 1, 1000, 150}}, true},
        {"CIPinchDistortion", {{"Radius", "inputRadius", 0, 1000, 300}, {"Scale", "inputScale", 0, 1, 0.5f}}, true},
        {"CITorusLensDistortion",
         {{"Radius", "inputRadius", 0, 500, 160}, {"Width", "inputWidth", 0, 200, 80},
          {"Refraction", "inputRefraction", -5, 5, 1.7f}},
         true},
        {"CITwirlDistortion", {{"Radius", "inputRadius", 0, 500, 300}, {"Angle", "inputAngle", -12.57, 12.57, 3.14f}},
         true},
        {"CIPerspectiveTransform", {}},
        {"CICircularScreen", {{"Width", "inputWidth", 2, 50, 6}, {"Sharpness", "inputSharpness", 0, 1, 0.7f}}, true},
        {"CICMYKHalftone",
         {{"Width", "inputWidth", 2, 100, 6}, {"Angle", "inputAngle", -pi, pi, 0},
          {"Sharpness", "inputSharpness", 0, 1, 0.7f}},
         true},
        {"CILineScreen",
         {{"Angle", "inputAngle", -pi, pi, 0}, {"Width", "inputWidth", 2, 50, 6},
          {"Sharpness", "inputSharpness", 0, 1, 0.7f}},
         true},
        {"CIBloom", {{"Radius", "inputRadius", 0, 100, 10}, {"Intensity", "inputIntensity", 0, 1, 1}}},
        {"CICrystallize", {{"Radius", "inputRadius", 1, 100, 20}}, true},
        {"CIEdges", {{"Intensity", "inputIntensity", 0, 10, 1}}},
        {"CIEdgeWork", {{"Radius", "inputRadius", 0, 20, 3}}},
        {"CIGloom", {{"Radius", "inputRadius", 0, 100, 10}, {"Intensity", "inputIntensity", 0, 1, 1}}},
        {"CIHeightFieldFromMask", {{"Radius", "inputRadius", 0, 300, 10}}},
        {"CIPixellate", {{"Scale", "inputScale", 1, 100, 8}}, true},
        {"CIPointillize", {{"Radius", "inputRadius", 1, 100, 20}}, true},
        {"CISpotLight",
         {{"Brightness", "inputBrightness", 0, 10, 3}, {"Concentration", "inputConcentration", 0, 1.5, 0.1f}}, true},
        {"CIShadedMaterial", {{"Scale", "inputScale", 0.5, 200, 10}}},
        {"CIKaleidoscope", {{"Level", "inputCount", 1, 64, 6}, {"Angle", "inputAngle", -pi, pi, 0}}, true},
        {"CIOpTile",
         {{"Scale", "inputScale", 0.1, 10, 2.8f}, {"Angle", "inputAngle", -pi, pi, 0},
          {"Width", "inputWidth", 1, 1000, 65}},
         true},
        {"CIParallelogramTile",
         {{"Angle", "inputAngle", -pi, pi, 0}, {"Acute Angle", "inputAcuteAngle", -pi, pi, 1.57f},
          {"Width", "inputWidth", 1, 200, 100}},
         true},
        {"CITriangleTile", {{"Angle", "inputAngle", -pi, pi, 0}, {"Width", "inputWidth", 1, 200, 100}}, true},
    }};
    return types;
}

} // namespace

const FilterType *filterTypeAt(int type)
{
    return type >= 0 && type < filterTypeCount ? &table()[size_t(type)] : nullptr;
}

QString filterNameFor(int type)
{
    const FilterType *entry = filterTypeAt(type);
    return entry ? QString::fromLatin1(entry->filterName) : QString();
}

int filterTypeFor(const QString &name)
{
    for (int type = 0; type < filterTypeCount; ++type)
        if (name == QLatin1String(table()[size_t(type)].filterName))
            return type;
    return -1;
}

std::vector<float> sliderValuesFor(int type, const std::map<QString, double> &saved)
{
    std::vector<float> values;
    if (const FilterType *entry = filterTypeAt(type))
        for (const FilterSlider &slider : entry->sliders) {
            const auto found = saved.find(QString::fromLatin1(slider.inputKey));
            values.push_back(found == saved.end() ? slider.start : float(found->second));
        }
    return values;
}

std::optional<ImageFilter> filterForType(int type, const QImage &source, const std::vector<float> &sliders,
                                         Point center, const QImage &shadingImage,
                                         std::optional<ImageFilter> *recorded)
{
    const FilterType *entry = filterTypeAt(type);
    if (!entry)
        return std::nullopt;
    auto filter = ImageFilter::filterWithName(QString::fromLatin1(entry->filterName));
    const double w = source.width(), h = source.height();
    QImage input = source;
    if (type == 28) {
        // The height field is made from the source in grey, lightened to mid grey.
        auto grey = ImageFilter::filterWithName(QStringLiteral("CIColorControls"));
        grey->setImage(QStringLiteral("inputImage"), source);
        grey->setNumber(QStringLiteral("inputSaturation"), 0);
        grey->setNumber(QStringLiteral("inputBrightness"), 0.5);
        input = grey->outputImage();
    }
    if (type == 32) {
        if (shadingImage.isNull())
            return std::nullopt;
        filter->setImage(QStringLiteral("inputShadingImage"), shadingImage);
    }
    filter->setImage(QStringLiteral("inputImage"), input);
    for (size_t i = 0; i < entry->sliders.size() && i < sliders.size(); ++i)
        filter->setNumber(QString::fromLatin1(entry->sliders[i].inputKey), double(sliders[i]));
    // The spot light takes the centre as the point it aims at, not as a centre input.
    if (entry->usesCenter && type != 31)
        filter->setVector(QStringLiteral("inputCenter"), {center.x, center.y});
    switch (type) {
    case 10:   // slider 1 is the grey of the tint, not an input of its own
        if (!sliders.empty())
            filter->setColor(QStringLiteral("inputColor"), QColor::fromRgbF(sliders[0], sliders[0], sliders[0], 1));
        break;
    case 19:
        filter->setVector(QStringLiteral("inputTopLeft"), {center.x - 0.5 * w, center.y + 0.5 * h});
        filter->setVector(QStringLiteral("inputTopRight"), {center.x + 0.5 * w, center.y + 0.5 * h});
        filter->setVector(QStringLiteral("inputBottomRight"), {center.x + 0.3 * w, center.y - 0.5 * h});
        filter->setVector(QStringLiteral("inputBottomLeft"), {center.x - 0.3 * w, center.y - 0.5 * h});
        break;
    case 21:
        filter->setNumber(QStringLiteral("inputGCR"), 1.0);
        filter->setNumber(QStringLiteral("inputUCR"), 0.5);
        break;
    case 31: {
        const double d = std::hypot(w, h);
        filter->setVector(QStringLiteral("inputLightPosition"), {0.5 * w, 0.5 * h, d * std::tan(60 * M_PI / 180)});
        filter->setVector(QStringLiteral("inputLightPointsAt"), {center.x, center.y, 0});
        filter->setColor(QStringLiteral("inputColor"), Qt::white);
        break;
    }
    case 32: {
        if (recorded)
            *recorded = filter;
        // The shaded material is laid over the source in hard light.
        auto blend = ImageFilter::filterWithName(QStringLiteral("CIHardLightBlendMode"));
        blend->setImage(QStringLiteral("inputImage"), filter->outputImage());
        blend->setImage(QStringLiteral("inputBackgroundImage"), source);
        return blend;
    }
    default:
        break;
    }
    if (recorded)
        *recorded = filter;
    return filter;
}

std::optional<Point> selectedCenterFor(Size size, Point current, const Rect &imageBounds)
{
    const float w = size.width, h = size.height, W = imageBounds.size.width, H = imageBounds.size.height;
    float x = 0, y = 0;
    if (w <= W && h <= H) {
        x = current.x - imageBounds.origin.x;
        y = h - (current.y - imageBounds.origin.y);
    } else {
        const float s = std::min(H / h, W / w), sw = s * w, sh = s * h;
        x = w * (current.x - (0.5f * W - 0.5f * sw)) / sw;
        const float yDown = h * (current.y - (0.5f * H - 0.5f * sh)) / sh;
        x += 0.5f * W > x ? -7 : 7;
        y = 0.5f * H > h - yDown ? (h - yDown) - 6 : (h - yDown) + 6;
    }
    if (x < 0 || x > w || y < 0 || y > h)
        return std::nullopt;
    return Point(x, y);
}
