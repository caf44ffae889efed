// The main window: a dialog without controls whose client area is the map
// view. Its procedure turns messages into the editor's actions.
#ifndef MAPEDITOR_MAINWINDOW_H
#define MAPEDITOR_MAINWINDOW_H

#include <windows.h>

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The timer that looks every few seconds whether a copy of unsaved work is due.
const UINT_PTR kAutosaveTimer = 1;
const UINT kAutosaveCheckMilliseconds = 10000;

// The menu commands, by command id (WM_COMMAND's low word).
void RunMainWindowCommand(HWND window, int command);

// View > Zoom: one heightmap pixel spans 2 x factor view pixels; the scroll
// returns to the map's top-left corner.
void Zoom(int factor);

#endif
