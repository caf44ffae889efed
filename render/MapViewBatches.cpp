// The map view's objects drawn in batches. One object at a time, each marker
// is a draw and each label a draw fenced by two state-block applications and
// a capture; with thousands of objects in view those calls are the frame.
// Here the frame is planned first: every marker and label visible gets a pass
// from the DrawPassPlanner (DrawPasses.h), which keeps every pair of quads
// that may share a pixel in its one-at-a-time order. Then each pass is drawn
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
    std::vector<Pass> passes; // the first `used` hold this frame's quads
    size_t used = 0;
    TypeLabel types[256];
    int lastPassCount = 0;
    int lastLabelQuads = 0;

    void StartFrame(const ViewArea& area)
    {
        planner.Begin(area);
        for (size_t i = 0; i < used; ++i)
        {
            passes[i].markers.clear();
            passes[i].labels.clear();
        }
        used = 0;
        for (TypeLabel& type : types)
            type.measured = false;
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

void MapView::DrawObjects(Renderer& renderer, const FontRegistry& fonts,
                          const MapDocument& document, const ViewArea* within, int areas) const
{
    IDirect3DDevice8* device = renderer.Device();
    if (!device)
        return;
    if (!batches_)
        batches_.reset(new Batches);
    Batches& batches = *batches_;
    FontEntry* entry = fonts.Entry(labelFont);
    // Labels only where Print would draw them.
    Font2D* font = showLabels && entry ? entry->DrawingFont() : nullptr;
    LabelStrips* strips = font && labelStrips ? font->Strips() : nullptr;
    if (strips)
        strips->BeginFrame();
    // The markers are drawn with nothing on stage 1.
    renderer.BindTextureByIndex(-1, 1);

    // The passes are planned over the visible area, or over the box of the
    // areas given; a quad is sent when it reaches into one of them.
    if (areas <= 0)
        within = nullptr;
    ViewArea area = within ? within[0] : renderer.VisibleArea();
    for (int i = 1; within && i < areas; ++i)
        area = {fminf(area.left, within[i].left), fminf(area.top, within[i].top),
                fmaxf(area.right, within[i].right), fmaxf(area.bottom, within[i].bottom)};
    const auto reaches = [&](const PixelBox& box)
    {
        if (!within)
            return BoxOverlaps(area, box);
        for (int i = 0; i < areas; ++i)
            if (BoxOverlaps(within[i], box))
                return true;
        return false;
    };
    batches.StartFrame(area);
    const bool cull = cullOffscreenObjects || within;
    const int count = document.ObjectCount();
    bool anySent = false;
    for (int i = 0; i < count; ++i)
    {
        const PlacedObject& object = document.objects[(size_t)i];
        if (document.IsTypeHidden(object.type)) // a hidden layer
            continue;
        const float centreX = document.MapToViewX(object.x);
        const float centreY = document.MapToViewY(object.y);
        // A type outside the catalog has no label.
        const ObjectType* type = font ? document.FindObjectType(object.type) : nullptr;
        const Batches::TypeLabel* label =
            type ? &batches.LabelOf(*type, object.type, *font, strips) : nullptr;
        const PixelBox markerBox = MarkerBox(centreX, centreY);
        const PixelBox labelBox = label ? ObjectLabelBox(centreX, centreY, label->size.cx,
                                                         label->size.cy, font->textScale)
                                        : PixelBox{};
        // MarkerMayShow's test, over each area.
        const bool markerShows = isfinite(centreX) && isfinite(centreY) && reaches(markerBox);
        if (cull && !markerShows && !(label && reaches(labelBox)))
            continue;
        anySent = true;

        CornerPoint outline[4];
        MarkerOutline(object.rotation, centreX, centreY, outline);
        Batches::AddMarker(
            &batches.PassAt(batches.planner.Place(DrawPassPlanner::Marker, markerBox)).markers,
            outline);
        if (label)
        {
            const D3DCOLOR colour =
                document.IsSelected((size_t)i) ? SelectedLabelColour : LabelColour;
            // Centred as Print centres: integer halves subtracted in floating point.
            const float x = centreX + LabelOffsetX - (float)(label->size.cx / 2);
            const float y = centreY + LabelOffsetY - (float)(label->size.cy / 2);
            Batches::Pass& pass =
                batches.PassAt(batches.planner.Place(DrawPassPlanner::Label, labelBox));
            if (strips)
                strips->Append(label->strips, x, y, colour, label->text, &pass.labels);
            else
                font->AppendString(x, y, colour, label->text, &pass.labels);
        }
    }
    batches.lastPassCount = (int)batches.used;
    batches.lastLabelQuads = 0;
    for (size_t p = 0; p < batches.used; ++p)
        batches.lastLabelQuads += (int)(batches.passes[p].labels.size() / kGlyphVertices);
    if (!anySent)
        return;

    // Stage 0 holds the marker image from here on, in every pass: it is the
    // value the label passes capture and put back.
    renderer.BindTextureByIndex(document.objectImageTexture, 0);
    const bool labels = font != nullptr && font->CaptureCallerStates() == D3D_OK;
    Stream stream(renderer, font, strips);
    for (size_t p = 0; p < batches.used; ++p)
    {
        const Batches::Pass& pass = batches.passes[p];
        stream.AddMarkers(pass.markers);
        if (labels)
            stream.AddLabels(pass.labels);
    }
    stream.Flush();
}
