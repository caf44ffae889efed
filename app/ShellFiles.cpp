// The command line and files dropped on the main window: which of the given
// files opens, and the names of those that do not.
#include "app/ShellFiles.h"

#include <shellapi.h>

#include "app/FileCommands.h"
#include "app/UserMessages.h"
#include "app/WindowsFileSystem.h"

namespace
{
enum class GivenKind
{
    Map,
    Objects,
    Other
};

GivenKind KindOf(const std::string& path)
{
    const size_t dot = path.find_last_of(".\\/");
    if (dot == std::string::npos || path[dot] != '.')
        return GivenKind::Other;
    const std::string extension = path.substr(dot);
    if (lstrcmpiA(extension.c_str(), ".ini") == 0)
        return GivenKind::Map;
    if (lstrcmpiA(extension.c_str(), ".mob") == 0)
        return GivenKind::Objects;
    return GivenKind::Other;
}

// The editor keeps names in the active code page (UTF-8 where the manifest
// is honoured), as the "A" functions take them.
std::string Narrow(const wchar_t* wide)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string text((size_t)size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], size, nullptr, nullptr);
    text.resize((size_t)size - 1);
    return text;
}

std::wstring FullPath(const wchar_t* name)
{
    const DWORD size = GetFullPathNameW(name, 0, nullptr, nullptr);
    if (size == 0)
        return name;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(name, size, &full[0], nullptr));
    return full;
}
} // namespace

std::vector<std::string> CommandLineFiles(const wchar_t* commandLine)
{
    std::vector<std::string> files;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return files;
    for (int i = 1; i < count; ++i)
        if (arguments[i][0])
            files.push_back(Narrow(FullPath(arguments[i]).c_str()));
    LocalFree(arguments);
    return files;
}

bool OpenGivenFiles(EditorApp& editor, HWND window, const std::vector<std::string>& paths)
{
    std::vector<std::string> problems;
    std::string chosen;
    for (const std::string& path : paths)
    {
        if (KindOf(path) == GivenKind::Other)
            problems.push_back(path + " was not opened: the editor opens map settings files "
                                      "(.ini) and object files (.mob).");
        else if (!chosen.empty())
            problems.push_back(path + " was not opened: one file opens at a time.");
        else if (!WindowsFileSystem::Exists(path))
            problems.push_back(path + " was not found.");
        else
            chosen = path;
    }
    // Told first: what follows may ask a question and open a map.
    ShowProblems(window, problems);
    if (chosen.empty() || !ConfirmUnsavedChanges(editor, window))
        return false;
    return KindOf(chosen) == GivenKind::Map ? OpenMapFile(editor, window, chosen)
                                            : LoadObjectsFile(editor, window, chosen);
}

void OnDropFiles(EditorApp& editor, HWND window, HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i)
    {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        DragQueryFileW(drop, i, &name[0], (UINT)name.size());
        paths.push_back(Narrow(name.c_str()));
    }
    DragFinish(drop);
    OpenGivenFiles(editor, window, paths);
}
