// The Edit menu's commands and the menu items that show the document's state.
#include "app/EditCommands.h"

#include <string>

#include "app/EditorApp.h"
#include "app/ObjectClipboard.h"
#include "app/PointerEditing.h"
#include "app/StatusBar.h"
#include "app/ViewWindow.h"
#include "app/UserMessages.h"
#include "resource.h"

namespace
{
// A menu item's text and whether it can be chosen.
void SetItem(HMENU menu, int command, const std::string& text, bool enabled)
{
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof(item));
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    item.dwTypeData = const_cast<char*>(text.c_str());
    SetMenuItemInfoA(menu, (UINT)command, FALSE, &item);
}

// The duplicate lands one heightmap cell to the right and down.
bool Duplicate()
{
    MapDocument& document = app.document;
    const float dx = document.width > 0 ? 1.0f / (float)document.width : 0.0f;
    const float dy = document.height > 0 ? 1.0f / (float)document.height : 0.0f;
    return document.InsertGroup(document.CopySelection(), dx, dy, "Duplicate");
}

void InsertObjectAtPopup()
{
    PlaceObjectAt(app.popupX, app.popupY);
}

void DeleteObjectAtPopup()
{
    app.document.DeleteObject(app.document.HitTest(app.popupX, app.popupY));
}
} // namespace

bool RunEditCommand(HWND window, int command)
{
    MapDocument& document = app.document;
    switch (command)
    {
    case ID_EDIT_UNDO:
        app.dragging = false; // a drag in progress becomes its own step first
        document.Undo();
        break;
    case ID_EDIT_REDO:
        document.Redo();
        break;
    case ID_EDIT_CUT:
        if (CopySelectionToClipboard(window))
            document.DeleteSelection("Cut");
        app.dragging = false;
        break;
    case ID_EDIT_COPY:
        CopySelectionToClipboard(window);
        break;
    case ID_EDIT_PASTE:
        PasteFromClipboard(window);
        break;
    case ID_EDIT_DUPLICATE:
        Duplicate();
        break;
    case ID_EDIT_DELETE:
        // A drag in progress ends with the removal, so that nothing else
        // follows the pointer.
        document.DeleteSelection();
        app.dragging = false;
        break;
    case ID_EDIT_SELECTALL:
        document.SelectAll();
        break;
    case ID_EDIT_SELECTNONE:
        app.banding = false;
        document.ClearSelection();
        break;
    case ID_EDIT_SETTYPE:
        document.SetSelectionType(document.currentType);
        break;
    case ID_EDIT_ROTATERIGHT:
        document.RotateSelection(45);
        break;
    case ID_EDIT_ROTATELEFT:
        document.RotateSelection(-45);
        break;
    case ID_POPUP_INSERTOBJECT:
        InsertObjectAtPopup();
        break;
    case ID_POPUP_DELETEOBJECT:
        DeleteObjectAtPopup();
        break;
    case ID_VIEW_SNAPTOCELLS:
        document.snapToCells = !document.snapToCells;
        break;
    case ID_VIEW_LABELS:
        app.view.showLabels = !app.view.showLabels;
        break;
    default:
        return false;
    }
    SyncPaletteList();
    RefreshEditMenu(window);
    return true;
}

void RefreshEditMenu(HWND window)
{
    HMENU menu = GetMenu(window);
    if (!menu)
        return;
    const MapDocument& document = app.document;
    const std::string undo = document.UndoName();
    const std::string redo = document.RedoName();
    SetItem(menu, ID_EDIT_UNDO, (undo.empty() ? "&Undo" : "&Undo " + undo) + "\tCtrl+Z",
            document.CanUndo());
    SetItem(menu, ID_EDIT_REDO, (redo.empty() ? "&Redo" : "&Redo " + redo) + "\tCtrl+Y",
            document.CanRedo());
    const struct
    {
        int command;
        bool checked;
    } checks[] = {{ID_VIEW_SNAPTOCELLS, document.snapToCells},
                  {ID_VIEW_LABELS, app.view.showLabels},
                  {ID_VIEW_PALETTE, app.paletteShown},
                  {ID_VIEW_FLOATINGPALETTE, !app.paletteDocked}};
    for (const auto& check : checks)
        CheckMenuItem(menu, (UINT)check.command,
                      MF_BYCOMMAND | (check.checked ? MF_CHECKED : MF_UNCHECKED));
    // The title names the map and marks unsaved changes.
    const std::string title =
        document.DisplayName() + (document.IsModified() ? "*" : "") + " - " + kMessageCaption;
    char shown[512] = "";
    GetWindowTextA(window, shown, sizeof(shown));
    if (title != shown)
        SetWindowTextA(window, title.c_str());
    RefreshStatusBar();
    // The view shows the document as it is now.
    RequestFrame();
    // Enough changes since the last copy of unsaved work make the next one due.
    app.autosave.Tick(document);
}

void RebuildPaletteList()
{
    HWND list = GetDlgItem(app.paletteWindow, IDC_OBJECTLIST);
    // Row i is catalog entry i: the list is unsorted.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const ObjectType& type : app.document.objectTypes)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)type.path.c_str());
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    app.shownCatalogRevision = app.document.CatalogRevision();
}

void SyncPaletteList()
{
    if (app.shownCatalogRevision == app.document.CatalogRevision())
        return;
    RebuildPaletteList();
    const int type = app.document.currentType;
    if (type >= 0 && type < (int)app.document.objectTypes.size())
        SendDlgItemMessageA(app.paletteWindow, IDC_OBJECTLIST, LB_SETCURSEL, (WPARAM)type, 0);
}
