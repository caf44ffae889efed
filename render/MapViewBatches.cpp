// The map view's objects drawn in batches. One object at a time, each marker
// is a draw and each label a draw fenced by two state-block applications and
// a capture; with thousands of objects in view those calls are the frame.
// Here the objects are planned in segments of a bounded size of vertices
// (a million objects in view would otherwise hold hundreds of megabytes):
// every marker and label visible gets a pass from the DrawPassPlanner
// (DrawPasses.h), which keeps every pair of quads that may share a pixel in
// its one-at-a-time order. Then each pass of the segment is drawn
// as one strip of all its markers, with the states the map left, and one
// triangle list of all its labels, with the font's own states; the caller's
// values of the font's states are captured once per frame and put back after
// every label pass, as each Print does.
//
// The marker vertices are those the one-at-a-time path sends, to the bit
// (the outlines come from the same MarkerOutline). A label is one quad per
// run of its glyphs from the font's label strips (LabelStrips.h), which show
// each pixel the texel DrawString's glyph quad shows there; labels the strips
// cannot take are the glyph quads of Font2D::AppendString, which moves the
// pen as DrawString does.
#include "render/MapView.h"

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "document/MapDocument.h"
#include "render/DrawPasses.h"
#include "render/Renderer.h"
#include "render/TexturedVertex.h"
#include "render/ViewGeometry.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"
#include "text/LabelStrips.h"

namespace
{
// Print formats into a buffer of 2048 bytes: longer paths are cut there.
const size_t kLongestLabel = sizeof(FontEntry::textBuffer) - 1;
// Joined into one strip, a marker takes its four corners and two repeated
// vertices that make the empty triangles between it and the one before, so
// marker k starts at vertex 6k. That start is even: the device turns each
// marker's two triangles exactly as it turns the strip of a lone marker.
const size_t kVerticesPerMarker = 6;
const UINT kGlyphVertices = 6;

// The draws of the passes in order, gathered until the frame's vertex buffer
// being filled is full, then written with one lock and drawn. A pass too big
// for a buffer is cut between markers and between glyphs; the order of the
// draws stays the order of the passes.
class Stream
{
  public:
    Stream(Renderer& renderer, Font2D* font, LabelStrips* strips)
        : renderer_(renderer), font_(font), strips_(strips)
    {
    }

    void AddMarkers(const std::vector<TexturedVertex>& strip)
    {
        const size_t markers = (strip.size() + 2) / kVerticesPerMarker;
        for (size_t first = 0; first < markers;)
        {
            // n markers take 6n - 2 vertices.
            const UINT room = Room(sizeof(TexturedVertex));
            size_t n = (room / sizeof(TexturedVertex) + 2) / kVerticesPerMarker;
            n = n < markers - first ? n : markers - first;
            if (n == 0)
            {
                Flush();
                continue;
            }
            Add(Draw::Markers, &strip[first * kVerticesPerMarker],
                (UINT)(n * kVerticesPerMarker - 2), sizeof(TexturedVertex));
            first += n;
        }
    }

    void AddLabels(const std::vector<FontVertex>& list)
    {
        const size_t glyphs = list.size() / kGlyphVertices;
        for (size_t first = 0; first < glyphs;)
        {
            size_t n = Room(sizeof(FontVertex)) / (sizeof(FontVertex) * kGlyphVertices);
            n = n < glyphs - first ? n : glyphs - first;
            if (n == 0)
            {
                Flush();
                continue;
            }
            Add(Draw::Labels, &list[first * kGlyphVertices], (UINT)(n * kGlyphVertices),
                sizeof(FontVertex));
            first += n;
        }
    }

    void Flush()
    {
        if (pieces_.empty())
            return;
        IDirect3DDevice8* device = renderer_.Device();
        IDirect3DVertexBuffer8* buffer = renderer_.FrameVertices().Fill(device, pieces_);
        for (size_t i = 0; buffer && i < draws_.size(); ++i)
        {
            const Draw& draw = draws_[i];
            const UINT first = pieces_[i].offset / draw.stride;
            if (draw.kind == Draw::Labels)
            {
                font_->DrawVertices(buffer, first, draw.vertices,
                                    strips_ ? strips_->Texture() : nullptr);
                continue;
            }
            device->SetVertexShader(kTexturedVertexFormat);
            device->SetStreamSource(0, buffer, sizeof(TexturedVertex));
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, first, draw.vertices - 2);
        }
        // The buffer is not left bound: a reset needs every one released.
        device->SetStreamSource(0, nullptr, 0);
        pieces_.clear();
        draws_.clear();
        used_ = 0;
    }

