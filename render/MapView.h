// The map view drawn from the document: the map square (colormap shaded by
// the heightmap), every placed object as a turned marker with its type's path
// as a label (red when selected), and the outline of a rubber band. The view
// only reads the document.
#ifndef MAPEDITOR_MAPVIEW_H
#define MAPEDITOR_MAPVIEW_H

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

    void DrawMap(Renderer& renderer, const MapDocument& document) const;
    void DrawObjects(Renderer& renderer, const FontRegistry& fonts,
                     const MapDocument& document) const;
    // The outline of the rectangle between two view points, over everything.
    void DrawRubberBand(Renderer& renderer, float x0, float y0, float x1, float y1) const;
};

#endif
