// The Edit menu's commands and the menu items that show the document's state.
#include "app/EditCommands.h"

#include <algorithm>
#include <string>

#include "app/EditorApp.h"
#include "app/ObjectClipboard.h"
#include "app/ToolCommands.h"
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
bool Duplicate(MapDocument& document)
{
    const float dx = document.width > 0 ? 1.0f / (float)document.width : 0.0f;
    const float dy = document.height > 0 ? 1.0f / (float)document.height : 0.0f;
    return document.InsertGroup(document.CopySelection(), dx, dy, "Duplicate");
}

void DeleteObjectAtPopup(EditorApp& editor)
{
    const PointerGesture& at = editor.View().Gesture();
    editor.Document().DeleteObject(editor.Document().HitTest(at.popupX, at.popupY));
}
} // namespace

bool RunEditCommand(EditorApp& editor, HWND window, int command)
{
    MapDocument& document = editor.Document();
    ViewWindow& view = editor.View();
    switch (command)
    {
    case ID_EDIT_UNDO:
        view.StopDragging(); // a drag in progress becomes its own step first
        document.Undo();
        break;
    case ID_EDIT_REDO:
        document.Redo();
        break;
    case ID_EDIT_CUT:
        if (CopySelectionToClipboard(window, document))
            document.DeleteSelection("Cut");
        view.StopDragging();
        break;
    case ID_EDIT_COPY:
        CopySelectionToClipboard(window, document);
        break;
    case ID_EDIT_PASTE:
        PasteFromClipboard(window, document, view, editor.Files());
        break;
    case ID_EDIT_DUPLICATE:
        Duplicate(document);
        break;
    case ID_EDIT_DELETE:
        // A drag in progress ends with the removal, so that nothing else
        // follows the pointer.
        document.DeleteSelection();
        view.StopDragging();
        break;
    case ID_EDIT_SELECTALL:
        document.SelectAll();
        break;
    case ID_EDIT_SELECTNONE:
        view.StopBanding();
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
        view.PlaceObjectAt(view.Gesture().popupX, view.Gesture().popupY);
        break;
    case ID_POPUP_DELETEOBJECT:
        DeleteObjectAtPopup(editor);
        break;
    case ID_VIEW_SNAPTOCELLS:
        document.snapToCells = !document.snapToCells;
        break;
    case ID_VIEW_LABELS:
        view.Map().showLabels = !view.Map().showLabels;
        break;
    default:
        return false;
    }
    editor.Palette().SyncList();
    RefreshEditMenu(editor);
    return true;
}

void RefreshEditMenu(EditorApp& editor)
{
    HWND window = editor.Main().Handle();
    HMENU menu = GetMenu(window);
    if (!menu)
        return;
    const MapDocument& document = editor.Document();
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
                  {ID_VIEW_LABELS, editor.View().Map().showLabels},
                  {ID_VIEW_PALETTE, editor.Main().PaletteShown()},
                  {ID_VIEW_FLOATINGPALETTE, !editor.Main().PaletteDocked()}};
    for (const auto& check : checks)
        CheckMenuItem(menu, (UINT)check.command,
                      MF_BYCOMMAND | (check.checked ? MF_CHECKED : MF_UNCHECKED));
    // The title names the map and marks unsaved changes.
    const std::string title =
        document.DisplayName() + (document.IsModified() ? "*" : "") + " - " + kMessageCaption;
    // The title shown, read whole (a long map name would not fit a fixed
    // field; the wide length is the one that counts what is read).
    std::wstring shown((size_t)GetWindowTextLengthW(window) + 1, L'\0');
    shown.resize((size_t)std::max(0, GetWindowTextW(window, &shown[0], (int)shown.size())));
    if (title != WindowsFileSystem::NarrowName(shown))
        SetWindowTextA(window, title.c_str());
    RefreshToolsMenu(editor);
    editor.Status().Refresh();
    // The view shows the document as it is now, and a press whose drag an
    // edit ended drags no more.
    editor.View().FollowDocument();
    editor.View().RequestFrame();
    // Enough changes since the last copy of unsaved work make the next one due.
    editor.Copies().Tick(document);
}
