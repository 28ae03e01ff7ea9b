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

    void setImage(const QString &key, const QImage &image) { m_images[key] = image; }
    void setNumber(const QString &key, double value) { m_numbers[key] = value; }
    void setVector(const QString &key, std::vector<double> value) { m_vectors[key] = std::move(value); }
    void setColor(const QString &key, const QColor &color) { m_colors[key] = color; }

    QImage image(const QString &key) const;
    double number(const QString &key, double otherwise = 0) const;
    std::vector<double> vector(const QString &key) const;
    QColor color(const QString &key, const QColor &otherwise) const;

    // The filtered "inputImage", of the same size in premultiplied ARGB32; null without an
    // input image.
    QImage outputImage() const;

private:
    explicit ImageFilter(QString name) : m_name(std::move(name)) {}

    QString m_name;
    std::map<QString, QImage> m_images;
    std::map<QString, double> m_numbers;
    std::map<QString, std::vector<double>> m_vectors;
    std::map<QString, QColor> m_colors;
};
