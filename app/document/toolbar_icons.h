// The pictures of the document toolbar's buttons, drawn in code so that they follow the
// palette's text colour.
#pragma once

#include <QIcon>

enum class ToolbarIcon {
    ZoomOut, ZoomIn, PreviousPage, NextPage, AddPage,
    Grid, ControlPoints, ControlLines,
    AlignLeft, AlignCenterX, AlignRight, AlignTop, AlignCenterY, AlignBottom,
    SpaceVertically, SpaceHorizontally,
    ShowColors, Print, Customize,
};

QIcon toolbarIcon(ToolbarIcon icon);
