// The object-type import shared by Import > Objects and the palette's Add.
#include "app/ObjectImport.h"

#include <string>

#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/UserMessages.h"
#include "document/RelativePath.h"
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
    // The object placement file stores 127 characters and a zero per name: a
    // longer path is refused rather than cut into the name of another file.
    if (relative.size() > kMaxObjectTypePath)
    {
        ShowProblem(editor.Main().Handle(),
                    "The object type could not be imported. " + chosen +
                        ": its path from the "
                        "program folder (" +
                        std::to_string(relative.size()) +
                        " characters) is too long for the object file's 127-character type names.");
        return;
    }
    // One undoable step; the palette's list follows the catalog, so its row
    // numbers stay equal to the catalog's indices.
    document.ImportType(relative);
    editor.Palette().SyncList();
}
