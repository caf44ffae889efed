// The application object: it holds the editor's parts and hands them to
// whoever needs them. The parts are the renderer (device, texture table),
// the fonts, the map document with the file system and image source it is
// given, the copies of unsaved work, the recent maps list, and the windows
// (main window, map view, palette, status bar), each of which keeps its own
// state. One is made by RunEditor for the process (and one by the test
// harness for a test program); nothing reaches it through a global.
//
// The windows sit below this object: they reach the commands only through
// the EditorEvents they are given, which the command router implements.
#ifndef MAPEDITOR_EDITORAPP_H
#define MAPEDITOR_EDITORAPP_H

#include <windows.h>

#include <string>
#include <vector>

#include "app/Autosave.h"
#include "app/MainWindow.h"
#include "app/PaletteDialog.h"
#include "app/RecentMaps.h"
#include "app/StatusBar.h"
#include "app/ViewWindow.h"
#include "app/WindowsFileSystem.h"
#include "document/MapDocument.h"
#include "render/Renderer.h"
#include "render/TextureImages.h"
#include "text/FontRegistry.h"

class EditorEvents;

class EditorApp
{
  public:
    explicit EditorApp(EditorEvents& events);
    ~EditorApp();
    EditorApp(const EditorApp&) = delete;
    EditorApp& operator=(const EditorApp&) = delete;

    // Start-up steps, in order (separate so tests can run them): the program
    // directory, the windows, then the device, fonts, document, blend
    // states, background, the view's fonts and the random seed. Initialise
    // is false when the Direct3D device could not be created (nothing after
    // the device is then done; the renderer's FailedStep names what failed).
    // The program is started from its executable's folder, made current
    // (UseProgramDirectory); a test program keeps the folder current at its
    // start (SaveProgramDirectory).
    void UseProgramDirectory(const std::string& folder);
    void SaveProgramDirectory();
    void CreateWindows(HINSTANCE instance);
    bool Initialise();
    // The start-up images that could not be loaded, with the reasons.
    const std::vector<std::string>& StartupProblems() const { return startupProblems_; }

    // The folder of the running executable (any length).
    static std::string ExecutableFolder();

    // The directory from which every relative name is taken; choosers make
    // it current again after they change it.
    const char* ProgramDirectory() const { return programDirectory_.c_str(); }
    HINSTANCE Instance() const { return instance_; }

    Renderer& Graphics() { return renderer_; }
    FontRegistry& Fonts() { return fonts_; }
    MapDocument& Document() { return document_; }
    WindowsFileSystem& Files() { return files_; }
    TextureImages& Images() { return images_; }
    Autosave& Copies() { return autosave_; }
    RecentMaps& Recent() { return recentMaps_; }

    MainWindow& Main() { return main_; }
    ViewWindow& View() { return view_; }
    PaletteDialog& Palette() { return palette_; }
    StatusBar& Status() { return status_; }

  private:
    // Members are declared in the order the teardown needs: destruction runs
    // the windows, the document, then the fonts (before the device they
    // live on), then the renderer releases the device and its texture table.
    Renderer renderer_;
    FontRegistry fonts_;
    WindowsFileSystem files_;                 // what the document reads and writes files through
    TextureImages images_{renderer_, files_}; // what it loads its images through
    MapDocument document_;
    Autosave autosave_;             // copies of unsaved work against a crash
    RecentMaps recentMaps_{files_}; // File > Recent Maps
    StatusBar status_{document_};
    PaletteDialog palette_;
    ViewWindow view_;
    MainWindow main_;
    HINSTANCE instance_ = nullptr;
    std::string programDirectory_;
    std::vector<std::string> startupProblems_;
};

#endif
