// Loading the images a map names (colormap, heightmap, detail map, object
// marker): the document only records where an image went and how large its
// source was; the pixels live with whoever draws them (the editor's texture
// table). No Windows API.
#ifndef MAPEDITOR_IMAGESOURCE_H
#define MAPEDITOR_IMAGESOURCE_H

#include <string>

#include "document/HeightSamples.h"

struct LoadedImage
{
    int slot = -1; // where the image now lives, -1 when it could not be loaded
    int width = 0; // the source image's size in pixels
    int height = 0;
    std::string name;      // the name it is known under (the spelling it was first loaded with)
    std::string problem;   // why it could not be loaded, in plain words; empty when it loaded
    HeightSamples samples; // its grey values, from LoadHeightmap only
};

class ImageSource
{
  public:
    virtual ~ImageSource() = default;
    // Loads the image file, or finds it already loaded under this name.
    virtual LoadedImage Load(const std::string& fileName) = 0;
    // The same for a heightmap, with its grey values in `samples` when the
    // source can read them (decoded once, here, for whoever needs heights).
    virtual LoadedImage LoadHeightmap(const std::string& fileName) { return Load(fileName); }
};

#endif
