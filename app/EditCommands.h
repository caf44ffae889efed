// The Edit menu (undo and redo, the clipboard, delete, selecting, the type
// and turn of the selection), the right-click popup's two commands, the
// palette's list kept showing the catalog, and the menu items that follow
// the document's state (the undo and redo texts, "Snap to Cells").
#ifndef MAPEDITOR_EDITCOMMANDS_H
#define MAPEDITOR_EDITCOMMANDS_H

#include <windows.h>

// False when the command is not one of these.
bool RunEditCommand(HWND window, int command);

// "Undo Move 3 Objects" / "Redo Delete", greyed when there is nothing to
// undo or redo; "Snap to Cells" checked as the document says; the title
// ("area1.ini* - Map Editor 1.4a"); and a copy of unsaved work when one is
// due.
void RefreshEditMenu(HWND window);

// Rebuilds the palette's list from the catalog when the catalog changed
// since the list was last filled, selecting the current type's row again.
void SyncPaletteList();
// Rebuilds it whatever changed, with no row selected (after a load).
void RebuildPaletteList();

#endif
