// The Tools menu (Select, Brush, Eraser, the brush's size and the
// "Brush..." dialog) and Edit > "Select All of Type", and the Tools menu's
// checks. Commands reach the view's tool and the document here.
#ifndef MAPEDITOR_TOOLCOMMANDS_H
#define MAPEDITOR_TOOLCOMMANDS_H

#include <windows.h>

class EditorApp;

// False when the command is not one of these. `window` owns the dialog.
// The caller brings the menus and the view up to date (RefreshEditMenu).
bool RunToolCommand(EditorApp& editor, HWND window, int command);

// The tool in use checked as a radio item, the palette's counts and toggles.
void RefreshToolsMenu(EditorApp& editor);

#endif
