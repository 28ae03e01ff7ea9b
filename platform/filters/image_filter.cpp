#include "platform/filters/image_filter.h"

#include "platform/filters/filter_kernels.h"

namespace {

const std::map<QString, FilterKernel> &kernels()
{
    static const std::map<QString, FilterKernel> all = [] {
        std::map<QString, FilterKernel> k;
        addColorKernels(k);
        addBlurKernels(k);
        addDistortionKernels(k);
        addStylizeKernels(k);
        addGeneratorKernels(k);
        return k;
    }();
    return all;
}

} // namespace

std::optional<ImageFilter> ImageFilter::filterWithName(const QString &name)
{
    if (!kernels().count(name))
        return std::nullopt;
    return ImageFilter(name);
}

QStringList ImageFilter::filterNames()
{
    QStringList names;
    for (const auto &[name, kernel] : kernels())
        names << name;
    return names;
}

void ImageFilter::noteKey(const QString &key)
{
    if (!m_keys.contains(key))
        m_keys << key;
}

void ImageFilter::setImage(const QString &key, const QImage &image)
{
    noteKey(key);
    m_images[key] = image;
}

void ImageFilter::setNumber(const QString &key, double value)
{
    noteKey(key);
    m_numbers[key] = value;
}

void ImageFilter::setVector(const QString &key, std::vector<double> value)
{
    noteKey(key);
    m_vectors[key] = std::move(value);
}

void ImageFilter::setColor(const QString &key, const QColor &color)
{
    noteKey(key);
    m_colors[key] = color;
}

QImage ImageFilter::image(const QString &key) const
{
    const auto found = m_images.find(key);
    return found == m_images.end() ? QImage() : found->second;
}

double ImageFilter::number(const QString &key, double otherwise) const
{
    const auto found = m_numbers.find(key);
    return found == m_numbers.end() ? otherwise : found->second;
}

std::vector<double> ImageFilter::vector(const QString &key) const
{
    const auto found = m_vectors.find(key);
    return found == m_vectors.end() ? std::vector<double>() : found->second;
}

QColor ImageFilter::color(const QString &key, const QColor &otherwise) const
{
    const auto found = m_colors.find(key);
    return found == m_colors.end() ? otherwise : found->second;
}

QImage ImageFilter::outputImage() const
{
    if (m_name.endsWith(QLatin1String("Generator")))
        return kernels().at(m_name).run(*this, QImage());
    const QImage input = image(QStringLiteral("inputImage"));
    if (input.isNull())
        return QImage();
    QImage output = kernels().at(m_name).run(*this, input.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // A stopped run's pixels are unfinished.
    return rowWorkStopRequested() ? QImage() : output;
}

int ImageFilter::outputMargin() const
{
    const FilterKernel &kernel = kernels().at(m_name);
    return kernel.margin ? kernel.margin(*this) : 0;
}
