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
    // DrawObjects leaves out objects whose marker and label both lie wholly
    // outside the visible part of the view; what it draws is the same either
    // way. Off, every object is sent to the device.
    bool cullOffscreenObjects = true;

    MapDocument() = default;
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // Start-up: heightmap, label font, detail map, marker image, colormap.
    void Init(Renderer* renderer, FontRegistry* fonts, const char* heightmapFile);

    // Map coordinates are fractions of the map's side; the map square spans
    // viewScale view pixels and its top-left corner lies at (-scrollX, -scrollY).
    float MapToViewX(float x) const { return viewScale * x - scrollX; }
    float MapToViewY(float y) const { return viewScale * y - scrollY; }
    float ViewToMapX(int px) const { return (px + scrollX) / viewScale; }
    float ViewToMapY(int py) const { return (py + scrollY) / viewScale; }

    // In-memory editing.
    int HitTest(int px, int py) const;
    void AddObject(const PlacedObject& object);
    void RemoveObject(int index);
    int ObjectCount() const { return (int)objects.size(); }

    // The catalog entry that a placed object's type designates, or null when
    // the type is not below the catalog's size (a wrapped palette row, or a
    // file whose records name more types than it lists).
    const ObjectType* FindObjectType(int type) const;

    // Files. Loads check a whole file before they change anything; saves
    // write a temporary file and replace the old one only when all of it was
    // written. objectMap and detailMap hold at most 127 characters: longer
    // names are refused, never cut into the name of another file.
    void LoadHeightmap(const char* fileName);
    bool LoadSettings(const char* path, HWND paletteList);
    bool SaveSettings(const char* path) const;
    bool LoadObjects(const char* path, HWND paletteList);
    bool SaveObjects(const char* path);

    // Appends a catalog entry; false (nothing added) for a path that the
    // object placement file cannot hold (more than 127 characters).
    bool AddObjectType(const char* path);

    // Drawing (render/MapView.cpp).
    void DrawMap();
    void DrawObjects();

  private:
    // Slot of the texture loaded from the file, or -1 (also without a renderer).
    int LoadTextureSlot(const char* fileName);
};

#endif
