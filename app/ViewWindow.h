// The map view: the child window of the main window that shows the map and
// takes the pointer and the keys.
#ifndef MAPEDITOR_VIEWWINDOW_H
#define MAPEDITOR_VIEWWINDOW_H

#include <windows.h>

extern const char kViewWindowClass[];

HWND CreateViewWindow(HINSTANCE instance, HWND parent);
LRESULT CALLBACK ViewWindowProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// Asks for one frame: the view is drawn the next time the message queue is
// empty. Frames are drawn only when something changed (or while the right
// button scrolls).
void RequestFrame();

#endif
