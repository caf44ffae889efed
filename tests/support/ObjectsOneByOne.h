// The map view's objects drawn one object at a time: a draw for each marker
// and a fenced Print for each label. Slow with many objects; the reference
// the batched drawing (MapView::DrawObjects) is held to, pixel for pixel,
// by the tests and the view bench.
#ifndef MAPEDITOR_TESTS_OBJECTSONEBYONE_H
#define MAPEDITOR_TESTS_OBJECTSONEBYONE_H

class FontRegistry;
class MapDocument;
class MapView;
class Renderer;

// Every object's marker, then its label, in index order, with the view's
// label font, labels setting and culling.
void DrawObjectsOneByOne(const MapView& view, Renderer& renderer, const FontRegistry& fonts,
                         const MapDocument& document);

#endif
