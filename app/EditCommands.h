// The Edit menu (undo and redo, the clipboard, delete, selecting, the type
// and turn of the selection), the right-click popup's two commands, View >
// Snap to Cells and Labels, and the menu items that follow the document's
// state (the undo and redo texts, the checks, the title). Commands reach
// the document here.
#ifndef MAPEDITOR_EDITCOMMANDS_H
#define MAPEDITOR_EDITCOMMANDS_H

#include <windows.h>

class EditorApp;

// False when the command is not one of these. `window` owns the clipboard.
bool RunEditCommand(EditorApp& editor, HWND window, int command);

// On the main window: "Undo Move 3 Objects" / "Redo Delete", greyed when
// there is nothing to undo or redo; "Snap to Cells" and the other View
// checks as the document and the windows say; the title ("area1.ini* - Map
// Editor 1.4a"); then the status bar, a frame, and a copy of unsaved work
// when one is due.
void RefreshEditMenu(EditorApp& editor);

#endif
