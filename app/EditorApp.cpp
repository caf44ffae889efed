// The application object's parts and its start-up steps (see EditorApp.h).
#include "app/EditorApp.h"

#include <mmsystem.h>
#include <stdlib.h>

namespace
{
const char kStartupHeightmap[] = "..\\maps\\area1.bmp";
const char kStatusFontName[] = "Tahoma";
const char kLabelFontName[] = "tahoma";
const float kFarPlane = 1000.0f;
} // namespace

EditorApp::EditorApp(EditorEvents& events)
    : palette_(document_, events), view_(document_, renderer_, fonts_, status_, palette_, events),
      main_(view_, palette_, status_, events)
{
    // Image files are read through the same file system as every other file.
    renderer_.ReadFilesThrough(&files_);
}

EditorApp::~EditorApp()
{
    // No frame is drawn from here on; the rest of the teardown order follows
    // from the member order (header).
    view_.EnableFrames(false);
}

void EditorApp::UseProgramDirectory(const std::string& folder)
{
    programDirectory_ = folder;
    SetCurrentDirectoryA(folder.c_str());
}

void EditorApp::SaveProgramDirectory()
{
    // Asked for its length first: a directory of any length is kept whole.
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring current(size, L'\0');
    current.resize(size > 0 ? GetCurrentDirectoryW(size, &current[0]) : 0);
    programDirectory_ = WindowsFileSystem::NarrowName(current);
}

std::string EditorApp::ExecutableFolder()
{
    // GetModuleFileNameW cuts a name that does not fit: the room doubles
    // until the whole name (and its terminator) fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], (DWORD)path.size());
        if (length == 0)
            return std::string();
        if (length < path.size())
        {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // The folder without its last separator, except a drive's root ("C:\").
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return std::string();
    const bool root = separator == 2 && path[1] == L':';
    return WindowsFileSystem::NarrowName(path.substr(0, root ? separator + 1 : separator));
}

void EditorApp::CreateWindows(HINSTANCE instance)
{
    instance_ = instance;
    main_.Create(instance);
    view_.Create(instance, main_.Handle());
    status_.Create(instance, main_.Handle());
    palette_.Create(instance, main_.Handle());
    main_.AdoptChildren(instance);
}

bool EditorApp::Initialise()
{
    if (renderer_.CreateDevice(view_.Handle(), kFarPlane) != 0)
        return false;
    fonts_.SetOwner(renderer_.Device());
    startupProblems_.clear();
    document_.Init(images_, kStartupHeightmap, &startupProblems_);
    // Asked before the status text asks for "Tahoma", so this creates the
    // entry that both then share.
    const int labelFont = fonts_.FindOrRegister(kLabelFontName);
    IDirect3DDevice8* device = renderer_.Device();
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    renderer_.SetBackground(0, 0, 255);
    view_.EnableFrames(labelFont, fonts_.FindOrRegister(kStatusFontName));
    srand(timeGetTime());
    return true;
}
