// The fixed outlines of the shape library as outline text, and the reader of that text.
//
// Outline text lists elements separated by ";": "M x,y" move-to, "L x,y" line-to,
// "C x1,y1 / x2,y2 / x,y" curve-to (control point 1, control point 2, end point), "Z"
// close-path. Keeping the coordinates as text makes them easy to compare with drawings.
#pragma once

#include "platform/geometry/bezier_path.h"

// Builds the path an outline text describes; malformed elements are skipped.
BezierPath pathFromOutline(const char *outline);

namespace ShapeOutlines {
extern const char *const peke;
extern const char *const heikoshihenkei;
extern const char *const hishigata;
extern const char *const daikei;
extern const char *const card;
extern const char *const wappen;
extern const char *const fcTemplateLoop;
extern const char *const fcTemplateDoc;
extern const char *const fcTemplateMemory;
extern const char *const fcTemplateTape;
extern const char *const fcTemplateDisplay;
extern const char *const fcTemplateTerminal;
extern const char *const cross;
extern const char *const prism3;
extern const char *const cube;
extern const char *const axis3;
extern const char *const axis4;
extern const char *const ensui;
extern const char *const enchu;
extern const char *const asteroid;
extern const char *const arrowHead;
extern const char *const lenzT;
extern const char *const lenzO;
extern const char *const sinCurve;
extern const char *const heart;
extern const char *const bottomCurve;
extern const char *const balloon;
extern const char *const cloud;
extern const char *const flowerFix;
extern const char *const serifu;
extern const char *const serifu2;
extern const char *const xmastree;
extern const char *const star8fix;
extern const char *const simpleDocIcon;
extern const char *const arrow;
extern const char *const house;
extern const char *const airplane;
extern const char *const yacht;
extern const char *const anchor;
extern const char *const folder;
extern const char *const hardDisk;
} // namespace ShapeOutlines
