// Importing an object type: choose an object description file and add its
// path, relative to the program directory, to the palette and the catalog.
#ifndef MAPEDITOR_OBJECTIMPORT_H
#define MAPEDITOR_OBJECTIMPORT_H

#include <windows.h>

class EditorApp;

// The chooser is owned by `owner`; a refused path is told to the user.
void ImportObjectType(EditorApp& editor, HWND owner);

#endif
