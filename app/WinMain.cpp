// Entry point of MapEditor.exe. The show state is ignored (the main window
// starts maximised); RunEditor reads the command line itself, in its wide
// form.
#include <windows.h>
#include <commctrl.h>

#include "app/EditorMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The manifest names the version 6 common controls; loading them before
    // the first dialog makes its buttons, boxes and lists the themed ones.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RunEditor(instance);
}
