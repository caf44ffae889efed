// Geometry of the map view in view pixels (x right, y down, origin at the
// client area's top-left corner): screen and texture-coordinate rectangles,
// the rotated outline of an object's marker, the map square's placement, and
// the tests that decide whether a marker or a label can touch the visible
// area. No Windows API, so it also builds natively under the sanitizers.
#ifndef MAPEDITOR_VIEWGEOMETRY_H
#define MAPEDITOR_VIEWGEOMETRY_H

// Screen rectangle in view pixels.
struct ScreenRect
{
    int left, top, right, bottom;
};

// Texture-coordinate rectangle: u, v of the top-left and bottom-right corners.
struct TexCoordRect
{
    float u0, v0, u1, v1;
};

// One corner of a marker outline (z is carried but not used).
struct CornerPoint
{
    float x, y, z;
    // Turns the point about the origin; a positive angle (radians) turns it
    // clockwise on the screen, whose y axis points down.
    void RotatePoint(float angle);
};

// Half the side of an object's marker square, and the farthest any of its
// points can lie from the marker's centre at any rotation (8 * sqrt(2)).
const float kMarkerHalfSide = 8.0f;
const float kMarkerReach = 11.3137085f;

// Degrees to radians as a 32-bit float (bits 0x3C8EFA35).
const float kRadiansPerDegree = 0.017453292f;

// The four corners of a marker, top-left, top-right, bottom-left,
// bottom-right before the turn: the 16 x 16 square about the origin, turned
// by `rotation` degrees and moved to the centre (centreX, centreY).
void MarkerOutline(short rotation, float centreX, float centreY, CornerPoint corners[4]);

// The map square: its top-left corner at (-scrollX, -scrollY) truncated
// toward zero to whole pixels, its side viewScale. Scroll values far beyond
// what an int holds (and infinities) are clamped to the int range instead of
// being converted, so the square simply lies far outside the view. False
// (nothing to draw) when a scroll value is not a number.
bool MapSquareRect(float scrollX, float scrollY, int viewScale, ScreenRect* rect);

// The visible area, in pixels: [left, right) x [top, bottom).
struct ViewArea
{
    float left, top, right, bottom;
};

// A rectangle of view pixels, [left, right) x [top, bottom), that holds every
// pixel one draw can change. A box of a position that is not a finite
// number has NaN edges and overlaps nothing.
struct PixelBox
{
    double left, top, right, bottom;
};

// Whether the box and the area share a pixel.
bool BoxOverlaps(const ViewArea& area, const PixelBox& box);

// The pixels the marker centred at (centreX, centreY) can cover at any
// rotation, with a pixel of rounding on every side.
PixelBox MarkerBox(float centreX, float centreY);

// The pixels a label drawn centred on (x, y) can cover; the arguments are
// those of LabelMayShow below. A scale that is not a finite number above 0
// gives a box over the whole plane.
PixelBox LabelBox(float x, float y, long textWidth, long textHeight, float textScale);

// Whether the marker centred at (centreX, centreY) can cover any pixel of
// the area. Allows a pixel of rounding on every side, so a marker is only
// ever reported outside when no rasteriser could draw any of it inside. A
// centre that is not a finite number is outside.
bool MarkerMayShow(const ViewArea& area, float centreX, float centreY);

// Whether a label drawn centred on (x, y) can cover any pixel of the area.
// textWidth and textHeight are the text's measured size in texels of its
// font; the font draws each texel at 1 / textScale pixels, starts at the
// position less the integer halves of the measured size, and puts each
// glyph half a pixel up and left. Two pixels of slack on every side keep the
// test conservative. A position that is not a finite number is outside; a
// scale that is not a finite number above 0 counts as showing (the label is
// then left to draw).
bool LabelMayShow(const ViewArea& area, float x, float y, long textWidth, long textHeight,
                  float textScale);

#endif
