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

namespace {

// The version the platform writes first.
constexpr qint64 ListVersion = 1;

// A colour's name: a string object, or a C string in UTF-8.
bool decodeColorName(Unarchiver &in, QString &name)
{
    if (const TypeEncoding *type = in.peekType(); type && type->code == '*') {
        QByteArray utf8;
        if (!in.decodeCString(utf8))
            return false;
        name = QString::fromUtf8(utf8);
        return true;
    }
    std::any object;
    if (!in.decodeObject(object))
        return false;
    const auto text = propertyListFromArchivedObject(object);
    if (!text || !text->isString())
        return in.fail(QStringLiteral("a colour's name is not a string"));
    name = text->stringValue();
    return true;
}

// Keeps a colour of a kind the reader knows; others (unknown classes) are left out.
void keepColor(ColorList &list, const QString &name, const std::any &color)
{
    if (const Color *value = std::any_cast<Color>(&color))
        list.colors.emplace_back(name, *value);
}

bool countFits(Unarchiver &in, qint64 count)
{
    // Every entry takes at least two bytes, so a larger count is damage, not a long list.
    return (count >= 0 && count <= in.remainingBytes()) || in.fail(QStringLiteral("the number of colours is damaged"));
}

} // namespace

QByteArray colorListData(const ColorList &list)
{
    Archiver out;
    out.encodeInt(ListVersion);
    out.beginGroup("@i");
    out.encodeObject(std::any());
    out.encodeInt(qint64(list.colors.size()));
    out.endGroup();
    for (const auto &[name, color] : list.colors) {
        out.beginGroup("@@");
        out.encodeObject(color);
        out.encodeStringObject(name);
        out.endGroup();
    }
    return out.failed() ? QByteArray() : out.archivedData();
}

ArchiveResult<ColorList> colorListWithData(const QByteArray &data, const QString &name)
{
    Unarchiver in(data);
    ColorList list{name, {}};
    ArchiveResult<ColorList> result;
    const auto read = [&]() -> bool {
        qint64 first = 0;
        if (!in.decodeHeader() || !in.decodeInt(first))
            return false;
        if (in.atEnd())   // our earlier layout with no colours
            return first == 0 || in.fail(QStringLiteral("the colour list ends after its count"));
        std::any object;
        if (!in.decodeObject(object))
            return false;
        if (!object.has_value()) {
            // The platform's layout: the version, nil and the count, then (colour, name) pairs.
            qint64 count = 0;
            if (!in.decodeInt(count) || !countFits(in, count))
                return false;
            for (qint64 i = 0; i < count; ++i) {
                std::any color;
                QString colorName;
                if (!in.decodeObject(color) || !decodeColorName(in, colorName))
                    return false;
                keepColor(list, colorName, color);
            }
        } else {
            // Our earlier layout: the count, then (name, colour) pairs; the first name is read.
            if (!countFits(in, first))
                return false;
            const auto firstName = propertyListFromArchivedObject(object);
            if (!firstName || !firstName->isString())
                return in.fail(QStringLiteral("a colour's name is not a string"));
            QString colorName = firstName->stringValue();
            for (qint64 i = 0; i < first; ++i) {
                std::any color;
                if ((i > 0 && !decodeColorName(in, colorName)) || !in.decodeObject(color))
                    return false;
                keepColor(list, colorName, color);
            }
        }
        return in.atEnd() || in.fail(QStringLiteral("the colour list has bytes after its last colour"));
    };
    if (read())
        result.value = std::move(list);
    else
        result.error = in.error().isEmpty() ? QStringLiteral("the data is no colour list") : in.error();
    result.notes = in.notes();
    return result;
}
