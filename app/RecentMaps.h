// File > Recent Maps: the map settings files last opened or saved, kept per
// user in "<application data>\Map Editor\recent.ini" (the maps themselves
// carry no configuration), and the submenu that shows them. Opening an
// entry is a File command (FileCommands.h).
#ifndef MAPEDITOR_RECENTMAPS_H
#define MAPEDITOR_RECENTMAPS_H

#include <windows.h>

#include <string>

#include "app/WindowsFileSystem.h"
#include "document/RecentFiles.h"

class FileSystem;

class RecentMaps
{
  public:
    explicit RecentMaps(FileSystem& files) : files_(files) {}

    // "<roaming application data>\Map Editor\recent.ini"; empty when the
    // system names no such folder (the list is then kept for the run only).
    static std::string DefaultFile();

    std::string file = DefaultFile();              // tests point it at a folder of their own
    RecentFiles list{WindowsFileSystem::SameName}; // as the submenu shows it

    // Reads the list from its file (a missing or unreadable file is an
    // empty list) and fills the submenu of `window`'s menu bar.
    void Load(HWND window);
    // A map settings file was opened or saved: it goes first on the list,
    // which is written back at once. The file is read again before, so that
    // editors running side by side keep each other's entries.
    void Note(HWND window, const std::string& path);
    // A map that is gone comes off the list (written back at once).
    void Forget(HWND window, const std::string& path);

  private:
    RecentFiles ReadListFile() const;
    void WriteListFile() const;

    FileSystem& files_;
};

// Fills File > Recent Maps from the list: "&1 <path>" and so on, or one
// greyed "(none)".
void FillRecentMapsMenu(HWND window, const RecentFiles& list);
// The submenu itself (null when the menu bar has none).
HMENU RecentMapsMenu(HWND window);

#endif
