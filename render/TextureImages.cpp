// The document's images as textures of the texture table.
#include "render/TextureImages.h"

#include "render/Renderer.h"

LoadedImage TextureImages::Load(const std::string& fileName)
{
    LoadedImage image;
    image.slot = renderer_.LoadTexture(fileName.c_str());
    const TextureRecord* record = renderer_.textures.Record(image.slot);
    if (!record)
    {
        image.slot = -1;
        image.problem = "it could not be loaded as an image";
        return image;
    }
    image.width = record->width;
    image.height = record->height;
    image.name = record->fileName;
    return image;
}
