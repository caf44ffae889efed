// The brush's outline in the map view: the circle of the brush's radius
// under the pointer, drawn over everything as two closed line strips (a dark
// one with a light one inside it, like the rubber band) so that it shows on
// any map colour. Its pixels stay within KeptFrame's box of the outline
// (OutlineBox: the radii and two pixels), so a frame drawn in part clears it.
#include "render/MapView.h"

#include <math.h>

#include <algorithm>
#include <vector>

#include "render/PlainLines.h"
#include "render/Renderer.h"

namespace
{
const D3DCOLOR kOuterColour = 0xFF000000; // opaque black
const D3DCOLOR kInnerColour = 0xFFFFFFFF; // opaque white
// Segments about four pixels long, at least enough for a round look.
const int kFewestSegments = 16;
const int kMostSegments = 512;
const double kPi = 3.14159265358979323846;

} // namespace

void MapView::DrawBrushOutline(Renderer& renderer, float x, float y, float radiusX,
                               float radiusY) const
{
    IDirect3DDevice8* device = renderer.Device();
    if (!device || !(radiusX > 0.0f) || !(radiusY > 0.0f) || !isfinite(x) || !isfinite(y))
        return;
    const PlainLineStates states(device);
    const double perimeter = 2.0 * kPi * std::max(radiusX, radiusY);
    const int segments = std::min(kMostSegments, std::max(kFewestSegments, (int)(perimeter / 4)));
    // Through pixel centres, the light line one pixel inside the dark one.
    const float centreX = floorf(x) + 0.5f, centreY = floorf(y) + 0.5f;
    const struct
    {
        float inset;
        D3DCOLOR colour;
    } kLines[] = {{0.0f, kOuterColour}, {1.0f, kInnerColour}};
    std::vector<LineVertex> strip((size_t)segments + 1);
    for (const auto& line : kLines)
    {
        const double rx = std::max(0.0f, radiusX - line.inset);
        const double ry = std::max(0.0f, radiusY - line.inset);
        for (int k = 0; k <= segments; ++k)
        {
            const double angle = 2.0 * kPi * (k % segments) / segments;
            strip[(size_t)k] = {(float)(centreX + rx * cos(angle)),
                                (float)(centreY + ry * sin(angle)), 0.0f, 1.0f, line.colour};
        }
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, (UINT)segments, strip.data(), sizeof(LineVertex));
    }
}
