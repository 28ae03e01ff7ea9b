// The keys of the table's records and dictionary form, and record helpers, shared by the
// table's files.
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/text/rtf.h"

#include <QString>

inline const QString OriginXKey = QStringLiteral("originX");
inline const QString WidthKey = QStringLiteral("width");
inline const QString LineLKey = QStringLiteral("lineL");
inline const QString LineRKey = QStringLiteral("lineR");
inline const QString OriginYKey = QStringLiteral("originY");
inline const QString HeightKey = QStringLiteral("height");
inline const QString LineTKey = QStringLiteral("lineT");
inline const QString LineBKey = QStringLiteral("lineB");
inline const QString CellTextKey = QStringLiteral("text");
inline const QString CellColorKey = QStringLiteral("color");
inline const QString CellAlignKey = QStringLiteral("cellAlign");

// A column or row record of an edge and a size.
inline PropertyList gridRecord(const QString &originKey, float origin, const QString &sizeKey, float size)
{
    PropertyList record = PropertyList::dictionary();
    record.insert(originKey, PropertyList::fromFloat(origin));
    record.insert(sizeKey, PropertyList::fromFloat(size));
    return record;
}

// A copy of the record with the key set to the number (floats) or integer.
inline PropertyList withFloat(PropertyList record, const QString &key, float value)
{
    if (!record.isDictionary())
        record = PropertyList::dictionary();
    record.insert(key, PropertyList::fromFloat(value));
    return record;
}

// The text a cell record holds (read from its RTF data), or absent.
inline std::optional<AttributedString> textOfCellRecord(const PropertyList &record)
{
    const PropertyList text = record.value(CellTextKey);
    if (!text.isData())
        return std::nullopt;
    return attributedStringWithRTF(text.dataValue());
}
