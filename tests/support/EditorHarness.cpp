// Shared set-up of the Windows test programs.
#include "tests/support/EditorHarness.h"

#include <stdio.h>

#include <algorithm>

#include "app/CommandRouter.h"
#include "app/EditorApp.h"

namespace
{
int startupWidth = 0, startupHeight = 0;

struct TestProgram
{
    CommandRouter router;
    EditorApp editor{router};
    TestProgram() { router.Attach(editor); }
};
TestProgram program;
} // namespace

EditorApp& app = program.editor;

bool StartEditorOnce()
{
    static int state = 0; // 0 not started, 1 running, 2 failed
    if (state == 0)
    {
        // Maps the tests open and save go on a list of the test run's own,
        // never on the user's.
        static TempFolder recentMapsFolder;
        app.Recent().file = recentMapsFolder.File("recent.ini");
        app.SaveProgramDirectory();
        app.CreateWindows(GetModuleHandleA(nullptr));
        ShowWindow(app.Main().Handle(), SW_SHOWMAXIMIZED);
        PumpMessages();
        state = app.Initialise() ? 1 : 2;
        startupWidth = app.Graphics().Width();
        startupHeight = app.Graphics().Height();
        PumpMessages();
    }
    return state == 1;
}

void RestoreStartupBackBuffer()
{
    if (app.Graphics().Width() != startupWidth || app.Graphics().Height() != startupHeight)
        app.Graphics().ResizeBackBuffer(startupWidth, startupHeight, app.Fonts());
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace
{
// An image surface's pixels as 0xAARRGGBB values: of the editor's view
// only, when the surface is the editor's back buffer or kept picture (a back
// buffer may be larger than the view it was drawn for).
bool ReadImageSurface(IDirect3DSurface8* surface, BackBufferPixels* out, bool viewOnly)
{
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (FAILED(surface->GetDesc(&desc)) ||
        FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return false;
    if (viewOnly)
    {
        desc.Width = std::min<UINT>(desc.Width, (UINT)app.Graphics().Width());
        desc.Height = std::min<UINT>(desc.Height, (UINT)app.Graphics().Height());
    }
    out->width = (int)desc.Width;
    out->height = (int)desc.Height;
    out->pixels.assign((size_t)desc.Width * desc.Height, 0);
    for (UINT y = 0; y < desc.Height; ++y)
    {
        const BYTE* row = (const BYTE*)locked.pBits + (size_t)y * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x)
        {
            unsigned value = 0;
            if (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8)
                value = ((const unsigned*)row)[x];
            else if (desc.Format == D3DFMT_R5G6B5)
            {
                const unsigned p = ((const unsigned short*)row)[x];
                value = ((p >> 11) * 255 / 31) << 16 | (((p >> 5) & 63) * 255 / 63) << 8 |
                        ((p & 31) * 255 / 31);
            }
            if (desc.Format != D3DFMT_A8R8G8B8)
                value |= 0xFF000000u;
            out->pixels[(size_t)y * desc.Width + x] = value;
        }
    }
    surface->UnlockRect();
    return true;
}
} // namespace

bool ReadBackBuffer(IDirect3DDevice8* device, BackBufferPixels* out)
{
    if (!device)
        return false;
    IDirect3DSurface8* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    IDirect3DSurface8* copy = nullptr;
    const bool ok =
        SUCCEEDED(device->CreateImageSurface(desc.Width, desc.Height, desc.Format, &copy)) &&
        SUCCEEDED(device->CopyRects(back, nullptr, 0, copy, nullptr)) &&
        ReadImageSurface(copy, out, device == app.Graphics().Device());
    if (copy)
        copy->Release();
    back->Release();
    return ok;
}

bool ReadShownFrame(BackBufferPixels* out)
{
    IDirect3DSurface8* kept = app.View().Presenter().KeptPicture();
    return kept && ReadImageSurface(kept, out, true);
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static unsigned counter = 0;
    char name[MAX_PATH];
    for (;;)
    {
        snprintf(name, sizeof(name), "%smapeditor-test-%lu-%u", base, GetCurrentProcessId(),
                 counter++);
        if (CreateDirectoryA(name, nullptr))
            break;
    }
    path_ = name;
}

TempFolder::~TempFolder()
{
    // Make everything writable again (tests make files read-only), then remove.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string file = path_ + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
                    RemoveDirectoryA(file.c_str());
                continue;
            }
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path_.c_str());
}
