// The file choosers (common dialogs), the kinds of file they choose and
// their filter lists.
#include "app/FileChooser.h"

#include <commdlg.h>
#include <string.h>

#include <vector>

#include "app/WindowsFileSystem.h"

const char kObjectFileFilter[] = "Object Files (*.mob)\0*.mob\0All Files (*.*)\0*.*\0";
const char kMapFileFilter[] = "Map Files (*.ini)\0*.ini\0All Files (*.*)\0*.*\0";
const char kObjectDescriptionFilter[] =
    "Object Descriptions (*.ini)\0*.ini\0All Files (*.*)\0*.*\0";
const char kImageFilter[] = "Images (*.bmp;*.png;*.jpg;*.jpeg;*.tga;*.dds;*.ppm;*.pgm)\0"
                            "*.bmp;*.png;*.jpg;*.jpeg;*.tga;*.dds;*.ppm;*.pgm\0"
                            "Bitmap Files (*.bmp)\0*.bmp\0All Files (*.*)\0*.*\0";

const FileKind kOpenMapKind = {"Open Map File", kMapFileFilter, "ini"};
const FileKind kSaveMapKind = {"Save Map File", kMapFileFilter, "ini"};
const FileKind kOpenObjectsKind = {"Open Object File", kObjectFileFilter, "mob"};
const FileKind kSaveObjectsKind = {"Save Object File", kObjectFileFilter, "mob"};
const FileKind kImportObjectKind = {"Import Object", kObjectDescriptionFilter, "ini"};
const FileKind kOpenHeightmapKind = {"Open Heightmap", kImageFilter, "bmp"};

namespace
{
// Open: only names of existing files. Save: replacing a file is asked
// first, by the editor rather than the chooser (whose own question and
// folder check refuse paths longer than MAX_PATH under Wine); a save into a
// folder that does not exist fails with a message.
const DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
const DWORD kSaveFlags = OFN_EXPLORER | OFN_HIDEREADONLY;

// Room for any path Windows takes.
const size_t kPathRoom = 32768;

typedef BOOL(WINAPI* ChooserFunction)(LPOPENFILENAMEA);

bool RunChooser(ChooserFunction chooser, DWORD flags, bool offerName, std::string* chosen,
                HWND owner, const FileKind& kind, const std::string& current)
{
    std::vector<char> file(kPathRoom, '\0');
    // The folder of the current file, and (saving) its name to start from.
    std::string folder;
    const size_t separator = current.find_last_of("\\/");
    if (separator != std::string::npos)
    {
        // The folder's full name, of whatever length it has.
        const std::string given = current.substr(0, separator + 1);
        std::string full(GetFullPathNameA(given.c_str(), 0, nullptr, nullptr), '\0');
        const DWORD length =
            full.empty() ? 0
                         : GetFullPathNameA(given.c_str(), (DWORD)full.size(), &full[0], nullptr);
        folder = length > 0 && length < full.size() ? full.substr(0, length) : given;
    }
    if (offerName && !current.empty() && current.size() < kPathRoom)
    {
        const std::string name =
            separator == std::string::npos ? current : current.substr(separator + 1);
        memcpy(file.data(), name.c_str(), name.size());
    }
    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof(request));
    // The platform's own record size: a 64-bit chooser refuses the 76 bytes of
    // the 32-bit record.
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = kind.filter;
    request.nFilterIndex = 0;
    request.lpstrFile = file.data();
    request.nMaxFile = (DWORD)file.size();
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrTitle = kind.title;
    request.lpstrDefExt = kind.defaultExtension;
    request.Flags = flags;
    if (!chooser(&request))
        return false;
    file.back() = 0;
    *chosen = file.data();
    return true;
}
} // namespace

bool ChooseOpenFile(std::string* chosen, HWND owner, const FileKind& kind,
                    const std::string& current)
{
    return RunChooser(GetOpenFileNameA, kOpenFlags, false, chosen, owner, kind, current);
}

bool ChooseSaveFile(std::string* chosen, HWND owner, const FileKind& kind,
                    const std::string& current)
{
    std::string start = current;
    for (;;)
    {
        if (!RunChooser(GetSaveFileNameA, kSaveFlags, true, chosen, owner, kind, start))
            return false;
        if (!WindowsFileSystem::Exists(*chosen))
            return true;
        const size_t separator = chosen->find_last_of("\\/");
        const std::string question =
            chosen->substr(separator == std::string::npos ? 0 : separator + 1) +
            " already exists.\nDo you want to replace it?";
        if (MessageBoxA(owner, question.c_str(), kind.title, MB_YESNO | MB_ICONWARNING) == IDYES)
            return true;
        start = *chosen; // the chooser again, at the same name
    }
}

void RestoreProgramDirectory(const char* programDirectory)
{
    SetCurrentDirectoryA(programDirectory);
}
