// The commands that open, save and leave a map (File menu, Import >
// Heightmap, the close box), with the question before unsaved changes could
// be lost and a message for whatever could not be read or written.
#ifndef MAPEDITOR_FILECOMMANDS_H
#define MAPEDITOR_FILECOMMANDS_H

#include <windows.h>

#include <string>

class EditorApp;

// False when the command is not one of these (File > Recent Maps' entries
// are: one opens its map as File > Open Map does, after the unsaved-changes
// question; an entry whose file is gone is taken off the list and the user
// is told).
bool RunFileCommand(EditorApp& editor, HWND window, int command);

// Opens the map settings file (it goes first on File > Recent Maps) or
// loads the object file, as File > Open Map and Load Objects do once a file
// is chosen, telling the user what could not be read. No question is asked
// here: callers ask ConfirmUnsavedChanges first. False when nothing opened.
bool OpenMapFile(EditorApp& editor, HWND window, const std::string& path);
bool LoadObjectsFile(EditorApp& editor, HWND window, const std::string& path);

// File > Save: the objects and the map settings to the files they came
// from, asking for a name (the Save As choosers) where there is none yet.
// False when cancelled or when a save failed (the user has been told).
bool SaveDocument(EditorApp& editor, HWND window);

// With unsaved changes, asks "Save changes to <name>?": true when the work
// may go on (saved, or not wanted), false for Cancel or a failed save.
bool ConfirmUnsavedChanges(EditorApp& editor, HWND window);

// File > Exit and the close box: after the question, ends the main loop.
void QuitEditor(EditorApp& editor, HWND window, bool endDialog);

#endif
