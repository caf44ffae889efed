// Helpers of the native document suites: real files in a temporary folder,
// an image source that knows a table of image files (it counts what is asked
// of it; the pixels are not its business), objects, and the document's state
// as one comparable text.
#ifndef MAPEDITOR_TESTS_DOCUMENTTESTSUPPORT_H
#define MAPEDITOR_TESTS_DOCUMENTTESTSUPPORT_H

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document/ImageSource.h"
#include "document/MapDocument.h"
#include "document/StdioFileSystem.h"

#include "tests/support/TestFiles.h" // files, MakeObject, StateOf

// A fresh empty folder, removed with everything in it at the end.
class TempFolder
{
  public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Images that "exist" by name (case ignored) with a size; each new name
// takes the next slot, a name already loaded (case ignored) its slot again.
class FakeImages : public ImageSource
{
  public:
    void Add(const std::string& name, int width, int height);
    LoadedImage Load(const std::string& fileName) override;
    std::vector<std::string> requests; // every name asked for, in order
    std::vector<std::string> slots;    // the name each slot was loaded under

  private:
    struct Size
    {
        int width, height;
    };
    std::map<std::string, Size> files_; // by lower-case name
};

// The sample map's images at their sizes (256 x 256 heightmap), under the
// names the editor and the sample map use.
void AddSampleImages(FakeImages* images);

// The folder of the committed sample content (maps/, objects/, art/).
std::string SampleFolder();

// The bytes an object placement file of the document would hold.
Bytes ObjectFileBytes(const MapDocument& document);

#endif
