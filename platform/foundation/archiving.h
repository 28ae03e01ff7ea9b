// The entry points for archiving one value as typedstream data and reading it back, as
// documents, clipboards and object dictionaries store colours, paths and whole
// dictionaries.
//
// Writing answers the data or why there is none (a value no coder writes, such as a
// pattern colour without the image layer). Reading answers the value, or an error when
// the data is no typedstream, is damaged, or holds a root object of another kind; notes
// list what was left out inside containers.
#pragma once

#include "platform/foundation/archive_result.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/property_list.h"

#include <QByteArray>

#include <any>

class BezierPath;
class Color;

ArchiveResult<QByteArray> archivedDataWithRootObject(const std::any &object);
ArchiveResult<QByteArray> archivedDataWithRootObject(const PropertyList &plist);
ArchiveResult<QByteArray> archivedDataWithRootObject(const Color &color);
ArchiveResult<QByteArray> archivedDataWithRootObject(const BezierPath &path);

// The root object as decoded (an empty std::any for a nil root).
ArchiveResult<std::any> unarchiveObjectWithData(const QByteArray &data);
ArchiveResult<PropertyList> unarchivePropertyListWithData(const QByteArray &data);
ArchiveResult<Color> unarchiveColorWithData(const QByteArray &data);
ArchiveResult<BezierPath> unarchiveBezierPathWithData(const QByteArray &data);
// An NSValue of any layout; numbers, points, sizes and rects come back in their memory form.
ArchiveResult<ArchivedValue> unarchiveValueWithData(const QByteArray &data);
