// `image` elements of the SVG importer, and the safe loading of referenced bytes (pictures
// and colour profiles): base64 data URLs, or regular local files named absolutely or
// relative to the SVG file's folder. Nothing is ever fetched from the network.
#pragma once

#include "svg/svg_object_info.h"
#include "svg/svg_xml_loader.h"

#include <QByteArray>
#include <QString>

// The largest picture or profile the importer reads.
inline constexpr qint64 SvgMaximumReferencedSize = 64 * 1024 * 1024;

struct SvgReferencedData {
    QByteArray bytes;
    QString mediaType;   // lower case, e.g. "image/png"
};

// The bytes an href names; nothing when they cannot be read safely.
std::optional<SvgReferencedData> svgReferencedData(const QString &href, const SvgGraphicsState &state);

void imageElement(const SvgAttributes &attributes, const SvgGraphicsState &state, const QString &tagName, SvgObjectInfo &info);
