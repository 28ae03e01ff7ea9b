// The style dictionary of the predecessor program's documents ("qomt" files) applied to a
// drawing object that its importer has just made.
#pragma once

#include "platform/foundation/property_list.h"

class VekObject;

// Maps the predecessor's line, stroke, fill, gradient, rotation, mirror and skew attributes
// onto a fresh object (one without a document, so nothing is registered for undo or
// posted). Colours and the "skew" value are the predecessor's archived data; data that does
// not read leaves the attribute as it was. A value that is not a dictionary changes nothing.
void setQomtProperties(VekObject &object, const PropertyList &properties);
