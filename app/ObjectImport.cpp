// The object-type import shared by Import > Objects and the palette's Add.
#include "app/ObjectImport.h"

#include <string>

#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/UserMessages.h"
#include "document/RelativePath.h"
#include "document/TypeImport.h"
#include "resource.h"

void ImportObjectType(EditorApp& editor, HWND owner)
{
    MapDocument& document = editor.Document();
    // The chooser starts where the current type's description lies.
    const ObjectType* current = document.FindObjectType(document.currentType);
    std::string chosen;
    const bool picked =
        ChooseOpenFile(&chosen, owner, kImportObjectKind, current ? current->path : std::string());
    // Restored after every chooser, cancelled or not.
    RestoreProgramDirectory(editor.ProgramDirectory());
    if (!picked)
        return;
    const std::string relative = MakeRelativePath(editor.ProgramDirectory(), chosen.c_str());
    // One undoable step when a type is added; the palette's list follows the
    // catalog, so its row numbers stay equal to the catalog's indices.
    const TypeImportResult result =
        ImportTypeFile(document, editor.Files(), chosen, relative, WindowsFileSystem::SameName);
    editor.Palette().SyncList();
    if (result.outcome == TypeImportResult::kAlreadyThere)
        editor.Palette().SelectType(result.type); // the type is there: it is chosen
    else if (result.outcome == TypeImportResult::kRefused)
        ShowProblem(editor.Main().Handle(),
                    "The object type could not be imported. " + result.problem);
}
