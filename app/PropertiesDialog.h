// The modal map properties dialog (Map > Properties).
#ifndef MAPEDITOR_PROPERTIESDIALOG_H
#define MAPEDITOR_PROPERTIESDIALOG_H

#include <windows.h>

INT_PTR CALLBACK PropertiesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
