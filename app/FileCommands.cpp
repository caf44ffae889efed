// The File menu and the other commands that open, save or leave a map: each
// asks before unsaved changes could be lost, tells the user what could not
// be read or written (nothing when all went well), and keeps the palette's
// list showing the catalog.
#include "app/FileCommands.h"

#include <string>
#include <vector>

#include "app/Autosave.h"
#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/RecentMaps.h"
#include "app/UserMessages.h"
#include "app/ViewNavigation.h"
#include "resource.h"

namespace
{
bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A chooser, with the program directory made current again whether or not
// a file was chosen.
bool Choose(HWND window, bool save, const FileKind& kind, const std::string& current,
            std::string* path)
{
    const bool picked = save ? ChooseSaveFile(path, window, kind, current)
                             : ChooseOpenFile(path, window, kind, current);
    RestoreProgramDirectory();
    return picked;
}

bool SaveObjectsTo(HWND window, const std::string& path)
{
    std::string problem;
    if (app.document.SaveObjects(path, app.files, &problem))
        return true;
    ShowProblem(window, "The objects could not be saved. " + problem);
    return false;
}

bool SaveMapTo(HWND window, const std::string& path)
{
    std::string problem;
    if (app.document.SaveSettings(path, app.files, &problem))
    {
        NoteRecentMap(path);
        return true;
    }
    ShowProblem(window, "The map could not be saved. " + problem);
    return false;
}

bool SaveObjectsAs(HWND window)
{
    std::string path;
    return Choose(window, true, kSaveObjectsKind, app.document.objectMap, &path) &&
           SaveObjectsTo(window, path);
}

bool SaveMapAs(HWND window)
{
    std::string path;
    return Choose(window, true, kSaveMapKind, app.document.settingsFile, &path) &&
           SaveMapTo(window, path);
}

void OpenMap(HWND window)
{
    std::string path;
    if (ConfirmUnsavedChanges(window) &&
        Choose(window, false, kOpenMapKind, app.document.settingsFile, &path))
        OpenMapFile(window, path);
}

void LoadObjects(HWND window)
{
    std::string path;
    if (ConfirmUnsavedChanges(window) &&
        Choose(window, false, kOpenObjectsKind, app.document.objectMap, &path))
        LoadObjectsFile(window, path);
}

void ImportHeightmap(HWND window)
{
    std::string path;
    if (!Choose(window, false, kOpenHeightmapKind, app.document.heightmapFile, &path))
        return;
    std::string problem;
    if (!app.document.ImportHeightmap(app.images, path, &problem))
        ShowProblem(window, "The heightmap could not be imported. " + path + ": " + problem);
}
} // namespace

bool OpenMapFile(HWND window, const std::string& path)
{
    std::vector<std::string> problems;
    const int width = app.document.width, height = app.document.height;
    const bool opened = app.document.LoadSettings(path, app.files, app.images, &problems);
    if (opened)
    {
        RebuildPaletteList();
        NoteRecentMap(path);
        // A heightmap of another size: the new map is shown whole.
        if (app.document.width != width || app.document.height != height)
            FitMap();
        if (!problems.empty())
            problems.insert(problems.begin(), "The map " + path +
                                                  " opened, but not all of it "
                                                  "could be read:");
    }
    else
        problems.insert(problems.begin(), "The map could not be opened.");
    ShowProblems(window, problems);
    return opened;
}

bool LoadObjectsFile(HWND window, const std::string& path)
{
    std::string problem;
    if (app.document.LoadObjects(path, app.files, &problem))
    {
        RebuildPaletteList();
        return true;
    }
    ShowProblem(window, "The objects could not be loaded. " + problem);
    return false;
}

bool SaveDocument(HWND window)
{
    MapDocument& document = app.document;
    // The objects first: the map settings file names their file. Objects
    // that never had a file get one when there is anything to keep; a file
    // is written when it differs from the document or is not there.
    if (document.objectMap.empty())
    {
        const bool anything = document.AreObjectsModified() || !document.objectTypes.empty() ||
                              !document.objects.empty();
        if (anything && !SaveObjectsAs(window))
            return false;
    }
    else if ((document.AreObjectsModified() || !Exists(document.objectMap)) &&
             !SaveObjectsTo(window, document.objectMap))
        return false;
    if (document.settingsFile.empty())
        return SaveMapAs(window);
    if (document.AreSettingsModified() || !Exists(document.settingsFile))
        return SaveMapTo(window, document.settingsFile);
    NoteRecentMap(document.settingsFile); // the map file is as saved: its objects were saved
    return true;
}

bool ConfirmUnsavedChanges(HWND window)
{
    if (!app.document.IsModified())
        return true;
    switch (AskToSaveChanges(window, app.document.DisplayName()))
    {
    case IDYES:
        return SaveDocument(window); // a failed save keeps the work and the editor
    case IDNO:
        return true;
    default:
        return false;
    }
}

void QuitEditor(HWND window, bool endDialog)
{
    if (!ConfirmUnsavedChanges(window))
        return;
    // A clean exit: the copy kept against a crash goes.
    app.autosave.Discard();
    PostQuitMessage(0);
    if (endDialog)
        EndDialog(window, 0);
}

bool RunFileCommand(HWND window, int command)
{
    switch (command)
    {
    case ID_FILE_OPENMAP:
        OpenMap(window);
        break;
    case ID_FILE_SAVE:
        SaveDocument(window);
        break;
    case ID_FILE_SAVEMAP:
        SaveMapAs(window);
        break;
    case ID_FILE_LOADOBJECTS:
        LoadObjects(window);
        break;
    case ID_FILE_SAVEOBJECTS:
        SaveObjectsAs(window);
        break;
    case ID_IMPORT_HEIGHTMAP:
        ImportHeightmap(window);
        break;
    case ID_FILE_EXIT:
        QuitEditor(window, false);
        break;
    case IDOK:
    case IDCANCEL: // also the caption's close box
        QuitEditor(window, true);
        break;
    default:
        return false;
    }
    RefreshEditMenu(window);
    return true;
}
