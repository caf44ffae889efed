// The main window procedure and the menu commands.
//
// Every message is answered with FALSE (TRUE only for WM_INITDIALOG) so that
// the default dialog handling also runs; WM_PAINT in particular relies on it
// to validate the window after the frame is drawn.
//
// The mouse is captured while a button is held in the view, so that a button
// released outside the window still arrives here; when the capture is lost to
// another window, every button flag is cleared so that nothing keeps
// scrolling or dragging.
#include "app/MainWindow.h"

#include <windowsx.h>

#include "app/AboutDialog.h"
#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/ObjectImport.h"
#include "app/PointerEditing.h"
#include "app/PropertiesDialog.h"
#include "resource.h"

namespace
{

void OnSize(LPARAM lParam)
{
    app.ResizeBackBuffer(LOWORD(lParam), HIWORD(lParam), app.fonts);
}

void OnActivate(WPARAM wParam)
{
    windowActive = LOWORD(wParam) != WA_INACTIVE;
}

void OnPaint()
{
    if (app.initialised)
        app.DrawFrame();
}

// Button messages carry client coordinates as signed 16-bit values: with the
// mouse captured, points left of or above the window are negative.
void OnMouseMove(LPARAM lParam)
{
    if (app.leftButtonDown)
        EditAtPointer(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), PointerMode::Edit);
}

// The press is told apart from the movements that follow: it alone decides
// which object, if any, the movements drag.
void OnLeftButtonDown(HWND window, LPARAM lParam)
{
    app.leftButtonDown = true;
    SetCapture(window);
    EditAtPointer(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), PointerMode::Press);
}

// Gives the capture back once no button is held any more.
void ReleaseCaptureWhenIdle(WPARAM buttons)
{
    if (!(buttons & (MK_LBUTTON | MK_RBUTTON)))
        ReleaseCapture();
}

void OnLeftButtonUp(WPARAM wParam)
{
    EndPointerPress();
    ReleaseCaptureWhenIdle(wParam);
}

void OnRightButtonDown(HWND window, LPARAM lParam)
{
    app.rightButtonDown = true;
    app.rightPressX = GET_X_LPARAM(lParam);
    app.rightPressY = GET_Y_LPARAM(lParam);
    SetCapture(window);
}

void ShowPopupMenu(HWND window, int x, int y)
{
    // Its two commands act where it was opened.
    app.popupX = x;
    app.popupY = y;
    HMENU menu = LoadMenuA(instanceHandle, MAKEINTRESOURCEA(IDR_POPUP));
    if (!menu)
        return;
    POINT at = {0, 0};
    GetCursorPos(&at);
    TrackPopupMenu(GetSubMenu(menu, 0), 0, at.x, at.y, 0, window, nullptr);
    // Lets the menu close correctly when the user clicks elsewhere.
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void OnRightButtonUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    app.rightButtonDown = false;
    ReleaseCaptureWhenIdle(wParam);
    // Only a release exactly where the button went down opens the popup.
    if (GET_X_LPARAM(lParam) == app.rightPressX && GET_Y_LPARAM(lParam) == app.rightPressY)
        ShowPopupMenu(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void OnCaptureChanged(HWND window, LPARAM lParam)
{
    if ((HWND)lParam == window)
        return;
    CancelPointerPress();
    app.rightButtonDown = false;
}

// The file commands: a chooser, the program directory restored whether or not
// a file was chosen, then the document operation on the chosen path.
struct FileCommand
{
    int command;
    bool save; // the save chooser instead of the open chooser
    const char* title;
    const char* filter;
    void (*run)(const char* path);
};

const FileCommand kFileCommands[] = {
    {ID_FILE_OPENMAP, false, "Open Map File", kMapFileFilter,
     [](const char* path)
     {
         if (app.document.LoadSettings(path, app.files, app.images))
             RebuildPaletteList();
     }},
    {ID_FILE_SAVEMAP, true, "Save Map File", kMapFileFilter,
     [](const char* path) { app.document.SaveSettings(path, app.files); }},
    {ID_FILE_LOADOBJECTS, false, "Open Object File", kObjectFileFilter,
     [](const char* path)
     {
         if (app.document.LoadObjects(path, app.files))
             RebuildPaletteList();
     }},
    {ID_FILE_SAVEOBJECTS, true, "Save Object File", kObjectFileFilter,
     [](const char* path) { app.document.SaveObjects(path, app.files); }},
    {ID_IMPORT_HEIGHTMAP, false, "Open BMP File", kBitmapFilter,
     [](const char* path) { app.document.ImportHeightmap(app.images, path); }},
};

// False when the command is not a file command.
bool RunFileCommand(HWND window, int command)
{
    for (const FileCommand& file : kFileCommands)
    {
        if (file.command != command)
            continue;
        char path[kChooserPathSize];
        const bool picked = file.save ? ChooseSaveFile(path, window, file.title, file.filter)
                                      : ChooseOpenFile(path, window, file.title, file.filter);
        RestoreProgramDirectory();
        if (picked)
            file.run(path);
        return true;
    }
    return false;
}

void Quit(HWND window)
{
    PostQuitMessage(0);
    EndDialog(window, 0);
}
} // namespace

void Zoom(int factor)
{
    app.document.viewScale = app.document.width * 2 * factor;
    app.document.scrollX = 0.0f;
    app.document.scrollY = 0.0f;
}

namespace
{
// View > Zoom items and the factor each is labelled with.
const struct
{
    int command;
    int factor;
} kZoomItems[] = {
    {ID_ZOOM_1X, 1}, {ID_ZOOM_2X, 2}, {ID_ZOOM_4X, 4}, {ID_ZOOM_6X, 6}, {ID_ZOOM_8X, 8}};

// False when the command is not a zoom item.
bool RunZoomCommand(int command)
{
    for (const auto& item : kZoomItems)
    {
        if (item.command == command)
        {
            Zoom(item.factor);
            return true;
        }
    }
    return false;
}
} // namespace

void RunMainWindowCommand(HWND window, int command)
{
    if (RunEditCommand(window, command))
        return;
    if (RunFileCommand(window, command) || RunZoomCommand(command))
    {
        RefreshEditMenu(window);
        return;
    }
    switch (command)
    {
    case IDOK:
    case IDCANCEL: // also the caption's close box
        Quit(window);
        break;
    case ID_FILE_EXIT:
        PostQuitMessage(0);
        break;
    case ID_MAP_PROPERTIES:
        DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(IDD_PROPERTIESDIALOG), window,
                        PropertiesDialogProc, 0);
        break;
    case ID_IMPORT_OBJECTS:
        ImportObjectType(window);
        break;
    case ID_HELP_ABOUT:
        ShowAboutDialog(window);
        break;
    default: // Import > Tiles: nothing
        break;
    }
    SyncPaletteList();
    RefreshEditMenu(window);
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return TRUE;
    case WM_SIZE:
        OnSize(lParam);
        break;
    case WM_ACTIVATE:
        OnActivate(wParam);
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        RefreshEditMenu(window);
        break;
    case WM_INITMENUPOPUP:
        RefreshEditMenu(window);
        break;
    case WM_COMMAND:
        RunMainWindowCommand(window, LOWORD(wParam));
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(window, lParam);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;
    case WM_LBUTTONUP:
        OnLeftButtonUp(wParam);
        RefreshEditMenu(window);
        break;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(window, lParam);
        break;
    case WM_RBUTTONUP:
        OnRightButtonUp(window, wParam, lParam);
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(window, lParam);
        break;
    }
    return FALSE;
}
