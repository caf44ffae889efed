// The map document. Not written yet: start-up loads nothing and the editing
// and file operations change nothing.
#include "document/MapDocument.h"

#include "document/RelativePath.h"

void MapDocument::Init(Renderer* owner, FontRegistry* fonts, const char* heightmapFile)
{
    renderer = owner;
    fontRegistry = fonts;
}
int MapDocument::HitTest(int px, int py) const { return -1; }
void MapDocument::AddObject(const PlacedObject& object) {}
void MapDocument::RemoveObject(int index) {}
void MapDocument::LoadHeightmap(const char* fileName) {}
bool MapDocument::LoadSettings(const char* path, HWND paletteList) { return false; }
bool MapDocument::SaveSettings(const char* path) const { return false; }
bool MapDocument::LoadObjects(const char* path, HWND paletteList) { return false; }
bool MapDocument::SaveObjects(const char* path) { return false; }
void MapDocument::AddObjectType(const char* path) {}

std::string MakeRelativePath(const char* base, const char* path) { return std::string(); }
