// The properties dialog's procedure (Map > Properties): the map's settings
// and heightmap size shown in the fields, and, on OK, the edited settings
// applied as one undoable step with the bitmaps they name reloaded (and the
// object file, when its name was changed and it can be read, after asking
// about unsaved changes). The view stays as it was unless the heightmap's
// size changed; then the whole map is fitted, as opening a map does.
//
// A number that is not a whole number in its field's range, an empty
// heightmap name and a heightmap that cannot be loaded are refused: a
// message says why, and the dialog stays open with the field selected and
// nothing changed. Cancel and the close box change nothing.
#include "app/PropertiesDialog.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "app/FileCommands.h"
#include "app/UserMessages.h"
#include "app/WindowDpi.h"
#include "document/NumberField.h"
#include "resource.h"

namespace
{
void SetField(HWND dialog, int id, const char* format, ...) __attribute__((format(printf, 3, 4)));
void SetField(HWND dialog, int id, const char* format, ...)
{
    // Large enough for a texture's whole file name (254 characters), so that
    // OK reads back the name shown, not a name cut short.
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    SetDlgItemTextA(dialog, id, text);
}

EditorApp& EditorOf(HWND dialog)
{
    return *(EditorApp*)GetWindowLongPtrA(dialog, DWLP_USER);
}

void FillFields(HWND dialog, EditorApp& editor)
{
    const MapDocument& document = editor.Document();
    SetField(dialog, IDC_QUADDEPTH, "%d", (int)document.quadDepth);
    SetField(dialog, IDC_SPACING, "%d", document.spacing);
    SetDlgItemTextA(dialog, IDC_HEIGHTMAP, document.heightmapFile.c_str());
    SetDlgItemTextA(dialog, IDC_COLORMAP, document.colormapFile.c_str());
    SetDlgItemTextA(dialog, IDC_DETAILMAP, document.detailMap.c_str());
    SetDlgItemTextA(dialog, IDC_OBJECTMAP, document.objectMap.c_str());
    // The map statistics line describes the heightmap that is loaded (a
    // failed load keeps the old size for the view, not for this line);
    // "Tile Grid Dimensions:" keeps its text.
    if (document.heightmapTexture >= 0)
        SetField(dialog, IDC_POLYGONALDIMENSIONS, "Heightmap: %dx%d", document.width,
                 document.height);
    else
        SetDlgItemTextA(dialog, IDC_POLYGONALDIMENSIONS, "Heightmap: none loaded");
}

// A field's text read whole: a name cut to the size of a field would name
// another file, a number cut short another number. Whoever receives a name
// refuses one it cannot hold.
std::string ReadField(HWND dialog, int id)
{
    HWND edit = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthA(edit);
    if (length <= 0)
        return std::string();
    std::string text((size_t)length + 1, '\0');
    const int copied = GetWindowTextA(edit, &text[0], length + 1);
    text.resize(copied > 0 ? (size_t)copied : 0);
    return text;
}

// An image named in a field: its slot and the name it is kept under, or no
// slot and the name as typed.
void LoadNamedImage(ImageSource& images, const std::string& name, bool heightmap, int* slot,
                    std::string* kept, LoadedImage* image)
{
    *image = heightmap ? images.LoadHeightmap(name) : images.Load(name);
    *slot = image->slot;
    *kept = image->slot >= 0 ? image->name : name;
}

// A refused value: the message, then the field has the keyboard with its
// text selected, so that typing replaces it. Always false (the dialog stays).
bool Refuse(HWND dialog, int id, const std::string& message, bool fileProblem = false)
{
    if (fileProblem)
        ShowProblem(dialog, message); // also noted in debug.txt, as every file problem
    else
        ShowNotice(dialog, message);
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, id), TRUE);
    return false;
}

