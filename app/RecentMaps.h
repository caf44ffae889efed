// File > Recent Maps: the map settings files last opened or saved, kept per
// user in "<application data>\Map Editor\recent.ini" (the maps themselves
// carry no configuration), shown in the submenu and opened from it.
#ifndef MAPEDITOR_RECENTMAPS_H
#define MAPEDITOR_RECENTMAPS_H

#include <windows.h>

#include <string>

#include "document/RecentFiles.h"

struct RecentMaps
{
    // "<roaming application data>\Map Editor\recent.ini"; empty when the
    // system names no such folder (the list is then kept for the run only).
    static std::string DefaultFile();

    std::string file = DefaultFile(); // tests point it at a folder of their own
    RecentFiles list;                 // as the submenu shows it
};

// Reads the list from its file; a missing or unreadable file is an empty list.
void LoadRecentMaps();

// A map settings file was opened or saved: it goes first on the list, which
// is written back at once. The file is read again before, so that editors
// running side by side keep each other's entries.
void NoteRecentMap(const std::string& path);

// Fills File > Recent Maps from the list: "&1 <path>" and so on, or one
// greyed "(none)".
void FillRecentMapsMenu(HWND window);
// The submenu itself (null when the menu bar has none).
HMENU RecentMapsMenu(HWND window);

// An entry of File > Recent Maps: opened as File > Open Map opens a file,
// after the unsaved-changes question; an entry whose file is gone is taken
// off the list and the user is told. False when the command is not one.
bool RunRecentMapCommand(HWND window, int command);

#endif
