// Colour lists and their archived form.
#include "platform/color/color_list.h"

#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/unarchiver.h"

#include <algorithm>

bool ColorList::contains(const QString &colorName) const
{
    return std::any_of(colors.begin(), colors.end(), [&](const auto &entry) { return entry.first == colorName; });
}

bool ColorList::add(const QString &colorName, const Color &color)
{
    if (contains(colorName))
        return false;
    colors.emplace_back(colorName, color);
    return true;
}

QByteArray colorListData(const ColorList &list)
{
    Archiver out;
    out.encodeInt(qint64(list.colors.size()));
    for (const auto &[name, color] : list.colors) {
        out.encodeStringObject(name);
        out.encodeObject(color);
    }
    return out.failed() ? QByteArray() : out.archivedData();
}

std::optional<ColorList> colorListWithData(const QByteArray &data, const QString &name)
{
    Unarchiver in(data);
    qint64 count = 0;
    if (!in.decodeHeader() || !in.decodeInt(count) || count < 0 || count > in.remainingBytes())
        return std::nullopt;
    ColorList list{name, {}};
    for (qint64 i = 0; i < count; ++i) {
        std::any colorName, color;
        if (!in.decodeObject(colorName) || !in.decodeObject(color))
            return std::nullopt;
        const auto text = propertyListFromArchivedObject(colorName);
        if (const Color *value = std::any_cast<Color>(&color); value && text && text->isString())
            list.colors.emplace_back(text->stringValue(), *value);
    }
    return list;
}
