// What a window of the editor tells the code above it: the windows (view,
// palette, main window) sit below the commands and the application object,
// so they reach them only through this interface, which the command router
// implements and hands to each window at creation.
#ifndef MAPEDITOR_EDITOREVENTS_H
#define MAPEDITOR_EDITOREVENTS_H

#include <windows.h>

class EditorEvents
{
  public:
    virtual ~EditorEvents() = default;

    // A menu command, an accelerator or a key that stands for a command
    // (Delete, R, T, Escape in the view): run as the menu runs it.
    virtual void RunCommand(int command) = 0;
    // The document or a window's state changed: the menu items, the title,
    // the status bar and the view follow it, and a copy of unsaved work is
    // made when one is due.
    virtual void Changed() = 0;
    // The palette's Add: an object type imported by its description file,
    // with the chooser owned by `owner`.
    virtual void ImportObjectType(HWND owner) = 0;
    // A menu of the main window opens.
    virtual void MenuOpening(HMENU menu) = 0;
    // Files dropped on the main window.
    virtual void FilesDropped(HDROP drop) = 0;
    // The main window's timer that looks whether a copy of unsaved work is due.
    virtual void AutosaveDue() = 0;
};

#endif
