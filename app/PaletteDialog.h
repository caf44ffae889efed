// The object palette: a modeless tool window listing the object types, with
// the rotation and the "Randomize" choice for the next placed object.
#ifndef MAPEDITOR_PALETTEDIALOG_H
#define MAPEDITOR_PALETTEDIALOG_H

#include <windows.h>

INT_PTR CALLBACK PaletteDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
