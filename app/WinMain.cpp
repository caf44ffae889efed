// Entry point of MapEditor.exe. The command line and show state are ignored.
#include <windows.h>

#include "app/EditorApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunEditor(instance);
}
