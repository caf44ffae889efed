// The document's images loaded as textures of the renderer's texture table:
// the image source the editor hands to the map document.
#ifndef MAPEDITOR_TEXTUREIMAGES_H
#define MAPEDITOR_TEXTUREIMAGES_H

#include "document/ImageSource.h"

class Renderer;

class TextureImages : public ImageSource
{
  public:
    explicit TextureImages(Renderer& renderer) : renderer_(renderer) {}
    // The slot of the texture loaded from the file (or already loaded under
    // that name, case ignored), its source size and the name it is kept under.
    LoadedImage Load(const std::string& fileName) override;

  private:
    Renderer& renderer_;
};

#endif
