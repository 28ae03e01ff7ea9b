// A named list of named colours, as the colour panel offers them, and its file: the
// platform's archived form of a colour list ("clr"), a typedstream holding the number of
// colours and then, for each, its name (NSString) and the colour (NSColor, or our own class
// for the kinds docs/archive-format.md lists).
#pragma once

#include "platform/color/color.h"

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
// Reads archived colours; nothing when the data is not a colour list. Colours of kinds the
// reader does not know are left out.
std::optional<ColorList> colorListWithData(const QByteArray &data, const QString &name);
