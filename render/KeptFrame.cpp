#include "render/KeptFrame.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "document/MapDocument.h"
#include "render/MapView.h"
#include "render/Renderer.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"

namespace
{
// The font an entry draws with, or null when it draws nothing.
const Font2D* DrawingFont(const FontRegistry& fonts, int slot)
{
    const FontEntry* entry = fonts.Entry(slot);
    return entry ? entry->DrawingFont() : nullptr;
}

bool SameBits(float a, float b)
{
    return memcmp(&a, &b, sizeof(a)) == 0;
}

// The union of boxes, as the smallest rectangle of whole pixels holding it.
struct BoxUnion
{
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    void Add(const PixelBox& box)
    {
        // A box of a position that is not a number covers nothing.
        if (isnan(box.left) || isnan(box.top) || isnan(box.right) || isnan(box.bottom))
            return;
        left = fmin(left, box.left);
        top = fmin(top, box.top);
        right = fmax(right, box.right);
        bottom = fmax(bottom, box.bottom);
    }
};

// The pixels the count text "Objects: N" in the top-left corner can cover.
PixelBox CountBox(const Font2D& font, int count)
{
    char text[32];
    snprintf(text, sizeof(text), "Objects: %d", count);
    SIZE size = {0, 0};
    if (FAILED(font.MeasureText(text, &size)))
        return {-INFINITY, -INFINITY, INFINITY, INFINITY};
    // Drawn from (0, 0), as a label centred on the integer halves of its size.
    return LabelBox((float)(size.cx / 2), (float)(size.cy / 2), size.cx, size.cy, font.textScale);
}

// The rubber band's two outlines: the pixels from the lower to the higher
// corner, both included, and one of rounding around them.
PixelBox BandBox(const FrameBand& band)
{
    const double left = band.x0 < band.x1 ? band.x0 : band.x1;
    const double right = band.x0 < band.x1 ? band.x1 : band.x0;
    const double top = band.y0 < band.y1 ? band.y0 : band.y1;
    const double bottom = band.y0 < band.y1 ? band.y1 : band.y0;
    return {left - 2.0, top - 2.0, right + 3.0, bottom + 3.0};
}

// The union's whole pixels within the area, or an empty rectangle.
RECT PixelsWithin(const BoxUnion& boxes, const ViewArea& area)
{
    const double left = fmax(floor(boxes.left), area.left);
    const double top = fmax(floor(boxes.top), area.top);
    const double right = fmin(ceil(boxes.right), area.right);
    const double bottom = fmin(ceil(boxes.bottom), area.bottom);
    if (!(left < right && top < bottom))
        return {0, 0, 0, 0};
    return {(LONG)left, (LONG)top, (LONG)right, (LONG)bottom};
}

// The brush's outline: the ellipse's two lines and a pixel of rounding.
PixelBox OutlineBox(const FrameOutline& outline)
{
    return {outline.x - outline.radiusX - 2.0, outline.y - outline.radiusY - 2.0,
            outline.x + outline.radiusX + 3.0, outline.y + outline.radiusY + 3.0};
}

bool Touch(const RECT& a, const RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool SameBand(const FrameBand& a, const FrameBand& b)
{
    if (a.shown != b.shown)
        return false;
    return !a.shown || (a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1);
}
} // namespace

bool KeptFrame::Inputs::operator==(const Inputs& other) const
{
    return serial == other.serial && backWidth == other.backWidth &&
           backHeight == other.backHeight &&
           memcmp(&viewport, &other.viewport, sizeof(viewport)) == 0 &&
           background == other.background && viewScale == other.viewScale &&
           SameBits(scrollX, other.scrollX) && SameBits(scrollY, other.scrollY) &&
           memcmp(textures, other.textures, sizeof(textures)) == 0 &&
           memcmp(images, other.images, sizeof(images)) == 0 && labels == other.labels &&
           cull == other.cull && labelFont == other.labelFont && statusFont == other.statusFont &&
           types == other.types && hidden == other.hidden;
}

KeptFrame::Inputs KeptFrame::Read(const Renderer& renderer, const FontRegistry& fonts,
                                  int statusFont, const MapView& view, const MapDocument& document)
{
    Inputs in;
    in.serial = renderer.FrameSerial();
    in.backWidth = renderer.Width();
    in.backHeight = renderer.Height();
    if (renderer.Device())
        renderer.Device()->GetViewport(&in.viewport);
    in.background = renderer.BackgroundColour();
    in.viewScale = document.viewScale;
    in.scrollX = document.scrollX;
    in.scrollY = document.scrollY;
    const int textures[3] = {document.heightmapTexture, document.colormapTexture,
                             document.objectImageTexture};
    for (int i = 0; i < 3; ++i)
    {
        in.textures[i] = textures[i];
        const TextureRecord* record = renderer.Textures().Record(textures[i]);
        in.images[i] = record ? record->texture : nullptr;
    }
    const Font2D* labelFont = DrawingFont(fonts, view.labelFont);
    in.labels = view.showLabels && labelFont;
    in.cull = view.cullOffscreenObjects;
    in.labelFont = labelFont;
    in.statusFont = DrawingFont(fonts, statusFont);
    in.types.reserve(document.objectTypes.size());
    for (const ObjectType& type : document.objectTypes)
        in.types.push_back(type.path);
    for (size_t type = 0; type < document.objectTypes.size(); ++type)
        in.hidden.push_back(document.IsTypeHidden((int)type));
    return in;
}

KeptFrame::Plan KeptFrame::Compare(const Renderer& renderer, const FontRegistry& fonts,
                                   int statusFont, const MapView& view, const MapDocument& document,
                                   const FrameBand& band, const FrameOutline& outline) const
{
    Plan plan;
    if (!valid_)
        return plan;
    const Inputs now = Read(renderer, fonts, statusFont, view, document);
    if (!(now == inputs_))
        return plan;
    changed_.clear();
    if (!objects_.Changes(document.objects, document.CurrentSelection(), MostChangedLooks,
                          &changed_))
        return plan;

    BoxUnion objectBoxes, countBoxes, bandBoxes, outlineBoxes;
    const Font2D* labelFont = now.labels ? now.labelFont : nullptr;
    SIZE labelSizes[256];
    bool measured[256] = {};
    for (const DrawnObject& look : changed_)
    {
        const float x = document.MapToViewX(look.x), y = document.MapToViewY(look.y);
        objectBoxes.Add(MarkerBox(x, y));
        const ObjectType* type = labelFont ? document.FindObjectType(look.type) : nullptr;
        if (!type)
            continue;
        SIZE& size = labelSizes[look.type];
        if (!measured[look.type])
        {
            measured[look.type] = true;
            size = {0, 0};
            // Longer paths are cut before they are drawn: the whole one
            // measures at least as large.
            if (FAILED(labelFont->MeasureText(type->path.c_str(), &size)))
                return plan;
        }
        objectBoxes.Add(MapView::ObjectLabelBox(x, y, size.cx, size.cy, labelFont->textScale));
    }
    const int count = document.ObjectCount();
    if (count != count_ && now.statusFont)
    {
        countBoxes.Add(CountBox(*now.statusFont, count_));
        countBoxes.Add(CountBox(*now.statusFont, count));
    }
    if (!SameBand(band, band_))
    {
        if (band_.shown)
            bandBoxes.Add(BandBox(band_));
        if (band.shown)
            bandBoxes.Add(BandBox(band));
    }

    if (!(outline == outline_))
    {
        if (outline_.shown)
            outlineBoxes.Add(OutlineBox(outline_));
        if (outline.shown)
            outlineBoxes.Add(OutlineBox(outline));
    }

    // Only the visible area can change.
    const ViewArea area = renderer.VisibleArea();
    for (const BoxUnion* boxes : {&objectBoxes, &countBoxes, &bandBoxes, &outlineBoxes})
    {
        RECT part = PixelsWithin(*boxes, area);
        if (IsRectEmpty(&part))
            continue;
        // Joined with every part it touches, until none touches another.
        for (int i = 0; i < plan.partCount;)
        {
            if (!Touch(part, plan.parts[i]))
            {
                ++i;
                continue;
            }
            UnionRect(&part, &part, &plan.parts[i]);
            plan.parts[i] = plan.parts[--plan.partCount];
            i = 0;
        }
        plan.parts[plan.partCount++] = part;
    }
    if (plan.partCount == 0)
    {
        plan.redraw = Nothing;
        return plan;
    }
    double pixels = 0.0;
    for (int i = 0; i < plan.partCount; ++i)
        pixels += (double)(plan.parts[i].right - plan.parts[i].left) *
                  (plan.parts[i].bottom - plan.parts[i].top);
    const double areaPixels = ((double)area.right - area.left) * ((double)area.bottom - area.top);
    if (pixels > LargestPartShare * areaPixels)
    {
        plan.partCount = 0;
        return plan;
    }
    plan.redraw = Part;
    return plan;
}

void KeptFrame::Keep(const Renderer& renderer, const FontRegistry& fonts, int statusFont,
                     const MapView& view, const MapDocument& document, const FrameBand& band,
                     const FrameOutline& outline)
{
    inputs_ = Read(renderer, fonts, statusFont, view, document);
    objects_.Keep(document.objects, document.CurrentSelection());
    count_ = document.ObjectCount();
    band_ = band;
    outline_ = outline;
    valid_ = true;
}
