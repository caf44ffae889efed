// The status bar below the view: the pointer's map position (as fractions
// and as heightmap cell), the heightmap's value (0-255) at that cell, the
// zoom (view pixels per cell), the object and selected counts, and the map
// file's name.
#ifndef MAPEDITOR_STATUSBAR_H
#define MAPEDITOR_STATUSBAR_H

#include <windows.h>

#include <string>

HWND CreateStatusBar(HINSTANCE instance, HWND parent);

// The pointer moved to this view point; the fields that follow it change.
void ShowPointerInStatusBar(int px, int py);
// Every field again (after an edit, a load, a zoom).
void RefreshStatusBar();

// The text of one field (for the tests).
std::string StatusBarField(int part);

#endif
