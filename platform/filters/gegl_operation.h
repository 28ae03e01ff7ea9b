// One GEGL operation run over an image, for the filters the engine has an operation for.
#pragma once

#include <QImage>

#include <utility>
#include <vector>

// The image through the operation with numeric properties (each converted to the
// property's own type), at its own size, in premultiplied ARGB32.
QImage throughGegl(const QImage &input, const char *operation, std::vector<std::pair<const char *, double>> properties);