  private:
    struct Draw
    {
        enum Kind
        {
            Markers,
            Labels
        } kind;
        UINT vertices;
        UINT stride;
    };

    // Bytes left in the buffer being gathered for vertices of this stride;
    // each draw starts at a multiple of its stride.
    UINT Room(UINT stride) const
    {
        const UINT offset = (used_ + stride - 1) / stride * stride;
        return offset < VertexRing::BufferBytes ? VertexRing::BufferBytes - offset : 0;
    }

    // A draw of vertices that fit in the buffer being gathered (Room).
    void Add(Draw::Kind kind, const void* data, UINT vertices, UINT stride)
    {
        const UINT offset = (used_ + stride - 1) / stride * stride;
        pieces_.push_back({data, vertices * stride, offset});
        draws_.push_back({kind, vertices, stride});
        used_ = offset + vertices * stride;
    }

    Renderer& renderer_;
    Font2D* font_;
    LabelStrips* strips_;
    std::vector<VertexRing::Piece> pieces_;
    std::vector<Draw> draws_;
    UINT used_ = 0;
};
} // namespace

struct MapView::Batches
{
    // The label of a catalog type in this frame: its text and measured size.
    struct TypeLabel
    {
        bool measured = false;
        const char* text = nullptr;
        std::string cut; // the text when the path is longer than Print takes
        SIZE size = {0, 0};
        const LabelStrips::Layout* strips = nullptr; // null: glyph by glyph
    };
    struct Pass
    {
        std::vector<TexturedVertex> markers; // one strip
        std::vector<FontVertex> labels;      // one triangle list
    };

    DrawPassPlanner planner;
    std::vector<Pass> passes; // the first `used` hold this segment's quads
    size_t used = 0;
    size_t gathered = 0; // bytes of vertices in the passes
    TypeLabel types[256];
    int lastPassCount = 0;
    int lastLabelQuads = 0;

    // The frame being drawn (DrawObjects, or BeginObjects and its
    // ContinueObjects calls).
    std::vector<ViewArea> within; // the areas given, none for the whole view
    ViewArea area = {0, 0, 0, 0};
    Font2D* font = nullptr;
    LabelStrips* strips = nullptr; // the font's, when labels are drawn from them
    int labelQuads = 0;            // sent in this frame's segments so far
    bool cull = false;
    bool statesCaptured = false; // the font's caller states, for the labels
    bool labels = false;         // whether label passes are drawn
    size_t next = 0;             // the next object to plan
    bool open = false;

    // A segment is the objects planned between two flushes: each is planned
    // on its own, and all its passes are drawn before the next segment's,
    // which keeps every quad after all quads of earlier objects. The
    // vertices of a segment are kept in memory until it is drawn, so their
    // bytes bound it, not the number of objects.
    static const size_t kSegmentBytes = 512u << 10;

    void StartSegment()
    {
        planner.Begin(area);
        for (size_t i = 0; i < used; ++i)
        {
            passes[i].markers.clear();
            passes[i].labels.clear();
        }
        used = 0;
        gathered = 0;
    }

    Pass& PassAt(int index)
    {
        if ((size_t)index >= passes.size())
            passes.resize((size_t)index + 1);
        if ((size_t)index >= used)
            used = (size_t)index + 1;
        return passes[(size_t)index];
    }

    // Measured once per type and frame, not once per object.
    const TypeLabel& LabelOf(const ObjectType& type, uint8_t index, const Font2D& font,
                             LabelStrips* strips)
    {
        TypeLabel& label = types[index];
        if (!label.measured)
        {
            label.measured = true;
            label.text = type.path.c_str();
            if (type.path.size() > kLongestLabel)
            {
                label.cut.assign(type.path, 0, kLongestLabel);
                label.text = label.cut.c_str();
            }
            label.size = {0, 0};
            font.MeasureText(label.text, &label.size);
            label.strips = strips ? strips->Find(label.text) : nullptr;
        }
        return label;
    }

