// The SVG importer's entry points: the bytes of an SVG file become an XML document
// (svg_xml_loader.h), and the document becomes the import property list (svg_object_info.h)
// from which a VekDocument makes drawing objects. Nothing persists between imports; input
// that cannot be read gives no result, never an exception.
#pragma once

#include "svg/svg_import_limits.h"
#include "svg/svg_object_info.h"
#include "svg/svg_xml_loader.h"

#include <optional>


// The import property list of the document; nothing without a document or root element.
// A file beyond the import's bounds gives a list with no objects and the reason in
// `refusal`; running out of memory does too.
// `filePath` (may be empty) resolves relative image references.
std::optional<SvgImportPropertyList> GetPropertyListFromXMLDocument(xmlDoc *document, const QString &filePath,
                                                                   const SvgImportLimits &limits = {});

// The refusal of an import that ran out of memory.
inline constexpr char SvgOutOfMemoryMessage[] = "There is not enough memory to import the file.";

// Both steps on the bytes of a file.
std::optional<SvgImportPropertyList> svgPropertyListFromData(const QByteArray &data, const QString &filePath,
                                                             const SvgImportLimits &limits = {});
