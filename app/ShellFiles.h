// Files the shell hands the editor: named on the command line
// ("MapEditor.exe [file]") or dropped on the main window. A map settings
// file (.ini) opens as File > Open Map opens it, an object file (.mob) loads
// as File > Load Objects loads it, each after the unsaved-changes question.
#ifndef MAPEDITOR_SHELLFILES_H
#define MAPEDITOR_SHELLFILES_H

#include <windows.h>

#include <string>
#include <vector>

class EditorApp;

// The files a command line names after the program's own name, split as
// Windows splits it (quotes, backslashes before quotes), as full paths in
// the active code page: relative names are taken from the current
// directory, so this runs at start, before anything changes it.
std::vector<std::string> CommandLineFiles(const wchar_t* commandLine);

// Opens the first map or object file of the list (after the question); the
// user is told of a file that is missing or of another kind, and of those
// left unopened. False when nothing was opened.
bool OpenGivenFiles(EditorApp& editor, HWND window, const std::vector<std::string>& paths);

// WM_DROPFILES: the dropped files as OpenGivenFiles takes them; the drop's
// memory is given back.
void OnDropFiles(EditorApp& editor, HWND window, HDROP drop);

#endif
