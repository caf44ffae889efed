// The file choosers (common dialogs) and their filter lists.
#include "app/FileChooser.h"

#include <commdlg.h>
#include <string.h>

#include "app/EditorApp.h"

const char kObjectFileFilter[] = "Map File (*.mob) \0*.mob\0All Files (*.*) \0*.*\0";
const char kMapFileFilter[] = "Map File (*.ini) \0*.ini\0All Files (*.*) \0*.*\0";
const char kObjectDescriptionFilter[] =
    "Object Description (*.ini) \0*.ini\0All Files (*.*) \0*.*\0";
const char kBitmapFilter[] =
    "Bitmap File (*.bmp) \0*.bmp\0Map File (*.map) \0*.map\0All Files (*.*) \0*.*\0";

namespace
{
const DWORD kOpenFlags = OFN_EXPLORER | OFN_CREATEPROMPT | OFN_HIDEREADONLY; // 0x82004
const DWORD kSaveFlags = OFN_CREATEPROMPT | OFN_HIDEREADONLY;                // 0x2004

typedef BOOL(WINAPI* ChooserFunction)(LPOPENFILENAMEA);

bool RunChooser(ChooserFunction chooser, DWORD flags, char (&destination)[kChooserPathSize],
                HWND owner, const char* title, const char* filter)
{
    char file[kChooserPathSize] = "";
    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof(request));
    // The platform's own record size: a 64-bit chooser refuses the 76 bytes of
    // the 32-bit record.
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.nFilterIndex = 0;
    request.lpstrFile = file;
    request.nMaxFile = sizeof(file);
    request.lpstrTitle = title;
    request.lpstrDefExt = "bmp"; // every chooser, whatever its filter
    request.Flags = flags;
    if (!chooser(&request))
        return false;
    file[sizeof(file) - 1] = 0;
    memcpy(destination, file, sizeof(file));
    return true;
}
} // namespace

bool ChooseOpenFile(char (&destination)[kChooserPathSize], HWND owner, const char* title,
                    const char* filter)
{
    return RunChooser(GetOpenFileNameA, kOpenFlags, destination, owner, title, filter);
}

bool ChooseSaveFile(char (&destination)[kChooserPathSize], HWND owner, const char* title,
                    const char* filter)
{
    return RunChooser(GetSaveFileNameA, kSaveFlags, destination, owner, title, filter);
}

void RestoreProgramDirectory()
{
    SetCurrentDirectoryA(app.programDirectory);
}
