// What a drawing object's fill does with its gradient model: making the model from the stops
// read from a dictionary, and drawing the gradient clipped to a path.
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/geometry/bezier_path.h"

#include <memory>

class VekGradientView;
class VekObject;

// A model of the shared strip size for the object, laid out from the stop shares and given
// the archived colours (either may be absent: the model then keeps its default for it).
std::shared_ptr<VekGradientView> makeGradientModel(const std::shared_ptr<VekObject> &object,
                                                   const PropertyList &proportions, const PropertyList &colors);

// Draws the gradient of `type` into the current graphics context, clipped to the path (in
// its winding rule), over the path's bounds at the opacity `fillAlpha`. Nothing when the
// model renders nothing (too few stops, a size below 1).
void drawGradientFill(const VekGradientView &model, const BezierPath &path, int type, int flip, float rotate,
                      Point center, bool cmyk, float fillAlpha);
