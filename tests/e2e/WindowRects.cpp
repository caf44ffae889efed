// Where the editor's windows are, for the end-to-end session: run in the
// same Wine desktop as the editor, it writes the screen rectangles (client
// areas) of the main window's view, docked palette, the palette's Remove
// button and status bar to the file named on its command line, one
// "name x y width height" per line, the window with the keyboard as
// "focus <class> <control id>", and last the status bar's first field as
// "status-text <text>". With "resize W H" after the file name it first
// gives the main window that outer size, as a user dragging its frame would.
// Child windows have no X windows of their own, so the session cannot find
// them on the X display.
#include <windows.h>

#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{
HWND found = nullptr;

BOOL CALLBACK FindMain(HWND window, LPARAM)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof(title));
    const char ending[] = " - Map Editor 1.4a";
    const size_t length = strlen(title), end = sizeof(ending) - 1;
    if (length > end && strcmp(title + length - end, ending) == 0 && IsWindowVisible(window))
    {
        found = window;
        return FALSE;
    }
    return TRUE;
}

void Write(FILE* out, const char* name, HWND window)
{
    RECT client;
    if (!window || !IsWindowVisible(window) || !GetClientRect(window, &client))
        return;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    fprintf(out, "%s %ld %ld %ld %ld\n", name, origin.x, origin.y, client.right, client.bottom);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    EnumWindows(FindMain, 0);
    if (!found)
        return 1;
    if (argc == 5 && strcmp(argv[2], "resize") == 0)
    {
        ShowWindow(found, SW_RESTORE);
        SetWindowPos(found, nullptr, 0, 0, atoi(argv[3]), atoi(argv[4]),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FILE* out = fopen(argv[1], "w");
    if (!out)
        return 2;
    Write(out, "main", found);
    Write(out, "view", FindWindowExA(found, nullptr, "MapEditorView", nullptr));
    HWND palette = FindWindowExA(found, nullptr, "#32770", "Objects");
    Write(out, "palette", palette);
    Write(out, "floating", FindWindowA("#32770", "Objects"));
    Write(out, "remove", GetDlgItem(palette, 1012)); // IDC_REMOVE
    HWND status = FindWindowExA(found, nullptr, "msctls_statusbar32", nullptr);
    Write(out, "status", status);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    char kind[64] = "none";
    if (GetGUIThreadInfo(GetWindowThreadProcessId(found, nullptr), &thread) && thread.hwndFocus)
        GetClassNameA(thread.hwndFocus, kind, sizeof(kind));
    fprintf(out, "focus %s %d\n", kind, thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : 0);
    // The status bar's first field (the pointer's position), read into
    // memory of the editor's process: SB_GETTEXT is not carried across.
    char text[256] = "";
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    HANDLE editor = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, process);
    void* remote = editor
                       ? VirtualAllocEx(editor, nullptr, sizeof(text), MEM_COMMIT, PAGE_READWRITE)
                       : nullptr;
    if (status && remote)
    {
        SendMessageA(status, SB_GETTEXTA, 0, (LPARAM)remote);
        ReadProcessMemory(editor, remote, text, sizeof(text) - 1, nullptr);
        VirtualFreeEx(editor, remote, 0, MEM_RELEASE);
    }
    if (editor)
        CloseHandle(editor);
    fprintf(out, "status-text %s\n", text);
    fclose(out);
    return 0;
}
