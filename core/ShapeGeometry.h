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
