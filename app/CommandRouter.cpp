// The windows' events turned into commands (see CommandRouter.h).
#include "app/CommandRouter.h"

#include "app/AboutDialog.h"
#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/FileCommands.h"
#include "app/ObjectImport.h"
#include "app/PropertiesDialog.h"
#include "app/ShellFiles.h"
#include "app/ToolCommands.h"
#include "app/UserMessages.h"
#include "resource.h"

#include <shellapi.h>

namespace
{
// View > Zoom items and the factor each is labelled with.
const struct
{
    int command;
    int factor;
} kZoomItems[] = {
    {ID_ZOOM_1X, 1}, {ID_ZOOM_2X, 2}, {ID_ZOOM_4X, 4}, {ID_ZOOM_6X, 6}, {ID_ZOOM_8X, 8}};
} // namespace

bool CommandRouter::RunViewCommand(int command)
{
    ViewWindow& view = editor_->View();
    MainWindow& main = editor_->Main();
    for (const auto& item : kZoomItems)
    {
        if (item.command == command)
        {
            view.Zoom(item.factor);
            return true;
        }
    }
    switch (command)
    {
    case ID_VIEW_FITMAP:
        view.FitMap();
        return true;
    case ID_VIEW_ZOOMIN:
        view.ZoomAtCentre(1);
        return true;
    case ID_VIEW_ZOOMOUT:
        view.ZoomAtCentre(-1);
        return true;
    case ID_VIEW_PALETTE:
        main.ShowPalette(!main.PaletteShown());
        return true;
    case ID_VIEW_FLOATINGPALETTE:
        main.DockPalette(!main.PaletteDocked());
        return true;
    case ID_VIEW_NEXTPANE: // F6
        main.FocusNextPane();
        return true;
    }
    return false;
}

void CommandRouter::RunCommand(int command)
{
    if (!editor_)
        return;
    EditorApp& editor = *editor_;
    HWND window = editor.Main().Handle();
    if (RunEditCommand(editor, window, command) || RunFileCommand(editor, window, command))
        return;
    if (RunViewCommand(command) || RunToolCommand(editor, window, command))
    {
        RefreshEditMenu(editor);
        return;
    }
    switch (command)
    {
    case ID_MAP_PROPERTIES:
        ShowPropertiesDialog(editor, window);
        break;
    case ID_IMPORT_OBJECTS:
        ::ImportObjectType(editor, window);
        break;
    case ID_HELP_ABOUT:
        ShowAboutDialog(window);
        break;
    default: // Import > Tiles: nothing
        break;
    }
    editor.Palette().SyncList();
    RefreshEditMenu(editor);
}

void CommandRouter::Changed()
{
    if (editor_)
        RefreshEditMenu(*editor_);
}

void CommandRouter::ImportObjectType(HWND owner)
{
    if (!editor_)
        return;
    ::ImportObjectType(*editor_, owner);
    RefreshEditMenu(*editor_);
}

void CommandRouter::MenuOpening(HMENU menu)
{
    if (!editor_)
        return;
    HWND window = editor_->Main().Handle();
    if (menu == RecentMapsMenu(window))
        editor_->Recent().Load(window); // another editor may have added to it
    RefreshEditMenu(*editor_);
}

void CommandRouter::FilesDropped(HDROP drop)
{
    if (!editor_)
    {
        DragFinish(drop);
        return;
    }
    OnDropFiles(*editor_, editor_->Main().Handle(), drop);
    RefreshEditMenu(*editor_);
}

void CommandRouter::AutosaveDue()
{
    if (!editor_)
        return;
    editor_->Copies().Tick(editor_->Document());
    // A copy that could not be written is told here, once (and in debug.txt).
    const std::string report = editor_->Copies().TakeReport();
    if (!report.empty())
        ShowProblem(editor_->Main().Handle(), report);
}
