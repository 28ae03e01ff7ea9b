// Image filters made by name, our stand-in for the platform's image filter service: a filter
// takes its inputs by key ("inputImage", "inputRadius", "inputCenter", ...) and answers its
// output image. Positions are in the image's pixels with y growing upwards from the bottom
// edge, as the platform's filters take them; angles are in radians.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

class ImageFilter {
public:
    // The filter of that name; absent for a name no filter has.
    static std::optional<ImageFilter> filterWithName(const QString &name);
    // Every name filterWithName answers.
    static QStringList filterNames();

    const QString &name() const { return m_name; }

    void setImage(const QString &key, const QImage &image);
    void setNumber(const QString &key, double value);
    void setVector(const QString &key, std::vector<double> value);
    void setColor(const QString &key, const QColor &color);

    // The keys of the inputs set, in the order they were first set.
    const QStringList &inputKeys() const { return m_keys; }
    bool hasNumber(const QString &key) const { return m_numbers.count(key) != 0; }
    bool hasVector(const QString &key) const { return m_vectors.count(key) != 0; }
    bool hasColor(const QString &key) const { return m_colors.count(key) != 0; }

    QImage image(const QString &key) const;
    double number(const QString &key, double otherwise = 0) const;
    std::vector<double> vector(const QString &key) const;
    QColor color(const QString &key, const QColor &otherwise) const;

    // The filtered "inputImage" in premultiplied ARGB32, over the filter's extent: the input's
    // size grown by outputMargin() on every side. Null without an input image, and when the
    // run on the calling thread was asked to stop (RowWork). Generators (names ending in
    // "Generator") need no input image: they answer the square (0, 0) to (generatorSide,
    // generatorSide) of their plane.
    QImage outputImage() const;
    // How far the output reaches beyond the input on every side, in pixels: the blur's
    // spread for the filters that blur colour outwards (Gaussian blur, bloom, height field),
    // 0 for the rest.
    int outputMargin() const;
    static constexpr int generatorSide = 300;

private:
    explicit ImageFilter(QString name) : m_name(std::move(name)) {}

    void noteKey(const QString &key);

    QString m_name;
    QStringList m_keys;
    std::map<QString, QImage> m_images;
    std::map<QString, double> m_numbers;
    std::map<QString, std::vector<double>> m_vectors;
    std::map<QString, QColor> m_colors;
};
