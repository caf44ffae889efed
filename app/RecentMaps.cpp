// File > Recent Maps: the list's file in the user's application data and
// the submenu.
#include "app/RecentMaps.h"

#include <shlobj.h>

#include <vector>

#include "document/FileSystem.h"
#include "resource.h"

namespace
{
const char kNoEntries[] = "(none)";
static_assert(ID_FILE_RECENT_LAST - ID_FILE_RECENT_FIRST + 1 == RecentFiles::kLimit,
              "one command id per entry of the list");
} // namespace

// The list as it is on the disk now; a missing or unreadable file is an
// empty list.
RecentFiles RecentMaps::ReadListFile() const
{
    RecentFiles read(WindowsFileSystem::SameName);
    std::vector<unsigned char> bytes;
    if (!file.empty() && files_.ReadWholeFile(file, &bytes) == FileError::None)
        read.Read(std::string(bytes.begin(), bytes.end()));
    return read;
}

// Writes the list, making the folder it lives in when it is not there yet.
// A list that cannot be written is not worth a message: the menu still
// shows it for this run.
void RecentMaps::WriteListFile() const
{
    if (file.empty())
        return;
    const size_t folderEnd = file.find_last_of("\\/");
    if (folderEnd != std::string::npos)
        CreateDirectoryA(file.substr(0, folderEnd).c_str(), nullptr);
    const std::string text = list.Write();
    files_.ReplaceWholeFile(file, text.data(), text.size());
}

void RecentMaps::Forget(HWND window, const std::string& path)
{
    list = ReadListFile();
    list.Remove(path);
    WriteListFile();
    FillRecentMapsMenu(window, list);
}

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

void RecentMaps::Load(HWND window)
{
    list = ReadListFile();
    FillRecentMapsMenu(window, list);
}

void RecentMaps::Note(HWND window, const std::string& path)
{
    list = ReadListFile();
    list.Add(path);
    WriteListFile();
    FillRecentMapsMenu(window, list);
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

void FillRecentMapsMenu(HWND window, const RecentFiles& list)
{
    HMENU menu = RecentMapsMenu(window);
    if (!menu)
        return;
    while (GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, 0, MF_BYPOSITION);
    const std::vector<std::string>& paths = list.Paths();
    for (size_t i = 0; i < paths.size(); ++i)
        AppendMenuA(menu, MF_STRING, ID_FILE_RECENT_FIRST + i,
                    RecentFiles::MenuText(i, paths[i]).c_str());
    if (paths.empty())
        AppendMenuA(menu, MF_STRING | MF_GRAYED, ID_FILE_RECENT_FIRST, kNoEntries);
}
