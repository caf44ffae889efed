// Drawing of the map view: texture binding, the two textured quads (a
// screen rectangle and a marker outline), the map square shaded by the
// heightmap, and the object markers with their labels. Every vertex is a
// pre-transformed TexturedVertex in view pixels, sent from memory four at a
// time; each frame rebuilds all of them from the document.
#include "document/MapDocument.h"
#include "render/Renderer.h"
#include "render/TexturedVertex.h"
#include "render/ViewGeometry.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"

namespace
{
static_assert(kTexturedVertexFormat == (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX2),
              "the view's vertex format");

const D3DCOLOR kVertexColour = 0xFFFFFFFF;
const D3DCOLOR kLabelColour = 0xFFFFFFFF;         // opaque white
const D3DCOLOR kSelectedLabelColour = 0xFFFF0000; // opaque red
// A label is centred this far right of and below its marker's centre.
const float kLabelOffsetX = 8.0f;
const float kLabelOffsetY = 10.0f;
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

// The pixels a draw can change: the viewport (which follows the window's
// client area through WM_SIZE) within the back buffer (the client size at
// device creation). The device clips every draw, pre-transformed ones
// included, to the viewport, and only the back buffer exists to be drawn on.
ViewArea VisibleArea(const Renderer& renderer)
{
    ViewArea area = {0.0f, 0.0f, (float)renderer.clientWidth, (float)renderer.clientHeight};
    D3DVIEWPORT8 viewport;
    if (SUCCEEDED(renderer.device->GetViewport(&viewport)))
    {
        const float left = (float)viewport.X, top = (float)viewport.Y;
        const float right = left + (float)viewport.Width, bottom = top + (float)viewport.Height;
        area.left = left > area.left ? left : area.left;
        area.top = top > area.top ? top : area.top;
        area.right = right < area.right ? right : area.right;
        area.bottom = bottom < area.bottom ? bottom : area.bottom;
    }
    return area;
}

// Whether an object's marker or label can change a visible pixel. `label` is
// null when no label is drawn for it.
bool ObjectMayShow(const ViewArea& area, float centreX, float centreY, const FontEntry* font,
                   const char* label)
{
    if (MarkerMayShow(area, centreX, centreY))
        return true;
    // Print draws nothing with a font that did not load.
    if (!label || !font->ready || !font->font)
        return false;
    SIZE size = {0, 0};
    if (FAILED(font->font->MeasureText(label, &size)))
        return true;
    return LabelMayShow(area, centreX + kLabelOffsetX, centreY + kLabelOffsetY, size.cx, size.cy,
                        font->font->textScale);
}
} // namespace

int Renderer::BindTexture(TextureRecord* record, DWORD stage)
{
    if (!device)
        return 1;
    if (record)
    {
        // Every record carries preset 0, which matches currentPreset: this
        // never reaches the device as the table stands.
        textures.ApplyPreset(record->preset, false);
        device->SetTexture(stage, record->texture);
    }
    else
    {
        device->SetTexture(stage, nullptr);
    }
    return 0;
}

int Renderer::BindTextureByIndex(int index, DWORD stage)
{
    // Record() is null for -1, indices out of range and empty slots.
    return BindTexture(textures.Record(index), stage);
}

void Renderer::DrawTexturedRect(const ScreenRect& rect, int index, const TexCoordRect& set1)
{
    if (!device)
        return;
    const float left = (float)rect.left;
    const float top = (float)rect.top;
    const float right = (float)rect.right;
    const float bottom = (float)rect.bottom;
    // Set 0 stretches the stage 0 texture over the rectangle once.
    const TexturedVertex vertices[4] = {
        {left, top, 0.0f, 1.0f, kVertexColour, 0.0f, 0.0f, set1.u0, set1.v0},
        {right, top, 0.0f, 1.0f, kVertexColour, 1.0f, 0.0f, set1.u1, set1.v0},
        {left, bottom, 0.0f, 1.0f, kVertexColour, 0.0f, 1.0f, set1.u0, set1.v1},
        {right, bottom, 0.0f, 1.0f, kVertexColour, 1.0f, 1.0f, set1.u1, set1.v1},
    };
    BindTextureByIndex(index, 0);
    DrawQuad(device, vertices);
}

void Renderer::DrawTexturedQuad(const CornerPoint corners[4], int index)
{
    if (!device)
        return;
    static const float kU[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    static const float kV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    TexturedVertex vertices[4];
    for (int i = 0; i < 4; ++i)
        vertices[i] = {corners[i].x, corners[i].y, 0.0f, 1.0f, kVertexColour,
                       kU[i],        kV[i],        0.0f, 0.0f};
    BindTextureByIndex(index, 0);
    DrawQuad(device, vertices);
}

void MapDocument::DrawMap()
{
    if (!renderer)
        return;
    // Stage 0 passes the colormap on, stage 1 multiplies the heightmap in.
    renderer->textures.ApplyPreset(kMapPreset, true);
    renderer->BindTextureByIndex(heightmapTexture, 1);
    // A scroll value that is not a number places the square nowhere.
    ScreenRect square;
    if (MapSquareRect(scrollX, scrollY, viewScale, &square))
        renderer->DrawTexturedRect(square, colormapTexture, kWholeTexture);
    // Matches currentPreset, so preset 2 stays in force for the markers and
    // for later frames until the next frame forces it again.
    renderer->textures.ApplyPreset(kDefaultPreset, false);
}

void MapDocument::DrawObjects()
{
    if (!renderer || !renderer->Device())
        return;
    FontEntry* font = fontRegistry ? fontRegistry->Entry(labelFont) : nullptr;
    // The markers are drawn with nothing on stage 1.
    renderer->BindTextureByIndex(-1, 1);

    const bool cull = cullOffscreenObjects;
    const ViewArea area = cull ? VisibleArea(*renderer) : ViewArea{};
    const int count = ObjectCount();
    for (int i = 0; i < count; ++i)
    {
        const PlacedObject& object = objects[(size_t)i];
        const float centreX = MapToViewX(object.x);
        const float centreY = MapToViewY(object.y);
        // An object whose type designates no catalog entry has no path to
        // show: its marker is drawn without a label.
        const ObjectType* type = font ? FindObjectType(object.type) : nullptr;
        const char* label = type ? type->path.c_str() : nullptr;
        if (cull && !ObjectMayShow(area, centreX, centreY, font, label))
            continue;

        CornerPoint outline[4];
        MarkerOutline(object.rotation, centreX, centreY, outline);
        renderer->DrawTexturedQuad(outline, objectImageTexture);
        if (label)
        {
            // The path is text, never a format: a per-cent sign in it is drawn.
            const D3DCOLOR colour = i == selectedObject ? kSelectedLabelColour : kLabelColour;
            font->Print(centreX + kLabelOffsetX, centreY + kLabelOffsetY, true, colour, "%s",
                        label);
        }
    }
}