    static void AddMarker(std::vector<TexturedVertex>* strip, const CornerPoint outline[4])
    {
        TexturedVertex quad[4];
        QuadVertices(outline, quad);
        if (!strip->empty())
        {
            strip->push_back(strip->back());
            strip->push_back(quad[0]);
        }
        strip->insert(strip->end(), quad, quad + 4);
    }

    bool Reaches(const PixelBox& box) const
    {
        if (within.empty())
            return BoxOverlaps(area, box);
        for (const ViewArea& part : within)
            if (BoxOverlaps(part, box))
                return true;
        return false;
    }

    // Plans the object's quads into the segment; false when it is left out.
    bool Plan(const MapDocument& document, size_t i);
    // Draws the segment's passes and starts the next segment.
    void Flush(Renderer& renderer, const MapDocument& document);
};

MapView::MapView() = default;
MapView::~MapView() = default;

MapView::Statistics MapView::LastDraw() const
{
    Statistics statistics;
    statistics.passes = batches_ ? batches_->lastPassCount : 0;
    statistics.labelQuads = batches_ ? batches_->lastLabelQuads : 0;
    return statistics;
}

bool MapView::Batches::Plan(const MapDocument& document, size_t i)
{
    const PlacedObject& object = document.objects[i];
    if (document.IsTypeHidden(object.type)) // a hidden layer
        return false;
    const float centreX = document.MapToViewX(object.x);
    const float centreY = document.MapToViewY(object.y);
    // A type outside the catalog has no label.
    const ObjectType* type = font ? document.FindObjectType(object.type) : nullptr;
    const TypeLabel* label = type ? &LabelOf(*type, object.type, *font, strips) : nullptr;
    const PixelBox markerBox = MarkerBox(centreX, centreY);
    const PixelBox labelBox =
        label ? ObjectLabelBox(centreX, centreY, label->size.cx, label->size.cy, font->textScale)
              : PixelBox{};
    // MarkerMayShow's test, over each area.
    const bool markerShows = isfinite(centreX) && isfinite(centreY) && Reaches(markerBox);
    if (cull && !markerShows && !(label && Reaches(labelBox)))
        return false;

    CornerPoint outline[4];
    MarkerOutline(object.rotation, centreX, centreY, outline);
    AddMarker(&PassAt(planner.Place(DrawPassPlanner::Marker, markerBox)).markers, outline);
    gathered += kVerticesPerMarker * sizeof(TexturedVertex);
    if (label)
    {
        const D3DCOLOR colour = document.IsSelected(i) ? SelectedLabelColour : LabelColour;
        // Centred as Print centres: integer halves subtracted in floating point.
        const float x = centreX + LabelOffsetX - (float)(label->size.cx / 2);
        const float y = centreY + LabelOffsetY - (float)(label->size.cy / 2);
        Pass& pass = PassAt(planner.Place(DrawPassPlanner::Label, labelBox));
        const size_t before = pass.labels.size();
        if (strips)
            strips->Append(label->strips, x, y, colour, label->text, &pass.labels);
        else
            font->AppendString(x, y, colour, label->text, &pass.labels);
        gathered += (pass.labels.size() - before) * sizeof(FontVertex);
    }
    return true;
}

void MapView::Batches::Flush(Renderer& renderer, const MapDocument& document)
{
    if (used > (size_t)lastPassCount)
        lastPassCount = (int)used;
    for (size_t p = 0; p < used; ++p)
        labelQuads += (int)(passes[p].labels.size() / kGlyphVertices);
    if (used > 0)
    {
        if (!statesCaptured)
        {
            // Stage 0 holds the marker image from here on, in every pass:
            // it is the value the label passes capture and put back.
            renderer.BindTextureByIndex(document.objectImageTexture, 0);
            labels = font != nullptr && font->CaptureCallerStates() == D3D_OK;
            statesCaptured = true;
        }
        Stream stream(renderer, font, strips);
        for (size_t p = 0; p < used; ++p)
        {
            const Pass& pass = passes[p];
            stream.AddMarkers(pass.markers);
            if (labels)
                stream.AddLabels(pass.labels);
        }
        stream.Flush();
        // The device catches up before the next segment (Renderer.h).
        renderer.WaitForDrawing();
    }
    StartSegment();
}

