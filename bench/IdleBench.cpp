// The editor as a user starts it: MapEditor.exe of the laid-out program
// directory (build/win/dist/editor) started as a process of its own. Prints
// the time from CreateProcess to the first frame in its view (its red
// object count shows on the screen), then the process's CPU seconds (user and kernel)
// over 10 idle seconds with the editor in the foreground and 10 more with
// another window in front. Closes the editor with WM_CLOSE at the end. Run
// under Wine, the times are those after Wine has started (this program
// already runs in it). Never passes or fails on time.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "bench/BenchClock.h"
#include "bench/EditorProcess.h"

namespace
{
const double kIdleSeconds = 10.0;
const double kSettleSeconds = 2.0;
const double kStartTimeout = 60.0;

double CpuSeconds(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1.0;
    const auto seconds = [](const FILETIME& t)
    { return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

// The CPU seconds the process takes over the given wall-clock seconds,
// while this program sleeps (and answers its own window's messages).
double CpuOver(HANDLE process, double seconds)
{
    const double before = CpuSeconds(process);
    const double end = Now() + seconds;
    while (Now() < end)
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(20);
    }
    return CpuSeconds(process) - before;
}
} // namespace

int main()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    char* slash = length && length < sizeof(path) ? strrchr(path, '\\') : nullptr;
    if (!slash)
        return 1;
    *slash = '\0';
    const std::string folder = std::string(path) + "\\..\\dist\\editor";
    PROCESS_INFORMATION editor;
    const double started = Now();
    if (!StartEditor(folder, std::string(), &editor))
    {
        printf("idle_bench: MapEditor.exe did not start from %s (build the dist target)\n",
               folder.c_str());
        return 1;
    }

    // The first frame: what it draws shows on the screen.
    HWND editorWindow = nullptr;
    double firstFrame = -1.0;
    while (Now() - started < kStartTimeout && firstFrame < 0)
    {
        if (!editorWindow)
            editorWindow = FindEditorWindow(editor.dwProcessId);
        HWND view =
            editorWindow ? FindWindowExA(editorWindow, nullptr, "MapEditorView", nullptr) : nullptr;
        if (view && RedPixels(view, 0, 60) > 20)
            firstFrame = Now() - started;
        if (firstFrame < 0)
            Sleep(2);
    }
    if (firstFrame < 0)
    {
        printf("idle_bench: no frame in the editor's view within %.0f s\n", kStartTimeout);
        TerminateProcess(editor.hProcess, 1);
        return 1;
    }

    // Each measurement starts once the window's activation (which repaints)
    // has settled.
    SetForegroundWindow(editorWindow);
    CpuOver(editor.hProcess, kSettleSeconds);
    const double foreground = CpuOver(editor.hProcess, kIdleSeconds);

    // Another window in front of it.
    HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "in front", WS_POPUP | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    const bool behind = GetForegroundWindow() != editorWindow;
    CpuOver(editor.hProcess, kSettleSeconds);
    const double background = CpuOver(editor.hProcess, kIdleSeconds);
    DestroyWindow(other);

    printf("MapEditor.exe on the sample map, started by CreateProcess\n\n");
    printf("| measure | value |\n|---|---:|\n");
    printf("| process start to first frame in the view | %.0f ms |\n", firstFrame * 1e3);
    printf("| CPU over %.0f idle s, in the foreground | %.3f s |\n", kIdleSeconds, foreground);
    printf("| CPU over %.0f idle s, another window in front%s | %.3f s |\n", kIdleSeconds,
           behind ? "" : " (it did not come to the front)", background);

    PostMessageA(editorWindow, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(editor.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(editor.hProcess, 1);
    CloseHandle(editor.hThread);
    CloseHandle(editor.hProcess);
    return 0;
}
