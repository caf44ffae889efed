// The properties dialog's procedure (Map > Properties): the map's settings
// and heightmap size shown in the fields, and, on OK, the edited settings
// applied as one undoable step with the bitmaps they name reloaded (and the
// object file, when its name was changed, after asking about unsaved
// changes) and the view put back at the "6x" zoom. A quad depth outside
// 0..255 is refused; what could not be read is listed. Cancel and the close
// box change nothing.
#include "app/PropertiesDialog.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "app/FileCommands.h"
#include "app/UserMessages.h"
#include "app/WindowDpi.h"
#include "resource.h"

namespace
{
// Numbers are read as at most 9 characters, which atoi turns into an int
// without overflow.
const int kNumberFieldSize = 10;

// The "6x" zoom: one heightmap pixel spans twelve view pixels.
const int kViewScalePerPixel = 12;

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

void FillFields(HWND dialog, const MapDocument& document)
{
    SetField(dialog, IDC_QUADDEPTH, "%d", (int)document.quadDepth);
    SetField(dialog, IDC_SPACING, "%d", document.spacing);
    SetDlgItemTextA(dialog, IDC_HEIGHTMAP, document.heightmapFile.c_str());
    SetDlgItemTextA(dialog, IDC_COLORMAP, document.colormapFile.c_str());
    SetDlgItemTextA(dialog, IDC_DETAILMAP, document.detailMap.c_str());
    SetDlgItemTextA(dialog, IDC_OBJECTMAP, document.objectMap.c_str());
    // The map statistics line; "Tile Grid Dimensions:" keeps its text.
    SetField(dialog, IDC_POLYGONALDIMENSIONS, "Heightmap: %dx%d", document.width, document.height);
}

int ReadNumber(HWND dialog, int id)
{
    char text[kNumberFieldSize] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return atoi(text);
}

// A file name is read whole: a name cut to the size of a field would name
// another file. Whoever receives the name refuses one it cannot hold.
std::string ReadFileName(HWND dialog, int id)
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

// The quad depth as typed: text that is no number reads as 0; a number
// outside 0..255 is refused (false), never wrapped into another depth.
bool ReadQuadDepth(HWND dialog, unsigned char* depth)
{
    char text[kNumberFieldSize] = "";
    GetDlgItemTextA(dialog, IDC_QUADDEPTH, text, sizeof(text));
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (end != text && (value < 0 || value > 255))
        return false;
    *depth = (unsigned char)value;
    return true;
}

// OK: the settings in their fixed order, applied as one undoable step. The
// spacing is applied after the heightmap, whose successful load sets it to 10.
// False when the dialog must stay open (a refused value, or Cancel at the
// question before the objects are replaced).
bool ApplyFields(HWND dialog)
{
    EditorApp& editor = EditorOf(dialog);
    MapDocument& document = editor.Document();
    MapSettings next = document.Settings();
    if (!ReadQuadDepth(dialog, &next.quadDepth))
    {
        MessageBoxA(dialog, "The quad depth must be a whole number from 0 to 255.", kMessageCaption,
                    MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(dialog, IDC_QUADDEPTH));
        return false;
    }
    // A changed object file replaces the objects: unsaved ones are asked about first.
    const std::string objectFile = ReadFileName(dialog, IDC_OBJECTMAP);
    const bool objectFileChanged = objectFile != document.objectMap;
    if (objectFileChanged && !ConfirmUnsavedChanges(editor, dialog))
        return false;

    std::vector<std::string> problems;
    const int spacing = ReadNumber(dialog, IDC_SPACING);
    LoadedImage heightmap;
    LoadNamedImage(editor.Images(), ReadFileName(dialog, IDC_HEIGHTMAP), true,
                   &next.heightmapTexture, &next.heightmapFile, &heightmap);
    if (heightmap.slot >= 0)
    {
        document.NoteHeightSamples(heightmap);
        next.width = heightmap.width;
        next.height = heightmap.height;
    }
    else if (!next.heightmapFile.empty())
        problems.push_back(next.heightmapFile + " (heightmap): " + heightmap.problem);
    next.spacing = spacing;
    LoadedImage colormap;
    LoadNamedImage(editor.Images(), ReadFileName(dialog, IDC_COLORMAP), false,
                   &next.colormapTexture, &next.colormapFile, &colormap);
    if (colormap.slot < 0 && !next.colormapFile.empty())
        problems.push_back(next.colormapFile + " (colormap): " + colormap.problem);
    next.detailMap = ReadFileName(dialog, IDC_DETAILMAP);
    // The object file is reloaded only when its name was changed; one that
    // cannot be read leaves the objects and their file name as they were.
    ObjectFileContents contents;
    std::string problem;
    bool reload = false;
    if (objectFileChanged && !objectFile.empty())
    {
        reload = MapDocument::ReadObjectFile(objectFile, editor.Files(), &contents, &problem);
        if (reload)
            next.objectMap = objectFile;
        else
            problems.push_back(objectFile + " (object map): " + problem);
    }
    else if (objectFileChanged)
        next.objectMap.clear();
    document.ApplyProperties(next, reload ? &contents : nullptr);
    if (reload)
        editor.Palette().RebuildList();
    document.viewScale = document.width * kViewScalePerPixel;
    document.scrollX = 0.0f;
    document.scrollY = 0.0f;
    if (!problems.empty())
    {
        problems.insert(problems.begin(), "Not all of the map's files could be read:");
        ShowProblems(editor.Main().Handle(), problems);
    }
    return true;
}
} // namespace

INT_PTR CALLBACK PropertiesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        FillFields(window, ((EditorApp*)lParam)->Document());
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
