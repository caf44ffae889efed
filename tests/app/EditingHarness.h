// Helpers of the app suites: the editor put back to the sample map before
// each test, the Ctrl key and the mouse driven through the main window's real
// messages, and modal windows (choosers, message boxes, the properties
// dialog) answered from a timer that fires inside their own message loop.
#ifndef MAPEDITOR_TESTS_EDITINGHARNESS_H
#define MAPEDITOR_TESTS_EDITINGHARNESS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The start-up names, valid in the suite's working folder (one below a copy of
// the sample content).
extern const char kSampleHeightmap[];
extern const char kSampleColormap[];

// The editor as after start-up on the sample map: no objects, an empty catalog
// and palette list, the sample heightmap and colormap, "6x" zoom without
// scroll, palette rotation row "0", "Randomize" off, type 0, nothing
// selected, a new history, no button held, Ctrl and Shift up, no capture,
// the select tool and the brush's first settings.
void ResetEditor();

// The editor started once and reset before and after each test.
class EditingTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override { ResetEditor(); }
};

// Commands go to the main window; the pointer and the keys to the view.
LRESULT SendToMain(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendToView(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Ctrl and Shift as GetKeyState sees them on this thread.
void SetCtrl(bool down);
void SetShift(bool down);

// Moves the pointer to a screen point and waits until it is seen there.
bool MoveCursorTo(int x, int y);

// Left-button messages to the view at its client points.
void PressLeft(int x, int y);
void MoveMouse(int x, int y);
void ReleaseLeft(int x, int y);
void ClickLeft(int x, int y);
void CtrlClick(int x, int y);

// A catalog entry and its palette row, added together as an import does.
void AddCatalogEntry(const char* path);

// View position of a placed object (map position x viewScale - scroll).
float ViewX(int index);
float ViewY(int index);

// Runs `open` (which enters a modal loop) while a timer waits for a visible
// dialog with the given caption and then calls `answer` on it once. When the
// dialog is still up long after the answer, it is cancelled so that a failing
// test ends. True when the dialog was seen.
bool AnswerDialog(const char* caption, const std::function<void(HWND)>& answer,
                  const std::function<void()>& open);

// The same for dialogs that come one after the other (a question, then a
// message): each is answered once, in turn. Returns how many were seen.
struct DialogAnswer
{
    const char* caption;
    std::function<void(HWND)> answer;
};
size_t AnswerDialogs(const std::vector<DialogAnswer>& answers, const std::function<void()>& open);

// Posts a click of the dialog's button.
void PressButton(HWND dialog, int id);

// Answers Wine's file chooser: types the path (UTF-8) into its file name box
// and presses Open/Save.
void TypeIntoChooser(HWND chooser, const std::string& path);

std::string DialogItemText(HWND dialog, int id);

#endif
