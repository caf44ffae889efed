// The program around the application object: start-up, the offer to
// restore unsaved work, the file named on the command line and the main
// loop.
#ifndef MAPEDITOR_EDITORMAIN_H
#define MAPEDITOR_EDITORMAIN_H

#include <windows.h>

class EditorApp;

// Removes and dispatches messages. Frames are drawn when the view is asked
// to paint (something changed); while the right button scrolls and the main
// window is active, a tick of the view runs whenever no message is waiting,
// and so does the next slice of a frame drawn in slices. Otherwise the loop
// waits for messages. Returns 1 when WM_QUIT arrives.
int RunMainLoop(EditorApp& editor);

// The editor's slices of a frame drawn between messages: with the time a
// message then waits at most for the rest of the slice, input is answered
// well within a tenth of a second.
const int kFrameSliceMilliseconds = 30;

// Tells the user which step of the device creation failed; returns the
// program's exit status for that case, 2.
int ReportDeviceFailure(HWND owner, const char* failedStep);

// At start-up: names the start-up images that could not be loaded, with the
// reasons, in a message and in debug.txt, as for any map.
void ReportStartupProblems(EditorApp& editor);

// At start-up: offers to restore work that a run which did not end cleanly
// left behind (newest first; the first one restored ends the offers, the
// ones turned down are removed).
void OfferRecovery(EditorApp& editor);

// The whole program: the application object, start-up, the file named on
// the command line, main loop. 1 after a normal quit, 2 when the Direct3D
// device could not be created (the user has been told).
int RunEditor(HINSTANCE instance);

#endif
