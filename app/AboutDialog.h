// Help > About: a small modal dialog with the editor's name, version and
// build date.
#ifndef MAPEDITOR_ABOUTDIALOG_H
#define MAPEDITOR_ABOUTDIALOG_H

#include <windows.h>

// Shows the dialog owned by `owner` (disabled while it is open) and returns
// once the user has closed it.
void ShowAboutDialog(HWND owner);

#endif
