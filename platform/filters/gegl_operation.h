// One GEGL operation run over an image, for the filters the engine has an operation for.
#pragma once

#include <QImage>

#include <utility>
#include <vector>

// The image through the operation with numeric properties (each converted to the
// property's own type), at its own size, in premultiplied ARGB32. `reach` is how far from a
// pixel the operation reads (its radius; the iterations of the noise reduction). The engine
// starts on the first call, on the calling thread (the filters' worker, never the window's).
// The image is worked in tiles, each read with its reach round it, so the engine's copies
// never hold the whole picture, and a stop asked of the calling thread's run (RowWork)
// takes effect after the tile under way.
//
// The engine works in linear light: it decodes the stored sRGB values first. AsStored
// hands it the stored values as if they were linear, so that its operations do their
// arithmetic on the values themselves, as our own kernels do (the tests compare the two
// kernels that way).
enum class GeglValues { Encoded, AsStored };
QImage throughGegl(const QImage &input, const char *operation, std::vector<std::pair<const char *, double>> properties,
                   int reach, GeglValues values = GeglValues::Encoded);

// Whether the engine has started in this process (the window tests check that it starts
// only for a filter that needs it, and off the window's thread).
bool geglStarted();
bool geglStartedOnThisThread();
