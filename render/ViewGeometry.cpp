// Marker outlines, the map square's placement and the visibility tests of the
// map view. No Windows API.
#include "render/ViewGeometry.h"

#include <limits.h>
#include <math.h>

namespace
{
// Rounding allowance of the marker test, in pixels.
const float kMarkerSlack = 1.0f;
// Allowance of the label test, in pixels.
const float kLabelSlack = 2.0f;

// A whole number of pixels as an int; values outside the int range become
// its nearest end. Converting such a value directly would be undefined.
int ClampToInt(double value)
{
    if (value <= (double)INT_MIN)
        return INT_MIN;
    if (value >= (double)INT_MAX)
        return INT_MAX;
    return (int)value;
}
} // namespace

void CornerPoint::RotatePoint(float angle)
{
    const float c = cosf(angle);
    const float s = sinf(angle);
    const float turnedX = x * c - y * s;
    const float turnedY = x * s + y * c;
    x = turnedX;
    y = turnedY;
}

void MarkerOutline(short rotation, float centreX, float centreY, CornerPoint corners[4])
{
    const CornerPoint square[4] = {{-kMarkerHalfSide, -kMarkerHalfSide, 0.0f},
                                   {kMarkerHalfSide, -kMarkerHalfSide, 0.0f},
                                   {-kMarkerHalfSide, kMarkerHalfSide, 0.0f},
                                   {kMarkerHalfSide, kMarkerHalfSide, 0.0f}};
    // The product is rounded to a 32-bit float before the turn.
    const float angle = (float)rotation * kRadiansPerDegree;
    for (int i = 0; i < 4; ++i)
    {
        corners[i] = square[i];
        corners[i].RotatePoint(angle);
        corners[i].x += centreX;
        corners[i].y += centreY;
    }
}

bool MapSquareRect(float scrollX, float scrollY, int viewScale, ScreenRect* rect)
{
    if (isnan(scrollX) || isnan(scrollY))
        return false;
    // trunc(-scroll) is what converting -scroll to int gives whenever that
    // conversion is defined; the sum is formed in double so that it cannot
    // overflow either.
    rect->left = ClampToInt(trunc(-(double)scrollX));
    rect->top = ClampToInt(trunc(-(double)scrollY));
    rect->right = ClampToInt((double)rect->left + viewScale);
    rect->bottom = ClampToInt((double)rect->top + viewScale);
    return true;
}

bool BoxOverlaps(const ViewArea& area, const PixelBox& box)
{
    return box.right > area.left && box.left < area.right && box.bottom > area.top &&
           box.top < area.bottom;
}

PixelBox MarkerBox(float centreX, float centreY)
{
    const double reach = kMarkerReach + kMarkerSlack;
    return {centreX - reach, centreY - reach, centreX + reach, centreY + reach};
}

PixelBox LabelBox(float x, float y, long textWidth, long textHeight, float textScale)
{
    if (!isfinite(x) || !isfinite(y))
        return {NAN, NAN, NAN, NAN};
    if (!isfinite(textScale) || textScale <= 0.0f)
        return {-INFINITY, -INFINITY, INFINITY, INFINITY};
    // Each texel covers 1 / textScale pixels; rows advance by their texel
    // height, so the larger of 1 and 1 / textScale bounds both directions.
    // The measured size is truncated: the text may be up to a texel larger.
    const double perTexel = textScale < 1.0f ? 1.0 / textScale : 1.0;
    const double left = (double)x - (double)(textWidth / 2) - 0.5;
    const double top = (double)y - (double)(textHeight / 2) - 0.5;
    const double right = left + ((double)textWidth + 1.0) * perTexel;
    const double bottom = top + ((double)textHeight + 1.0) * perTexel;
    return {left - kLabelSlack, top - kLabelSlack, right + kLabelSlack, bottom + kLabelSlack};
}

bool MarkerMayShow(const ViewArea& area, float centreX, float centreY)
{
    if (!isfinite(centreX) || !isfinite(centreY))
        return false;
    return BoxOverlaps(area, MarkerBox(centreX, centreY));
}

bool LabelMayShow(const ViewArea& area, float x, float y, long textWidth, long textHeight,
                  float textScale)
{
    return BoxOverlaps(area, LabelBox(x, y, textWidth, textHeight, textScale));
}
