// A named list of named colours, as the colour panel offers them, and its file: the
// platform's archived form of a colour list ("clr"), a typedstream whose layout
// docs/archive-format.md gives (colours of the platform's classes, or of our own classes for
// the kinds the platform has no public layout for). Lists in our earlier layout read too.
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/archive_result.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

struct ColorList {
    QString name;
    std::vector<std::pair<QString, Color>> colors;

    bool contains(const QString &colorName) const;
    // Adds the colour under the name unless the name is taken; answers whether it was added.
    bool add(const QString &colorName, const Color &color);
};

// The archived bytes of the list's colours; empty when a colour cannot be archived.
QByteArray colorListData(const ColorList &list);
// Reads archived colours in either layout; an error saying why when the data is no colour
// list or is damaged anywhere (never a part of a list). Colours of kinds the reader does not
// know are left out, with a note.
ArchiveResult<ColorList> colorListWithData(const QByteArray &data, const QString &name);
