#pragma once
// The arithmetic of the drawing tools' arrow heads: points on an ellipse by angle and the
// direction of a shaft.
#include "core/Geometry.h"

// The point at angle degrees on the ellipse of radii (rx, ry) around (cx, cy), each
// coordinate rounded to nearest with halves to even; y grows downwards, so positive angles
// turn clockwise on screen.
TPoint PointAtAngle(int rx, int ry, int cx, int cy, int angle);
// The direction from start to end in whole degrees 0..360, measured from the downward y
// axis towards +x (atan2 of dx over dy), rounded halves to even; 0 for equal points.
int ArrowAngle(TPoint start, TPoint end);
// The two wing points of the head at the end of a shaft of direction t with head size r:
// at angles 245 - t and 295 - t around end.
void ArrowEndWings(TPoint end, int t, int r, TPoint& wing1, TPoint& wing2);
// The two wing points of the head at the start of a double arrow: 115 - t and 65 - t.
void ArrowStartWings(TPoint start, int t, int r, TPoint& wing1, TPoint& wing2);

// Where a shape's shadow is composed and put: the temporary bitmap's size, the shape's two
// points inside it (corners of a box, or the ends of a line or shaft) and the place in the
// image at which the bitmap is blended. The tool codes are the drawing tools': 9 rectangle,
// 10 rounded rectangle, 11 ellipse, 12 line, 13..18 arrows.
struct TShadowLayout {
    TSize Size;
    TPoint From;
    TPoint To;
    TPoint Origin;
};
// The layout for tool from (x1, y1) to (x2, y2) with the pen width; a width below 1 counts as
// 1. Arrows get a margin of Trunc(1.5 w) around the shaft and land exactly w right and down;
// the other shapes land 2 * (w div 2) right and down.
TShadowLayout ShadowLayout(int tool, TPoint p1, TPoint p2, int penWidth);

// How the text tool's layer is composed for a layer of width x height: on an opaque fill or
// a transparent ground, with or without a frame, and the rectangle the text is laid out in.
struct TTextLayerLayout {
    bool Opaque = false;
    bool Frame = false;
    TRect FrameRect;
    TRect TextRect;
};
// fillStyle: 0 just line, 1 line and fill, 2 just fill; usesFrame: the "Uses Frame" check.
TTextLayerLayout TextLayerLayout(int fillStyle, bool usesFrame, int penWidth, int width, int height);
