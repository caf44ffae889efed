// Entry point of MapEditor.exe. The command line and show state are ignored.
#include <windows.h>
#include <commctrl.h>

#include "app/EditorApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The manifest names the version 6 common controls; loading them before
    // the first dialog makes its buttons, boxes and lists the themed ones.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RunEditor(instance);
}
