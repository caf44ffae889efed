// The objects drawn one at a time (see ObjectsOneByOne.h).
#include "tests/support/ObjectsOneByOne.h"

#include "document/MapDocument.h"
#include "render/MapView.h"
#include "render/Renderer.h"
#include "render/ViewGeometry.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"

namespace
{
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
    return LabelMayShow(area, centreX + MapView::LabelOffsetX, centreY + MapView::LabelOffsetY,
                        size.cx, size.cy, font->font->textScale);
}
} // namespace

void DrawObjectsOneByOne(const MapView& view, Renderer& renderer, const FontRegistry& fonts,
                         const MapDocument& document)
{
    if (!renderer.Device())
        return;
    FontEntry* font = fonts.Entry(view.labelFont);
    // The markers are drawn with nothing on stage 1.
    renderer.BindTextureByIndex(-1, 1);

    const bool cull = view.cullOffscreenObjects;
    const ViewArea area = cull ? renderer.VisibleArea() : ViewArea{};
    const int count = document.ObjectCount();
    for (int i = 0; i < count; ++i)
    {
        const PlacedObject& object = document.objects[(size_t)i];
        if (document.IsTypeHidden(object.type))
            continue;
        const float centreX = document.MapToViewX(object.x);
        const float centreY = document.MapToViewY(object.y);
        // An object whose type designates no catalog entry has no path to
        // show: its marker is drawn without a label.
        const ObjectType* type =
            font && view.showLabels ? document.FindObjectType(object.type) : nullptr;
        const char* label = type ? type->path.c_str() : nullptr;
        if (cull && !ObjectMayShow(area, centreX, centreY, font, label))
            continue;

        CornerPoint outline[4];
        MarkerOutline(object.rotation, centreX, centreY, outline);
        renderer.DrawTexturedQuad(outline, document.objectImageTexture);
        if (label)
        {
            // The path is text, never a format: a per-cent sign in it is drawn.
            const D3DCOLOR colour = document.IsSelected((size_t)i) ? MapView::SelectedLabelColour
                                                                   : MapView::LabelColour;
            font->Print(centreX + MapView::LabelOffsetX, centreY + MapView::LabelOffsetY, true,
                        colour, "%s", label);
        }
    }
}
