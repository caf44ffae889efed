// The status bar below the view: the pointer's map position (as fractions
// and as heightmap cell), the heightmap's value (0-255) at that cell, the
// zoom (view pixels per cell), the object and selected counts, the map
// file's name and the tool. It reads the document and keeps only the
// pointer's place and the tool's name.
#ifndef MAPEDITOR_STATUSBAR_H
#define MAPEDITOR_STATUSBAR_H

#include <windows.h>

#include <string>
#include <vector>

class MapDocument;

class StatusBar
{
  public:
    explicit StatusBar(const MapDocument& document) : document_(document) {}
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    HWND Create(HINSTANCE instance, HWND parent);
    HWND Handle() const { return window_; }

    // The pointer moved to this view point; the fields that follow it change.
    void ShowPointer(int px, int py);
    // Every field again (after an edit, a load, a zoom).
    void Refresh();
    // The tool the view's left button works with ("Select", "Brush", ...).
    void ShowTool(const char* name);

    // The text of one field (for the tests).
    std::string Field(int part) const;

  private:
    void SetPart(int part, const char* text);
    void ShowPointerFields();

    const MapDocument& document_;
    HWND window_ = nullptr;
    std::vector<std::string> shown_; // each part's text as last set
    int pointerX_ = -1, pointerY_ = -1;
    bool pointerKnown_ = false;
    const char* tool_ = "Select";
};

#endif