void MapView::BeginObjects(Renderer& renderer, const FontRegistry& fonts,
                           const MapDocument& document, const ViewArea* within, int areas) const
{
    if (!batches_)
        batches_.reset(new Batches);
    Batches& batches = *batches_;
    batches.open = renderer.Device() != nullptr;
    if (!batches.open)
        return;
    FontEntry* entry = fonts.Entry(labelFont);
    // Labels only where Print would draw them.
    batches.font = showLabels && entry ? entry->DrawingFont() : nullptr;
    batches.strips = batches.font && labelStrips ? batches.font->Strips() : nullptr;
    if (batches.strips)
        batches.strips->BeginFrame();
    // The markers are drawn with nothing on stage 1.
    renderer.BindTextureByIndex(-1, 1);

    // The passes are planned over the visible area, or over the box of the
    // areas given; a quad is sent when it reaches into one of them.
    batches.within.assign(within, within + (within && areas > 0 ? areas : 0));
    ViewArea area = within && areas > 0 ? within[0] : renderer.VisibleArea();
    for (int i = 1; within && i < areas; ++i)
        area = {fminf(area.left, within[i].left), fminf(area.top, within[i].top),
                fmaxf(area.right, within[i].right), fmaxf(area.bottom, within[i].bottom)};
    batches.area = area;
    batches.cull = cullOffscreenObjects || !batches.within.empty();
    batches.statesCaptured = false;
    batches.labels = false;
    batches.next = 0;
    batches.lastPassCount = 0;
    batches.labelQuads = 0;
    for (Batches::TypeLabel& type : batches.types)
        type.measured = false;
    batches.StartSegment();
    (void)document;
}

bool MapView::ContinueObjects(Renderer& renderer, const MapDocument& document,
                              const ObjectsDeadline* deadline) const
{
    if (!batches_ || !batches_->open)
        return true;
    Batches& batches = *batches_;
    if (!renderer.Device())
        return batches.open = false, true;
    const size_t count = document.objects.size();
    // The clock is read every so many objects: a read costs more than
    // planning one object.
    const size_t kObjectsBetweenClockReads = 256;
    const size_t first = batches.next;
    while (batches.next < count)
    {
        size_t step = kObjectsBetweenClockReads;
        if (deadline && deadline->objects && deadline->objects < step)
            step = deadline->objects;
        const size_t end = batches.next + step < count ? batches.next + step : count;
        for (; batches.next < end; ++batches.next)
        {
            batches.Plan(document, batches.next);
            if (batches.gathered >= Batches::kSegmentBytes)
                batches.Flush(renderer, document);
        }
        // The segment gathered so far waits for the next slice: flushing it
        // now would end the slice waiting for the device.
        if (deadline && batches.next < count && deadline->Passed(batches.next - first))
            return false;
    }
    batches.Flush(renderer, document);
    batches.open = false;
    batches.lastLabelQuads = batches.labelQuads;
    // A frame whose passes grew far past a segment's bytes (its segments
    // filled different passes) gives the storage back.
    if (BatchBytes() > 4 * Batches::kSegmentBytes)
    {
        batches.passes.clear();
        batches.passes.shrink_to_fit();
    }
    return true;
}

void MapView::DrawObjects(Renderer& renderer, const FontRegistry& fonts,
                          const MapDocument& document, const ViewArea* within, int areas) const
{
    BeginObjects(renderer, fonts, document, within, areas);
    ContinueObjects(renderer, document, nullptr);
}

size_t MapView::BatchBytes() const
{
    if (!batches_)
        return 0;
    size_t bytes = sizeof(Batches) + batches_->passes.capacity() * sizeof(Batches::Pass) +
                   batches_->planner.Bytes();
    for (const Batches::Pass& pass : batches_->passes)
        bytes += pass.markers.capacity() * sizeof(TexturedVertex) +
                 pass.labels.capacity() * sizeof(FontVertex);
    return bytes;
}
