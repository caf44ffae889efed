// Drawing of the map view: texture binding, the two textured quads (a
// screen rectangle and a marker outline), the map square shaded by the
// heightmap, and the rubber band of a selection in progress (the objects
// in batches: MapViewBatches.cpp). Every vertex is a
// pre-transformed vertex in view pixels, sent from memory; each frame
// rebuilds all of them from the document.
#include "render/MapView.h"

#include <math.h>

#include "document/MapDocument.h"
#include "render/PlainLines.h"
#include "render/Renderer.h"
#include "render/TexturedVertex.h"
#include "render/ViewGeometry.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"

namespace
{
static_assert(kTexturedVertexFormat == (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX2),
              "the view's vertex format");

// The rubber band's two lines.
const D3DCOLOR kBandOuterColour = 0xFF000000; // opaque black
const D3DCOLOR kBandInnerColour = 0xFFFFFF00; // opaque yellow

// Both maps are stretched over the whole square.
const TexCoordRect kWholeTexture = {0.0f, 0.0f, 1.0f, 1.0f};

// The map asks for this setup before it draws, forced every frame.
const int kMapPreset = 2;
const int kDefaultPreset = 0;

void DrawQuad(IDirect3DDevice8* device, const TexturedVertex vertices[4])
{
    device->SetVertexShader(kTexturedVertexFormat);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, sizeof(TexturedVertex));
}

} // namespace

int Renderer::BindTexture(TextureRecord* record, DWORD stage)
{
    if (!device_)
        return 1;
    if (record)
    {
        // Every record carries preset 0, which matches currentPreset: this
        // never reaches the device as the table stands.
        textures_.ApplyPreset(record->preset, false);
        device_->SetTexture(stage, record->texture);
    }
    else
    {
        device_->SetTexture(stage, nullptr);
    }
    return 0;
}

int Renderer::BindTextureByIndex(int index, DWORD stage)
{
    // Record() is null for -1, indices out of range and empty slots.
    return BindTexture(textures_.Record(index), stage);
}

void Renderer::DrawTexturedRect(const ScreenRect& rect, int index, const TexCoordRect& set1)
{
    if (!device_)
        return;
    const float left = (float)rect.left;
    const float top = (float)rect.top;
    const float right = (float)rect.right;
    const float bottom = (float)rect.bottom;
    // Set 0 stretches the stage 0 texture over the rectangle once.
    const TexturedVertex vertices[4] = {
        {left, top, 0.0f, 1.0f, kTexturedVertexColour, 0.0f, 0.0f, set1.u0, set1.v0},
        {right, top, 0.0f, 1.0f, kTexturedVertexColour, 1.0f, 0.0f, set1.u1, set1.v0},
        {left, bottom, 0.0f, 1.0f, kTexturedVertexColour, 0.0f, 1.0f, set1.u0, set1.v1},
        {right, bottom, 0.0f, 1.0f, kTexturedVertexColour, 1.0f, 1.0f, set1.u1, set1.v1},
    };
    BindTextureByIndex(index, 0);
    DrawQuad(device_, vertices);
}

void Renderer::DrawTexturedQuad(const CornerPoint corners[4], int index)
{
    if (!device_)
        return;
    TexturedVertex vertices[4];
    QuadVertices(corners, vertices);
    BindTextureByIndex(index, 0);
    DrawQuad(device_, vertices);
}

void MapView::DrawMap(Renderer& renderer, const MapDocument& document) const
{
    if (!renderer.Device())
        return;
    // Stage 0 passes the colormap on, stage 1 multiplies the heightmap in.
    renderer.Textures().ApplyPreset(kMapPreset, true);
    renderer.BindTextureByIndex(document.heightmapTexture, 1);
    // A scroll value that is not a number places the square nowhere.
    ScreenRect square;
    if (MapSquareRect(document.scrollX, document.scrollY, document.viewScale, &square))
        renderer.DrawTexturedRect(square, document.colormapTexture, kWholeTexture);
    // Matches currentPreset, so preset 2 stays in force for the markers and
    // for later frames until the next frame forces it again.
    renderer.Textures().ApplyPreset(kDefaultPreset, false);
}

void MapView::DrawRubberBand(Renderer& renderer, float x0, float y0, float x1, float y1) const
{
    IDirect3DDevice8* device = renderer.Device();
    if (!device)
        return;
    // Whole pixels, drawn through their centres so that each edge is exactly
    // one row or column of pixels: a dark line with a light one inside it,
    // which shows on any map colour.
    const float left = floorf(fminf(x0, x1)) + 0.5f, right = floorf(fmaxf(x0, x1)) + 0.5f;
    const float top = floorf(fminf(y0, y1)) + 0.5f, bottom = floorf(fmaxf(y0, y1)) + 0.5f;
    const PlainLineStates states(device);
    const struct
    {
        float inset;
        D3DCOLOR colour;
    } kLines[] = {{0.0f, kBandOuterColour}, {1.0f, kBandInnerColour}};
    for (const auto& line : kLines)
    {
        const float l = left + line.inset, t = top + line.inset;
        const float r = fmaxf(l, right - line.inset), b = fmaxf(t, bottom - line.inset);
        const LineVertex outline[5] = {{l, t, 0.0f, 1.0f, line.colour},
                                       {r, t, 0.0f, 1.0f, line.colour},
                                       {r, b, 0.0f, 1.0f, line.colour},
                                       {l, b, 0.0f, 1.0f, line.colour},
                                       {l, t, 0.0f, 1.0f, line.colour}};
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, 4, outline, sizeof(LineVertex));
    }
}
