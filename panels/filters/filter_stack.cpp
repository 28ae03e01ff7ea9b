#include "panels/filters/filter_stack.h"

#include "platform/foundation/localized_strings.h"
#include "platform/geometry/geometry.h"

#include <QDebug>

#include <algorithm>

namespace {

// Inputs that are pictures or fixed by the filter type, never parameters the user set.
bool isLeftOut(const QString &key)
{
    static const QStringList keys = {QStringLiteral("inputImage"), QStringLiteral("inputBackgroundImage"),
                                     QStringLiteral("inputShadingImage"), QStringLiteral("inputLightPosition"),
                                     QStringLiteral("inputLightPointsAt")};
    return keys.contains(key);
}

QString countTitle(const char *format, qsizetype count)
{
    return localizedString(QString::fromLatin1(format))
        .arg(count)
        .arg(count > 1 ? QStringLiteral("s") : QString());
}

} // namespace

PropertyList filterStackEntry(const ImageFilter &filter)
{
    const QString center = QStringLiteral("inputCenter"), color = QStringLiteral("inputColor");
    PropertyList parameters = PropertyList::dictionary();
    for (const QString &key : filter.inputKeys()) {
        if (isLeftOut(key))
            continue;
        if (key == color) {
            // The monochrome tint is grey: its brightness is what the slider set. The panel's
            // filters hold that value as a number too, exact where the colour keeps 16 bits.
            if (filter.name() == QLatin1String("CIColorMonochrome") && !filter.hasNumber(QStringLiteral("inputBrightness"))) {
                const QColor tint = filter.color(color, Qt::black).toRgb();
                parameters.insert(QStringLiteral("inputBrightness"),
                                  PropertyList::fromFloat(float(std::max({tint.redF(), tint.greenF(), tint.blueF()}))));
            }
        } else if (filter.hasNumber(key)) {
            parameters.insert(key, PropertyList::fromFloat(float(filter.number(key))));
        } else if (const std::vector<double> v = filter.vector(key); key == center && v.size() >= 2) {
            parameters.insert(key, PropertyList(stringFromPoint(Point(float(v.at(0)), float(v.at(1))))));
        } else if (!filter.hasColor(key)) {
            qWarning("need to save %s for key %s", filter.hasVector(key) ? "vector" : "image", qUtf8Printable(key));
        }
    }
    PropertyList entry = PropertyList::dictionary();
    entry.insert(filter.name(), parameters);
    return entry;
}

QString filterNameOfEntry(const PropertyList &entry)
{
    return entry.isDictionary() && entry.count() == 1 ? entry.keys().first() : QString();
}

PropertyList parametersOfEntry(const PropertyList &entry)
{
    const QString name = filterNameOfEntry(entry);
    return name.isEmpty() ? PropertyList() : entry.value(name);
}

QString filterCountTitle(qsizetype count) { return countTitle("%1 Filter%2", count); }
QString parameterCountTitle(qsizetype count) { return countTitle("%1 parameter%2", count); }
