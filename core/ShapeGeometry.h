#pragma once
// The arithmetic of the drawing tools' arrow heads: points on an ellipse by angle and the
// direction of a shaft.
#include "core/Geometry.h"
#include "core/ImgViewGeometry.h"

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
// 1. Arrows get a margin of ArrowShadowMargin(w) around the shaft, wide enough for their heads,
// and land exactly w right and down; the other shapes land 2 * (w div 2) right and down.
TShadowLayout ShadowLayout(int tool, TPoint p1, TPoint p2, int penWidth);
// The room an arrow's heads (size w + 10, pen w) need around the shaft's bounding box.
constexpr int ArrowShadowMargin(int penWidth) {
    return 2 * (penWidth < 1 ? 1 : penWidth) + 10;
}

// The box of a circle or rectangle head around p for head size r, as the corners handed to
// the platform's Ellipse and Rectangle: (x - r/2 + 1, y - r/2 + 1) to (x + r/2, y + r/2).
TRect HeadBox(TPoint p, int headSize);

// The image point under view point (x, y): each coordinate (v - offset) / scale cut toward
// zero, so points left of or above the image give negative coordinates (0 just outside).
TPoint ToolImagePoint(const TViewMapping& mapping, int x, int y);

// The rectangle dragged from s to e, ordered and cut to an image of width x height. It may
// come out empty (IsEmpty) when the drag lies wholly outside the image.
TRect DraggedRect(TPoint s, TPoint e, int width, int height);

// The part of the image a shape preview from s to last may have touched: their bounding box
// grown by margin on each side and cut to width x height; empty when nothing remains.
TRect PreviewRect(TPoint s, TPoint last, int margin, int width, int height);
// The margin of a preview with the pen width: arrows reach 3w + 10 past their shaft.
int PreviewMargin(int tool, int penWidth);

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
