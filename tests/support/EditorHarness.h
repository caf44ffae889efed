// Shared set-up of the Windows test programs: the editor's real windows,
// created once per test program from the real resources, the real Wine
// Direct3D 8 device, and reading pixels back from the back buffer.
#ifndef MAPEDITOR_TESTS_EDITORHARNESS_H
#define MAPEDITOR_TESTS_EDITORHARNESS_H

#include <windows.h>
#include <d3d8.h>

#include <string>
#include <vector>

class EditorApp;

// The application object of the test program, made by the harness with a
// command router of its own (as RunEditor makes the program's); the tests
// reach the editor's parts and windows through it.
extern EditorApp& app;

// Creates the main window and the palette as start-up does (program directory
// saved, windows created, main window shown maximised) and runs Initialise;
// File > Recent Maps is kept in a temporary folder.
// Safe to call from every test: the work is done once. Returns false when the
// device could not be created (the test then fails with the reason).
bool StartEditorOnce();

// Gives the back buffer back the size the device was created with (the
// maximised window's client area). Without a window manager Wine may put the
// main window back to its dialog size at any message, and WM_SIZE then
// resizes the back buffer: tests that need room draw after this, without
// pumping messages in between.
void RestoreStartupBackBuffer();

// Dispatches every waiting message of this thread.
void PumpMessages();

// The back buffer as 0xAARRGGBB values, row by row (width x height), read
// with CopyRects into an image surface of the back buffer's format.
struct BackBufferPixels
{
    int width = 0;
    int height = 0;
    std::vector<unsigned> pixels;
    unsigned At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};
bool ReadBackBuffer(IDirect3DDevice8* device, BackBufferPixels* out);
// The editor's last frame as it reached the window: the kept picture a frame
// drawn in part leaves (after one, the back buffer is right only in the part).
bool ReadShownFrame(BackBufferPixels* out);

// A fresh empty folder under the system's temporary folder; removed with its
// files by the destructor.
class TempFolder
{
  public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

#endif
