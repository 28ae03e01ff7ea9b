// Spray strokes: a path drawn as a cloud of tiny dots scattered around it, like an airbrush.
//
// Dots are filled into the current graphics context. The random numbers come from the C
// library's random(), which the program never seeds, so the same sequence of drawing calls
// draws the same dots in every run (tests seed it with srandom()).
#pragma once

#include "toolkit/path_measure.h"

class Color;

// A random whole number in 0 .. m - 1 (as a float), m being n rounded to the nearest whole
// number; 0 when m is 0.
float RandomWithin(float n);

// Fills one dot of diameter 1.25 near (x, y). Kind 1 scatters it up to about t around the
// point in a random direction; other kinds over the square from (x - t/2, y - t/2) onwards.
void drawSprayPoint(int kind, float t, float x, float y);

// Sets the colour and walks the segment from (x0, y0) towards (x1, y1) unit by unit,
// `passes` times, dropping a dot around every step; the end point itself gets none.
void spray(int kind, const Color &color, int passes, float t, float x0, float y0, float x1, float y1);

// Sprays a curve as straight pieces: about one piece per 3·t of length for lines up to 8
// thick, one per 16 for thicker lines; a curve up to 1.5·t long sprays its control legs.
void sprayCurve(int kind, const Color &color, int passes, float t, const BezierCurve &curve);
