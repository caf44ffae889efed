// File > Recent Maps: the list's file in the user's application data, the
// submenu, and opening an entry.
#include "app/RecentMaps.h"

#include <shlobj.h>

#include <vector>

#include "app/EditorApp.h"
#include "app/FileCommands.h"
#include "app/UserMessages.h"
#include "app/WindowsFileSystem.h"
#include "resource.h"

namespace
{
const char kNoEntries[] = "(none)";
static_assert(ID_FILE_RECENT_LAST - ID_FILE_RECENT_FIRST + 1 == RecentFiles::kLimit,
              "one command id per entry of the list");

// The list as it is on the disk now; a missing or unreadable file is an
// empty list.
RecentFiles ReadListFile()
{
    RecentFiles read;
    std::vector<unsigned char> bytes;
    if (!app.recentMaps.file.empty() &&
        app.files.ReadWholeFile(app.recentMaps.file, &bytes) == FileError::None)
        read.Read(std::string(bytes.begin(), bytes.end()));
    return read;
}

// Writes the list, making the folder it lives in when it is not there yet.
// A list that cannot be written is not worth a message: the menu still
// shows it for this run.
void WriteListFile()
{
    const std::string& file = app.recentMaps.file;
    if (file.empty())
        return;
    const size_t folderEnd = file.find_last_of("\\/");
    if (folderEnd != std::string::npos)
        CreateDirectoryA(file.substr(0, folderEnd).c_str(), nullptr);
    const std::string text = app.recentMaps.list.Write();
    app.files.ReplaceWholeFile(file, text.data(), text.size());
}

void ForgetRecentMap(const std::string& path)
{
    app.recentMaps.list = ReadListFile();
    app.recentMaps.list.Remove(path);
    WriteListFile();
    FillRecentMapsMenu(app.mainWindow);
}

void OpenRecentMap(HWND window, size_t index)
{
    const std::vector<std::string>& paths = app.recentMaps.list.Paths();
    if (index >= paths.size())
        return;
    const std::string path = paths[index]; // the list changes below
    // Asked only when there is a file to open instead of the work.
    if (!WindowsFileSystem::Exists(path))
    {
        ForgetRecentMap(path);
        ShowProblem(window, "The map " + path +
                                " was not found. It has been taken off File > Recent Maps.");
        return;
    }
    if (ConfirmUnsavedChanges(window))
        OpenMapFile(window, path);
}
} // namespace

std::string RecentMaps::DefaultFile()
{
    char base[MAX_PATH] = "";
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, base)))
        return std::string(base) + "\\Map Editor\\recent.ini";
    const DWORD length = GetEnvironmentVariableA("APPDATA", base, sizeof(base));
    if (length > 0 && length < sizeof(base))
        return std::string(base) + "\\Map Editor\\recent.ini";
    return std::string();
}

void LoadRecentMaps()
{
    app.recentMaps.list = ReadListFile();
    FillRecentMapsMenu(app.mainWindow);
}

void NoteRecentMap(const std::string& path)
{
    app.recentMaps.list = ReadListFile();
    app.recentMaps.list.Add(path);
    WriteListFile();
    FillRecentMapsMenu(app.mainWindow);
}

HMENU RecentMapsMenu(HWND window)
{
    // The submenu is the one of the File menu whose first item has the
    // first entry's id: found by content, so items may move around it.
    HMENU file = GetSubMenu(GetMenu(window), 0);
    for (int i = 0, count = file ? GetMenuItemCount(file) : 0; i < count; ++i)
    {
        HMENU sub = GetSubMenu(file, i);
        if (sub && GetMenuItemID(sub, 0) == ID_FILE_RECENT_FIRST)
            return sub;
    }
    return nullptr;
}

void FillRecentMapsMenu(HWND window)
{
    HMENU menu = RecentMapsMenu(window);
    if (!menu)
        return;
    while (GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, 0, MF_BYPOSITION);
    const std::vector<std::string>& paths = app.recentMaps.list.Paths();
    for (size_t i = 0; i < paths.size(); ++i)
        AppendMenuA(menu, MF_STRING, ID_FILE_RECENT_FIRST + i,
                    RecentFiles::MenuText(i, paths[i]).c_str());
    if (paths.empty())
        AppendMenuA(menu, MF_STRING | MF_GRAYED, ID_FILE_RECENT_FIRST, kNoEntries);
}

bool RunRecentMapCommand(HWND window, int command)
{
    if (command < ID_FILE_RECENT_FIRST || command > ID_FILE_RECENT_LAST)
        return false;
    OpenRecentMap(window, (size_t)(command - ID_FILE_RECENT_FIRST));
    return true;
}
