// What the editor tells the user: problems with files (a message box owned
// by the given window, every line also appended to debug.txt) and the
// questions it asks before it could lose work.
#ifndef MAPEDITOR_USERMESSAGES_H
#define MAPEDITOR_USERMESSAGES_H

#include <windows.h>

#include <string>
#include <vector>

// The caption of every message box of the editor.
extern const char kMessageCaption[];

// One message box listing the lines (nothing when there are none). Long
// paths are shortened in their middle for the box, which would otherwise
// grow wider than the screen; debug.txt gets every line whole.
void ShowProblems(HWND owner, const std::vector<std::string>& lines);
void ShowProblem(HWND owner, const std::string& line);
// A message about what the user typed, shown the same way but not logged.
void ShowNotice(HWND owner, const std::string& text);

// "Save changes to <name>?" with Yes, No and Cancel: IDYES, IDNO or IDCANCEL.
int AskToSaveChanges(HWND owner, const std::string& name);

#endif
