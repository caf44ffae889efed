// The File menu and the other commands that open, save or leave a map: each
// asks before unsaved changes could be lost, tells the user what could not
// be read or written (nothing when all went well), and keeps the palette's
// list showing the catalog.
#include "app/FileCommands.h"

#include <string>
#include <vector>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/UserMessages.h"
#include "resource.h"

namespace
{
bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A chooser, with the program directory made current again whether or not
// a file was chosen.
bool Choose(EditorApp& editor, HWND window, bool save, const FileKind& kind,
            const std::string& current, std::string* path)
{
    const bool picked = save ? ChooseSaveFile(path, window, kind, current)
                             : ChooseOpenFile(path, window, kind, current);
    RestoreProgramDirectory(editor.ProgramDirectory());
    return picked;
}

bool SaveObjectsTo(EditorApp& editor, HWND window, const std::string& path)
{
    std::string problem;
    if (editor.Document().SaveObjects(path, editor.Files(), &problem))
        return true;
    ShowProblem(window, "The objects could not be saved. " + problem);
    return false;
}

bool SaveMapTo(EditorApp& editor, HWND window, const std::string& path)
{
    std::string problem;
    if (editor.Document().SaveSettings(path, editor.Files(), &problem))
    {
        editor.Recent().Note(editor.Main().Handle(), path);
        return true;
    }
    ShowProblem(window, "The map could not be saved. " + problem);
    return false;
}

bool SaveObjectsAs(EditorApp& editor, HWND window)
{
    std::string path;
    return Choose(editor, window, true, kSaveObjectsKind, editor.Document().objectMap, &path) &&
           SaveObjectsTo(editor, window, path);
}

bool SaveMapAs(EditorApp& editor, HWND window)
{
    std::string path;
    return Choose(editor, window, true, kSaveMapKind, editor.Document().settingsFile, &path) &&
           SaveMapTo(editor, window, path);
}

void OpenMap(EditorApp& editor, HWND window)
{
    std::string path;
    if (ConfirmUnsavedChanges(editor, window) &&
        Choose(editor, window, false, kOpenMapKind, editor.Document().settingsFile, &path))
        OpenMapFile(editor, window, path);
}

void LoadObjects(EditorApp& editor, HWND window)
{
    std::string path;
    if (ConfirmUnsavedChanges(editor, window) &&
        Choose(editor, window, false, kOpenObjectsKind, editor.Document().objectMap, &path))
        LoadObjectsFile(editor, window, path);
}

void ImportHeightmap(EditorApp& editor, HWND window)
{
    std::string path;
    if (!Choose(editor, window, false, kOpenHeightmapKind, editor.Document().heightmapFile, &path))
        return;
    std::string problem;
    if (!editor.Document().ImportHeightmap(editor.Images(), path, &problem))
        ShowProblem(window, "The heightmap could not be imported. " + path + ": " + problem);
}
void OpenRecentMap(EditorApp& editor, HWND window, size_t index)
{
    const std::vector<std::string>& paths = editor.Recent().list.Paths();
    if (index >= paths.size())
        return;
    const std::string path = paths[index]; // the list changes below
    // Asked only when there is a file to open instead of the work.
    if (!WindowsFileSystem::Exists(path))
    {
        editor.Recent().Forget(editor.Main().Handle(), path);
        ShowProblem(window, "The map " + path +
                                " was not found. It has been taken off File > Recent Maps.");
        return;
    }
    if (ConfirmUnsavedChanges(editor, window))
        OpenMapFile(editor, window, path);
}
} // namespace

bool OpenMapFile(EditorApp& editor, HWND window, const std::string& path)
{
    std::vector<std::string> problems;
    const int width = editor.Document().width, height = editor.Document().height;
    const bool opened =
        editor.Document().LoadSettings(path, editor.Files(), editor.Images(), &problems);
    if (opened)
    {
        editor.Palette().RebuildList();
        editor.Recent().Note(editor.Main().Handle(), path);
        // A heightmap of another size: the new map is shown whole.
        if (editor.Document().width != width || editor.Document().height != height)
            editor.View().FitMap();
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

bool LoadObjectsFile(EditorApp& editor, HWND window, const std::string& path)
{
    std::string problem;
    if (editor.Document().LoadObjects(path, editor.Files(), &problem))
    {
        editor.Palette().RebuildList();
        return true;
    }
    ShowProblem(window, "The objects could not be loaded. " + problem);
    return false;
}

bool SaveDocument(EditorApp& editor, HWND window)
{
    MapDocument& document = editor.Document();
    // The objects first: the map settings file names their file. Objects
    // that never had a file get one when there is anything to keep; a file
    // is written when it differs from the document or is not there.
    if (document.objectMap.empty())
    {
        const bool anything = document.AreObjectsModified() || !document.objectTypes.empty() ||
                              !document.objects.empty();
        if (anything && !SaveObjectsAs(editor, window))
            return false;
    }
    else if ((document.AreObjectsModified() || !Exists(document.objectMap)) &&
             !SaveObjectsTo(editor, window, document.objectMap))
        return false;
    if (document.settingsFile.empty())
        return SaveMapAs(editor, window);
    if (document.AreSettingsModified() || !Exists(document.settingsFile))
        return SaveMapTo(editor, window, document.settingsFile);
    editor.Recent().Note(editor.Main().Handle(),
                         document.settingsFile); // the map file is as saved: its objects were saved
    return true;
}

bool ConfirmUnsavedChanges(EditorApp& editor, HWND window)
{
    if (!editor.Document().IsModified())
        return true;
    switch (AskToSaveChanges(window, editor.Document().DisplayName()))
    {
    case IDYES:
        return SaveDocument(editor, window); // a failed save keeps the work and the editor
    case IDNO:
        return true;
    default:
        return false;
    }
}

void QuitEditor(EditorApp& editor, HWND window, bool endDialog)
{
    if (!ConfirmUnsavedChanges(editor, window))
        return;
    // A clean exit: the copy kept against a crash goes.
    editor.Copies().Discard();
    PostQuitMessage(0);
    if (endDialog)
        EndDialog(window, 0);
}

bool RunFileCommand(EditorApp& editor, HWND window, int command)
{
    switch (command)
    {
    case ID_FILE_OPENMAP:
        OpenMap(editor, window);
        break;
    case ID_FILE_SAVE:
        SaveDocument(editor, window);
        break;
    case ID_FILE_SAVEMAP:
        SaveMapAs(editor, window);
        break;
    case ID_FILE_LOADOBJECTS:
        LoadObjects(editor, window);
        break;
    case ID_FILE_SAVEOBJECTS:
        SaveObjectsAs(editor, window);
        break;
    case ID_IMPORT_HEIGHTMAP:
        ImportHeightmap(editor, window);
        break;
    case ID_FILE_EXIT:
        QuitEditor(editor, window, false);
        break;
    case IDOK:
    case IDCANCEL: // also the caption's close box
        QuitEditor(editor, window, true);
        break;
    default:
        if (command < ID_FILE_RECENT_FIRST || command > ID_FILE_RECENT_LAST)
            return false;
        OpenRecentMap(editor, window, (size_t)(command - ID_FILE_RECENT_FIRST));
        break;
    }
    RefreshEditMenu(editor);
    return true;
}
