// Pointer editing through the main window's real messages with many placed
// objects: a press that picks the last object (the hit test walks every
// object before it), a movement that drags the picked object, a Ctrl + click
// that places one more, Delete of the first object (every later record moves
// down) and a scroll step. Prints the median time of each per message for
// 1,000 to 1,000,000 objects, beside the 16.7 ms of one frame at 60 Hz,
// within which a pointer message should be answered.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "app/EditorApp.h"
#include "app/ViewWindow.h"
#include "bench/BenchClock.h"
#include "tests/support/EditorHarness.h"
#include "resource.h"

namespace
{
const int kScale = 3072; // the sample map (256 pixels) at "6x"
const int kProbeX = 600, kProbeY = 400;
const int kRounds = 9;

LRESULT Send(UINT message, WPARAM wParam, int x, int y)
{
    return SendMessageA(app.View().Handle(), message, wParam, MAKELPARAM(x, y));
}

void SetCtrl(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// count objects, all far off the view except the last, which lies under the
// probe point: a press there walks the whole list.
void FillObjects(size_t count)
{
    std::vector<PlacedObject>& objects = app.Document().objects;
    objects.assign(count, PlacedObject{});
    for (size_t i = 0; i + 1 < count; ++i)
    {
        objects[i].x = 10.0f + (float)(i % 1000) * 0.001f;
        objects[i].y = 10.0f;
    }
    objects.back().x = (float)kProbeX / kScale;
    objects.back().y = (float)kProbeY / kScale;
}

// Median seconds per call of `step`, over kRounds rounds of `perRound` calls.
template <typename F> double PerCall(int perRound, F step)
{
    std::vector<double> rounds;
    for (int r = 0; r < kRounds; ++r)
    {
        const double start = Now();
        for (int i = 0; i < perRound; ++i)
            step(i);
        rounds.push_back((Now() - start) / perRound);
    }
    return Median(rounds);
}

struct Row
{
    size_t objects;
    double press, move, place, removeFirst, scroll;
};

Row Measure(size_t count)
{
    Row row = {count, 0, 0, 0, 0, 0};
    FillObjects(count);
    const int calls = count >= 1000000 ? 20 : 200;

    row.press = PerCall(calls,
                        [](int)
                        {
                            Send(WM_LBUTTONDOWN, MK_LBUTTON, kProbeX, kProbeY);
                            Send(WM_LBUTTONUP, 0, kProbeX, kProbeY);
                        });

    // The drag begins once the pointer leaves the drag distance: the moves
    // measured are those of a drag under way.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kProbeX, kProbeY);
    Send(WM_MOUSEMOVE, MK_LBUTTON, kProbeX + 20, kProbeY);
    row.move = PerCall(2000, [](int i)
                       { Send(WM_MOUSEMOVE, MK_LBUTTON, kProbeX + 20 + (i & 1), kProbeY); });
    Send(WM_LBUTTONUP, 0, kProbeX, kProbeY);

    SetCtrl(true);
    row.place = PerCall(calls,
                        [](int)
                        {
                            Send(WM_LBUTTONDOWN, MK_LBUTTON, 1000, 900);
                            Send(WM_LBUTTONUP, 0, 1000, 900);
                        });
    SetCtrl(false);

    FillObjects(count + (size_t)calls * kRounds);
    row.removeFirst = PerCall(calls,
                              [](int)
                              {
                                  app.Document().SelectOnly(0);
                                  SendMessageA(app.View().Handle(), WM_KEYDOWN, VK_DELETE, 0);
                              });

    app.View().BeginScroll(0, 0);
    row.scroll = PerCall(100000, [](int) { app.View().ScrollToward(10, 10); });
    app.View().ResetGesture();
    return row;
}
} // namespace

int main()
{
    app.SaveProgramDirectory();
    app.CreateWindows(GetModuleHandleA(nullptr));
    app.Document().viewScale = kScale;
    app.Document().AddObjectType("..\\objects\\tree.ini");
    SendDlgItemMessageA(app.Palette().Handle(), IDC_OBJECTLIST, LB_ADDSTRING, 0,
                        (LPARAM) "..\\objects\\tree.ini");

    printf("Pointer editing through the main window's messages, median per message\n");
    printf("(one frame at 60 Hz: 16700 us)\n\n");
    printf("%10s %14s %14s %14s %16s %12s\n", "objects", "press (us)", "drag move (us)",
           "Ctrl+click (us)", "Delete first (us)", "scroll (us)");
    for (size_t count : {(size_t)1000, (size_t)10000, (size_t)100000, (size_t)1000000})
    {
        const Row row = Measure(count);
        printf("%10zu %14.2f %14.2f %14.2f %16.2f %12.3f\n", row.objects, row.press * 1e6,
               row.move * 1e6, row.place * 1e6, row.removeFirst * 1e6, row.scroll * 1e6);
    }
    DestroyWindow(app.Palette().Handle());
    DestroyWindow(app.Main().Handle());
    return 0;
}