// The numbers and the heightmap as typed, read into `next`; false (with the
// field refused) when one of them cannot be taken.
bool ReadRefusableFields(HWND dialog, MapSettings* next, LoadedImage* heightmap)
{
    EditorApp& editor = EditorOf(dialog);
    const MapDocument& document = editor.Document();
    long long depth = 0, spacing = 0;
    std::string message;
    if (!ReadNumberField(kQuadDepthField, ReadField(dialog, IDC_QUADDEPTH), &depth, &message))
        return Refuse(dialog, IDC_QUADDEPTH, message);
    if (!ReadNumberField(kSpacingField, ReadField(dialog, IDC_SPACING), &spacing, &message))
        return Refuse(dialog, IDC_SPACING, message);
    next->quadDepth = (unsigned char)depth;
    // Applied after the heightmap, whose successful load sets it to 10.
    next->spacing = (int)spacing;
    const std::string name = ReadField(dialog, IDC_HEIGHTMAP);
    if (name.empty())
        return Refuse(dialog, IDC_HEIGHTMAP,
                      "The map needs a heightmap: the Heightmap field is empty.", true);
    LoadNamedImage(editor.Images(), name, true, &next->heightmapTexture, &next->heightmapFile,
                   heightmap);
    // A map whose heightmap could not be loaded before keeps that name
    // (OK is not refused for what it did not change); any other name must load.
    const bool missingBefore = name == document.heightmapFile && document.heightmapTexture < 0;
    if (heightmap->slot < 0 && !missingBefore)
        return Refuse(dialog, IDC_HEIGHTMAP,
                      "The heightmap could not be loaded. " + name + ": " + heightmap->problem,
                      true);
    return true;
}

// OK: the settings in their fixed order, applied as one undoable step.
// False when the dialog must stay open (a refused value, or Cancel at the
// question before the objects are replaced).
bool ApplyFields(HWND dialog)
{
    EditorApp& editor = EditorOf(dialog);
    MapDocument& document = editor.Document();
    MapSettings next = document.Settings();
    LoadedImage heightmap;
    if (!ReadRefusableFields(dialog, &next, &heightmap))
        return false;
    // A changed object file that can be read replaces the objects: unsaved
    // ones are asked about first. One that cannot be read leaves the
    // objects and their file name as they were.
    const std::string objectFile = ReadField(dialog, IDC_OBJECTMAP);
    const bool objectFileChanged = objectFile != document.objectMap;
    ObjectFileContents contents;
    std::string whyUnread;
    const bool reload =
        objectFileChanged && !objectFile.empty() &&
        MapDocument::ReadObjectFile(objectFile, editor.Files(), &contents, &whyUnread);
    const bool unread = objectFileChanged && !objectFile.empty() && !reload;
    if (reload && !ConfirmUnsavedChanges(editor, dialog))
        return false;
    if (reload || (objectFileChanged && objectFile.empty()))
        next.objectMap = objectFile;

    std::vector<std::string> problems;
    if (heightmap.slot >= 0)
    {
        document.NoteHeightSamples(heightmap);
        next.width = heightmap.width;
        next.height = heightmap.height;
    }
    else
        problems.push_back(next.heightmapFile + " (heightmap): " + heightmap.problem);
    LoadedImage colormap;
    LoadNamedImage(editor.Images(), ReadField(dialog, IDC_COLORMAP), false, &next.colormapTexture,
                   &next.colormapFile, &colormap);
    if (colormap.slot < 0 && !next.colormapFile.empty())
        problems.push_back(next.colormapFile + " (colormap): " + colormap.problem);
    next.detailMap = ReadField(dialog, IDC_DETAILMAP);
    const bool resized = next.width != document.width || next.height != document.height;
    document.ApplyProperties(next, reload ? &contents : nullptr);
    if (reload)
        editor.Palette().RebuildList();
    // The view stays where the designer left it, unless the map changed its size.
    if (resized)
        editor.View().FitMap();
    if (!problems.empty())
        problems.insert(problems.begin(), "Not all of the map's files could be read:");
    if (unread)
        problems.push_back("The object file " + objectFile + " could not be read (" + whyUnread +
                           "), so the map keeps its objects and its object file (" +
                           (document.objectMap.empty() ? std::string("none") : document.objectMap) +
                           ").");
    ShowProblems(editor.Main().Handle(), problems);
    return true;
}
} // namespace

INT_PTR CALLBACK PropertiesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        FillFields(window, *(EditorApp*)lParam);
        return TRUE;
    case WM_DPICHANGED: // the dialog manager scales the controls (FALSE)
        MoveToSuggestedRect(window, lParam);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case IDOK:
            if (ApplyFields(window))
                EndDialog(window, 0);
            break;
        case IDCANCEL: // also the close box: nothing changes
            EndDialog(window, 0);
            break;
        }
        return TRUE;
    }
    return FALSE;
}

void ShowPropertiesDialog(EditorApp& editor, HWND owner)
{
    DialogBoxParamA(editor.Instance(), MAKEINTRESOURCEA(IDD_PROPERTIESDIALOG), owner,
                    PropertiesDialogProc, (LPARAM)&editor);
}
