// The modal map properties dialog (Map > Properties).
#ifndef MAPEDITOR_PROPERTIESDIALOG_H
#define MAPEDITOR_PROPERTIESDIALOG_H

#include <windows.h>

class EditorApp;

// Shows the dialog owned by `owner` for the editor's map; returns once it closed.
void ShowPropertiesDialog(EditorApp& editor, HWND owner);

// The dialog's procedure; WM_INITDIALOG's lParam is the EditorApp.
INT_PTR CALLBACK PropertiesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
