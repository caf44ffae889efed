// The object palette: a modeless tool window listing the object types, with
// the rotation and the "Randomize" choice for the next placed object.
#ifndef MAPEDITOR_PALETTEDIALOG_H
#define MAPEDITOR_PALETTEDIALOG_H

#include <windows.h>

INT_PTR CALLBACK PaletteDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The height in pixels of the controls row above the list: 25 pixels at
// 96 DPI scaled to `dpi`, or, where the window's DPI is not known (dpi 0),
// the row's height in the palette's dialog units.
int PaletteControlsRowHeight(HWND palette, UINT dpi);

#endif
