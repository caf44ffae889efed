// The map document: start-up, hit testing and the in-memory editing of placed
// objects, the object type catalog, and heightmap loading. The settings file
// and the object placement file are in SettingsFile.cpp and
// ObjectPlacementFile.cpp.
#include "document/MapDocument.h"

#include <math.h>
#include <string.h>

#include "render/Renderer.h"
#include "text/FontRegistry.h"

namespace
{
const char kDetailMapFile[] = "..\\maps\\detail-map.bmp";
const char kObjectImageFile[] = "..\\art\\ui\\objectimage.bmp";
const char kColormapFile[] = "..\\maps\\area1-colormap.bmp";
const char kLabelFontName[] = "tahoma";

// Half the side of an object's marker box in view pixels.
const float kHitHalfSize = 8.0f;
} // namespace

void MapDocument::Init(Renderer* owner, FontRegistry* fonts, const char* heightmapFile)
{
    renderer = owner;
    LoadHeightmap(heightmapFile);
    // Asked before the application asks for "Tahoma", so this creates the
    // entry that both then share.
    fontRegistry = fonts;
    if (fontRegistry)
        labelFont = fontRegistry->FindOrRegister(kLabelFontName);
    quadDepth = 4;
    viewScale = width * 12;
    // The detail map stays loaded for the whole run; nothing refers to it.
    LoadTextureSlot(kDetailMapFile);
    objectImageTexture = LoadTextureSlot(kObjectImageFile);
    colormapTexture = LoadTextureSlot(kColormapFile);
}

int MapDocument::LoadTextureSlot(const char* fileName)
{
    if (!renderer || !fileName)
        return -1;
    return renderer->LoadTexture(fileName);
}

void MapDocument::LoadHeightmap(const char* fileName)
{
    heightmapTexture = LoadTextureSlot(fileName);
    const TextureRecord* record = renderer ? renderer->textures.Record(heightmapTexture) : nullptr;
    if (!record)
        return; // size and spacing keep their values
    // The source image's size, not the size of the texture made from it.
    width = record->width;
    height = record->height;
    spacing = 10;
}

int MapDocument::HitTest(int px, int py) const
{
    // The box edges are truncated toward zero as whole pixels and the bounds
    // are strict, so a marker at a whole-pixel position answers to 15 x 15
    // pixels. The edges are compared as doubles: positions far off the map
    // (or not numbers at all, from a damaged file) must not be converted to
    // int, and simply miss.
    for (size_t i = 0; i < objects.size(); ++i)
    {
        const float sx = MapToViewX(objects[i].x);
        const float sy = MapToViewY(objects[i].y);
        const double left = trunc((double)(sx - kHitHalfSize));
        const double right = trunc((double)(sx + kHitHalfSize));
        const double top = trunc((double)(sy - kHitHalfSize));
        const double bottom = trunc((double)(sy + kHitHalfSize));
        if (left < px && px < right && top < py && py < bottom)
            return (int)i; // the earliest placed wins, not the nearest
    }
    return -1;
}

void MapDocument::AddObject(const PlacedObject& object) { objects.push_back(object); }

void MapDocument::RemoveObject(int index)
{
    if (index < 0 || index >= ObjectCount())
        return;
    // selectedObject is left alone: it now designates the record that
    // followed, or lies past the end.
    objects.erase(objects.begin() + index);
}

const ObjectType* MapDocument::FindObjectType(int type) const
{
    if (type < 0 || (size_t)type >= objectTypes.size())
        return nullptr;
    return &objectTypes[(size_t)type];
}

bool MapDocument::AddObjectType(const char* path)
{
    if (!path || strlen(path) > kMaxObjectTypePath)
        return false;
    objectTypes.push_back(ObjectType{path});
    return true;
}
