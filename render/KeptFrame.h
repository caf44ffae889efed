// The frame on screen and what it was drawn from, so that the next frame
// draws only the part that changed. Frames reach the window from a
// system-memory copy of the back buffer (FramePresenter), which keeps the
// last picture. When only objects changed (a drag step, a selection, an
// object placed or deleted, a rotation), the rubber band moved or the count
// in the corner changed, the pixels outside the old and new boxes of what
// changed are the same as before: the next frame draws the map and only the
// objects that reach into those boxes, takes that part into the kept
// picture and leaves the rest as it was (FramePresenter::EndPartFrame). Anything
// else (the zoom, the scroll, the viewport, a texture, the fonts, the type
// catalog, a type hidden or shown, View > Labels, a reset) makes the next frame whole. A frame with
// nothing changed shows the kept picture again.
#ifndef MAPEDITOR_KEPTFRAME_H
#define MAPEDITOR_KEPTFRAME_H

#include <windows.h>
#include <d3d8.h>

#include <string>
#include <vector>

#include "render/DrawnObjects.h"
#include "render/ViewGeometry.h"

class Font2D;
class FontRegistry;
class MapDocument;
class MapView;
class Renderer;

// The rubber band as the frame draws it, if at all.
struct FrameBand
{
    bool shown;
    int x0, y0, x1, y1;
};

// The brush's outline under the pointer, if shown: an ellipse in view
// pixels (a circle of heightmap cells, whose cells need not be square).
struct FrameOutline
{
    bool shown = false;
    float x = 0.0f, y = 0.0f;
    float radiusX = 0.0f, radiusY = 0.0f;
    bool operator==(const FrameOutline& other) const
    {
        return shown == other.shown &&
               (!shown || (x == other.x && y == other.y && radiusX == other.radiusX &&
                           radiusY == other.radiusY));
    }
};

class KeptFrame
{
  public:
    enum Redraw
    {
        Nothing, // show the kept picture
        Part,    // draw, and keep only the parts
        Whole
    };
    // The changed objects, the count text, the rubber band and the brush's
    // outline each give a part; parts that touch are joined.
    static const int MostParts = 4;
    struct Plan
    {
        Redraw redraw = Whole;
        RECT parts[MostParts] = {}; // back buffer pixels, for Part
        int partCount = 0;
    };

    // Most changed objects (old and new looks together) drawn in part; more
    // than this, or parts over this share of the view, and the frame is
    // drawn whole.
    static const size_t MostChangedLooks = 65536;
    static constexpr double LargestPartShare = 0.5;

    // What the next frame must draw. `statusFont` is the font of the count
    // in the view's top-left corner.
    Plan Compare(const Renderer& renderer, const FontRegistry& fonts, int statusFont,
                 const MapView& view, const MapDocument& document, const FrameBand& band,
                 const FrameOutline& outline = FrameOutline()) const;
    // After a frame drawn whole or in part and shown: what it was drawn from.
    void Keep(const Renderer& renderer, const FontRegistry& fonts, int statusFont,
              const MapView& view, const MapDocument& document, const FrameBand& band,
              const FrameOutline& outline = FrameOutline());
    void Forget()
    {
        valid_ = false;
        objects_.Forget();
    }

  private:
    // Everything else a frame is drawn from; a difference redraws it whole.
    struct Inputs
    {
        unsigned serial = 0;
        int backWidth = 0, backHeight = 0;
        D3DVIEWPORT8 viewport = {};
        D3DCOLOR background = 0;
        int viewScale = 0;
        float scrollX = 0.0f, scrollY = 0.0f;
        int textures[3] = {};
        const IDirect3DTexture8* images[3] = {};
        bool labels = false, cull = false;
        const Font2D* labelFont = nullptr;
        const Font2D* statusFont = nullptr;
        std::vector<std::string> types;
        std::vector<bool> hidden; // per catalog entry: its objects are not drawn
        bool operator==(const Inputs& other) const;
    };
    static Inputs Read(const Renderer& renderer, const FontRegistry& fonts, int statusFont,
                       const MapView& view, const MapDocument& document);

    bool valid_ = false;
    Inputs inputs_;
    DrawnObjects objects_;
    int count_ = 0;
    FrameBand band_ = {false, 0, 0, 0, 0};
    FrameOutline outline_;
    mutable std::vector<DrawnObject> changed_;
};

#endif
