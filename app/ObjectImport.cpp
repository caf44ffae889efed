// The object-type import shared by Import > Objects and the palette's Add.
#include "app/ObjectImport.h"

#include <string>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "document/RelativePath.h"
#include "resource.h"

void ImportObjectType(HWND owner)
{
    char chosen[kChooserPathSize];
    const bool picked = ChooseOpenFile(chosen, owner, "Import Object", kObjectDescriptionFilter);
    // Restored after every chooser, cancelled or not.
    RestoreProgramDirectory();
    if (!picked)
        return;
    const std::string relative = MakeRelativePath(app.programDirectory, chosen);
    // The object placement file stores 127 characters and a zero per name: a
    // longer path is refused rather than cut into the name of another file.
    if (relative.size() > kMaxObjectTypePath)
        return;
    // One undoable step; the palette's list follows the catalog, so its row
    // numbers stay equal to the catalog's indices.
    app.document.ImportType(relative);
    SyncPaletteList();
}
