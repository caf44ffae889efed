// Drawing of the map view: texture binding, textured quads, the map square
// and the object markers with their labels. Not written yet: nothing is drawn.
#include "document/MapDocument.h"
#include "render/Renderer.h"

int Renderer::BindTexture(TextureRecord* record, DWORD stage) { return 1; }
int Renderer::BindTextureByIndex(int index, DWORD stage) { return 1; }
void Renderer::DrawTexturedRect(const ScreenRect& rect, int index, const TexCoordRect& set1) {}
void Renderer::DrawTexturedQuad(const CornerPoint corners[4], int index) {}
void CornerPoint::RotatePoint(float angle) {}
void MapDocument::DrawMap() {}
void MapDocument::DrawObjects() {}
