// The main window procedure and the menu commands. The main window holds the
// map view (its own child window, which takes the pointer), the docked
// palette with its splitter and the status bar; its procedure places them,
// runs the menu commands and opens files dropped on the window.
//
// Every message is answered with FALSE (TRUE only for WM_INITDIALOG) so that
// the default dialog handling also runs.
#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/FileCommands.h"
#include "app/MainLayout.h"
#include "app/ObjectImport.h"
#include "app/PointerEditing.h"
#include "app/PropertiesDialog.h"
#include "app/RecentMaps.h"
#include "app/ShellFiles.h"
#include "app/ViewNavigation.h"
#include "app/ViewWindow.h"
#include "app/WindowDpi.h"
#include "resource.h"

namespace
{
void OnActivate(WPARAM wParam)
{
    windowActive = LOWORD(wParam) != WA_INACTIVE;
}

// View > Object Palette, Floating Palette, Fit Map, Zoom In and Out. False
// when the command is not one of these.
bool RunViewCommand(int command)
{
    switch (command)
    {
    case ID_VIEW_FITMAP:
        FitMap();
        return true;
    case ID_VIEW_ZOOMIN:
        ZoomAtCentre(1);
        return true;
    case ID_VIEW_ZOOMOUT:
        ZoomAtCentre(-1);
        return true;
    case ID_VIEW_PALETTE:
        ShowPalette(!app.paletteShown);
        return true;
    case ID_VIEW_FLOATINGPALETTE:
        DockPalette(!app.paletteDocked);
        return true;
    }
    return false;
}
} // namespace

void Zoom(int factor)
{
    app.document.viewScale = app.document.width * 2 * factor;
    app.document.scrollX = 0.0f;
    app.document.scrollY = 0.0f;
    RequestFrame();
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
    if (RunEditCommand(window, command) || RunFileCommand(window, command))
        return;
    if (RunRecentMapCommand(window, command))
    {
        RefreshEditMenu(window);
        return;
    }
    if (RunZoomCommand(command) || RunViewCommand(command))
    {
        RefreshEditMenu(window);
        return;
    }
    switch (command)
    {
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
    if (OnSplitterMessage(window, message, wParam, lParam))
        return message == WM_SETCURSOR;
    switch (message)
    {
    case WM_INITDIALOG:
        return TRUE;
    case WM_SIZE:
        LayOutMainWindow();
        break;
    case WM_DPICHANGED:
        MoveToSuggestedRect(window, lParam);
        break;
    case WM_ACTIVATE:
        OnActivate(wParam);
        break;
    case WM_KEYDOWN: // the main window itself has the keyboard: as the view
        OnKeyDown(window, wParam);
        RefreshEditMenu(window);
        break;
    case WM_INITMENUPOPUP:
        if ((HMENU)wParam == RecentMapsMenu(window))
            LoadRecentMaps(); // another editor may have added to it
        RefreshEditMenu(window);
        break;
    case WM_DROPFILES:
        OnDropFiles(window, (HDROP)wParam);
        RefreshEditMenu(window);
        break;
    case WM_TIMER:
        if (wParam == kAutosaveTimer)
            app.autosave.Tick(app.document);
        break;
    case WM_COMMAND:
        RunMainWindowCommand(window, LOWORD(wParam));
        break;
    }
    return FALSE;
}
