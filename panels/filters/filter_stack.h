// The filter stack: what the filter panel records of every filter it applied, so that the
// same filters can be saved and replayed over another picture.
//
// An entry is a dictionary of one key, the filter's name, whose value holds the filter's
// parameters: numbers by input key, the centre in its text form ("{120, 80}"); images, the
// light vectors and colours are left out, except that the monochrome filter keeps its tint's
// brightness under "inputBrightness". A stack is an array of entries, oldest first.
#pragma once

#include "platform/filters/image_filter.h"
#include "platform/foundation/property_list.h"

// The entry of a filter that ran.
PropertyList filterStackEntry(const ImageFilter &filter);
// The filter name of an entry, and its parameters; empty and absent for anything else.
QString filterNameOfEntry(const PropertyList &entry);
PropertyList parametersOfEntry(const PropertyList &entry);

// The outline of a stack: "2 Filters" for the stack, "1 parameter" for a parameter
// dictionary ("%d Filter%@", "%d parameter%@" with "s" above one).
QString filterCountTitle(qsizetype count);
QString parameterCountTitle(qsizetype count);
