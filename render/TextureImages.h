// The document's images loaded as textures of the renderer's texture table:
// the image source the editor hands to the map document. When an image
// cannot be loaded, the file is looked at again to say why in plain words.
#ifndef MAPEDITOR_TEXTUREIMAGES_H
#define MAPEDITOR_TEXTUREIMAGES_H

#include "document/FileSystem.h"
#include "document/ImageSource.h"

class Renderer;

class TextureImages : public ImageSource
{
  public:
    TextureImages(Renderer& renderer, FileSystem& files) : renderer_(renderer), files_(files) {}
    // The slot of the texture loaded from the file (or already loaded under
    // that name, case ignored, from the unchanged file), its source size and
    // the name it is kept under.
    LoadedImage Load(const std::string& fileName) override;
    // The same, with the heightmap's grey values (its red channel) decoded
    // from the file once here; none when the texture could not be made.
    LoadedImage LoadHeightmap(const std::string& fileName) override;

    // Why the file cannot be made a texture: missing, unreadable, not an
    // image the decoders know, too large, or refused by the device.
    static std::string WhyNotLoaded(FileSystem& files, const std::string& fileName);

  private:
    Renderer& renderer_;
    FileSystem& files_;
};

#endif
