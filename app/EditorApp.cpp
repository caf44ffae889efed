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
}

EditorApp::~EditorApp()
{
    // No frame is drawn from here on; the rest of the teardown order follows
    // from the member order (header).
    view_.EnableFrames(false);
}

void EditorApp::SaveProgramDirectory()
{
    // A directory longer than the buffer is not written: it stays empty and
    // restoring it later changes nothing.
    GetCurrentDirectoryA(sizeof(programDirectory_), programDirectory_);
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
    document_.Init(images_, kStartupHeightmap);
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
