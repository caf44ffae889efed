// Where the windows' events meet the commands: the router implements
// EditorEvents for the windows of one EditorApp and runs each menu command
// in the file, edit, view or dialog code that owns it, then brings the
// menus, the palette's list, the status bar and the view up to date.
#ifndef MAPEDITOR_COMMANDROUTER_H
#define MAPEDITOR_COMMANDROUTER_H

#include "app/EditorEvents.h"

class EditorApp;

class CommandRouter : public EditorEvents
{
  public:
    // The application object is given after construction: it is made with
    // this router as its windows' events.
    void Attach(EditorApp& editor) { editor_ = &editor; }

    void RunCommand(int command) override;
    void Changed() override;
    void ImportObjectType(HWND owner) override;
    void MenuOpening(HMENU menu) override;
    void FilesDropped(HDROP drop) override;
    void AutosaveDue() override;

  private:
    // View > Object Palette, Floating Palette, Fit Map, Zoom In and Out and
    // the Zoom items. False when the command is not one of these.
    bool RunViewCommand(int command);

    EditorApp* editor_ = nullptr;
};

#endif
