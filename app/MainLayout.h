// The main window's client area: the map view, the object palette docked at
// the right edge with a splitter between them (or floating as its own tool
// window), and the status bar along the bottom.
#ifndef MAPEDITOR_MAINLAYOUT_H
#define MAPEDITOR_MAINLAYOUT_H

#include <windows.h>

// Width of the splitter between the view and the docked palette, in pixels.
const int kSplitterWidth = 5;

// Places the view, the splitter, the docked palette and the status bar.
void LayOutMainWindow();

// View > Floating Palette (docked = false) and View > Object Palette.
void DockPalette(bool docked);
void ShowPalette(bool shown);

// The splitter, dragged with the left button in the main window's own client
// area (the strip between the view and the palette). True when the message
// was the splitter's.
bool OnSplitterMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
