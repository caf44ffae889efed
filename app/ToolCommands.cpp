// The Tools menu's commands and Edit > "Select All of Type" (see ToolCommands.h).
#include "app/ToolCommands.h"

#include "app/BrushDialog.h"
#include "app/EditorApp.h"
#include "resource.h"

namespace
{
const struct
{
    int command;
    Tool tool;
} kTools[] = {{ID_TOOLS_SELECT, Tool::Select},
              {ID_TOOLS_BRUSH, Tool::Brush},
              {ID_TOOLS_ERASER, Tool::Eraser}};
} // namespace

bool RunToolCommand(EditorApp& editor, HWND window, int command)
{
    ViewWindow& view = editor.View();
    for (const auto& item : kTools)
    {
        if (item.command == command)
        {
            view.ChooseTool(item.tool);
            return true;
        }
    }
    switch (command)
    {
    case ID_TOOLS_SMALLERBRUSH:
        view.StepBrushRadius(-1);
        break;
    case ID_TOOLS_LARGERBRUSH:
        view.StepBrushRadius(1);
        break;
    case ID_TOOLS_BRUSHSETTINGS:
    {
        BrushSettings settings = view.Brush();
        if (EditBrushSettings(window, editor.Document(), &settings))
            view.SetBrushSettings(settings);
        break;
    }
    case ID_EDIT_SELECTALLOFTYPE:
        editor.Document().SelectAllOfTypes(editor.Palette().SelectedTypes());
        break;
    default:
        return false;
    }
    return true;
}

void RefreshToolsMenu(EditorApp& editor)
{
    if (HMENU menu = GetMenu(editor.Main().Handle()))
    {
        const Tool tool = editor.View().CurrentTool();
        for (const auto& item : kTools)
        {
            if (item.tool == tool)
                CheckMenuRadioItem(menu, kTools[0].command, kTools[2].command, item.command,
                                   MF_BYCOMMAND);
        }
    }
    editor.Palette().RefreshRows();
}
