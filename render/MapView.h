// The map view drawn from the document: the map square (colormap shaded by
// the heightmap), every placed object as a turned marker with its type's path
// as a label (red when selected; none of a hidden type), the outline of a
// rubber band and the brush's outline. The view only reads the document.
#ifndef MAPEDITOR_MAPVIEW_H
#define MAPEDITOR_MAPVIEW_H

#include <memory>

#include "render/ViewGeometry.h"

class FontRegistry;
class MapDocument;
class Renderer;

class MapView
{
  public:
    int labelFont = 0; // the font registry's slot of the labels' font
    // Objects whose marker and label both lie wholly outside the visible part
    // of the view are left out; what is drawn is the same either way. Off,
    // every object is sent to the device.
    bool cullOffscreenObjects = true;
    // View > Labels: off, the objects are drawn as markers only.
    bool showLabels = true;
    // Labels from the font's label strips, one quad per run of glyphs; off,
    // one quad per glyph (the same pixels; the view bench compares the two).
    bool labelStrips = true;

    MapView();
    ~MapView();
    MapView(const MapView&) = delete;
    MapView& operator=(const MapView&) = delete;

    void DrawMap(Renderer& renderer, const MapDocument& document) const;
    // Every object's marker, then its label, in index order, later objects
    // over earlier ones. Drawn in a few batches (MapViewBatches.cpp) that
    // give the same pixels as drawing one object at a time (the reference
    // the tests hold them to: tests/support/ObjectsOneByOne.h). With areas given
    // (`within`, `areas` of them), only the objects that can change a pixel
    // of one of them are drawn: those areas come out as in the whole frame,
    // and the rest of the view is taken from the kept frame (KeptFrame.h).
    void DrawObjects(Renderer& renderer, const FontRegistry& fonts, const MapDocument& document,
                     const ViewArea* within = nullptr, int areas = 0) const;
    // The outline of the rectangle between two view points, over everything.
    void DrawRubberBand(Renderer& renderer, float x0, float y0, float x1, float y1) const;
    // The brush's outline: an ellipse centred on a view point, over
    // everything (BrushOutline.cpp).
    void DrawBrushOutline(Renderer& renderer, float x, float y, float radiusX, float radiusY) const;

    // What the last DrawObjects did, for the tests and the view bench.
    struct Statistics
    {
        int passes = 0; // one draw of markers, one of labels each
        int labelQuads = 0; // triangles sent for the labels, halved
    };
    Statistics LastDraw() const;

    // Where a label is centred relative to its marker's centre, and its colours.
    static constexpr float LabelOffsetX = 8.0f;
    static constexpr float LabelOffsetY = 10.0f;
    static const unsigned LabelColour = 0xFFFFFFFF;         // opaque white
    static const unsigned SelectedLabelColour = 0xFFFF0000; // opaque red
    // The pixels the label of the object centred at (centreX, centreY) can
    // cover, for a text of that measured size (LabelBox).
    static PixelBox ObjectLabelBox(float centreX, float centreY, long textWidth, long textHeight,
                                   float textScale)
    {
        return LabelBox(centreX + LabelOffsetX, centreY + LabelOffsetY, textWidth, textHeight,
                        textScale);
    }

  private:
    // What the batches are built in, kept between frames so that its storage
    // is reused (MapViewBatches.cpp).
    struct Batches;
    mutable std::unique_ptr<Batches> batches_;
};

#endif
