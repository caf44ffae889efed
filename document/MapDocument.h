// The one map being edited: its settings, heightmap size, texture slots, the
// object type catalog, the placed objects and the view state kept with it.
// The file operations live beside it in this folder (settings file, object
// placement file, heightmap, catalog); the drawing in render/MapView.cpp.
#ifndef MAPEDITOR_MAPDOCUMENT_H
#define MAPEDITOR_MAPDOCUMENT_H

#include <windows.h>

#include <vector>

#include "document/ObjectType.h"
#include "document/PlacedObject.h"

class FontRegistry;
class Renderer;

class MapDocument
{
  public:
    int heightmapTexture = 0;
    int colormapTexture = 0;
    int width = 0;  // heightmap image size in pixels
    int height = 0;
    int spacing = 0;
    char detailMap[128] = {};
    char objectMap[128] = {};
    unsigned char quadDepth = 0;
    int viewScale = 192; // view pixels spanned by one side of the map
    int currentType = 0;
    int selectedObject = 0;
    std::vector<ObjectType> objectTypes;
    std::vector<PlacedObject> objects;
    int objectImageTexture = 0;
    float scrollX = 0.0f;
    float scrollY = 0.0f;
    FontRegistry* fontRegistry = nullptr;
    int labelFont = 0;
    Renderer* renderer = nullptr;

    MapDocument() = default;
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // Start-up: heightmap, label font, detail map, marker image, colormap.
    void Init(Renderer* renderer, FontRegistry* fonts, const char* heightmapFile);

    // In-memory editing.
    int HitTest(int px, int py) const;
    void AddObject(const PlacedObject& object);
    void RemoveObject(int index);
    int ObjectCount() const { return (int)objects.size(); }

    // Files.
    void LoadHeightmap(const char* fileName);
    bool LoadSettings(const char* path, HWND paletteList);
    bool SaveSettings(const char* path) const;
    bool LoadObjects(const char* path, HWND paletteList);
    bool SaveObjects(const char* path);
    void AddObjectType(const char* path);

    // Drawing (render/MapView.cpp).
    void DrawMap();
    void DrawObjects();
};

#endif
