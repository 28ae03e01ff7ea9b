// The SVG importer's entry points: the bytes of an SVG file become an XML document
// (svg_xml_loader.h), and the document becomes the import property list (svg_object_info.h)
// from which a VekDocument makes drawing objects. Nothing persists between imports; input
// that cannot be read gives no result, never an exception.
#pragma once

#include "svg/svg_object_info.h"
#include "svg/svg_xml_loader.h"

#include <optional>

// Bounds of one walk: elements visited (copies made by `use` included) and nesting depth.
inline constexpr int SvgMaximumElements = 2000000;
inline constexpr int SvgMaximumDepth = 512;

// The import property list of the document; nothing without a document or root element.
// `filePath` (may be empty) resolves relative image references.
std::optional<SvgImportPropertyList> GetPropertyListFromXMLDocument(xmlDoc *document, const QString &filePath);

// Both steps on the bytes of a file.
std::optional<SvgImportPropertyList> svgPropertyListFromData(const QByteArray &data, const QString &filePath);
