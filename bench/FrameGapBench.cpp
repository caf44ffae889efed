// Input while a big frame draws: with 1,000,000 objects loaded into the
// editor (in-process, in the laid-out program directory, frames sliced as
// the editor slices them), a Fit Map, a wheel zoom at the view's centre and a
// resize of the main window (smaller, and back) each start a whole frame;
// meanwhile a thread posts a message every 5 ms to a window of this
// program, and the editor's own main loop (RunMainLoop) handles them between
// its slices. Prints the frame's time, the messages handled and the longest
// time between two of them (goal: at most 100 ms). Never passes or fails on
// time.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <atomic>
#include <functional>
#include <thread>

#include "app/EditorApp.h"
#include "app/EditorMain.h"
#include "bench/BenchClock.h"
#include "bench/MillionObjects.h"
#include "tests/support/EditorHarness.h"

namespace
{
size_t kObjects = 1000000; // or the count given
const DWORD kPostMilliseconds = 5;

struct Gaps
{
    double started = 0, last = 0, longest = 0, longestEnd = 0, finished = 0, changed = 0;
    int handled = 0;
} gaps;

// Each message handled: the gap since the one before; once the frame is
// complete (no slice in progress, nothing left to paint), the loop ends.
LRESULT CALLBACK Noting(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP)
        return DefWindowProcA(window, message, wParam, lParam);
    const double now = Now();
    if (now - gaps.last > gaps.longest)
    {
        gaps.longest = now - gaps.last;
        gaps.longestEnd = now - gaps.started;
    }
    gaps.last = now;
    ++gaps.handled;
    if (!app.View().FrameInProgress() && !GetUpdateRect(app.View().Handle(), nullptr, FALSE) &&
        !gaps.finished)
    {
        gaps.finished = now;
        PostQuitMessage(0);
    }
    return 0;
}

void Measure(const char* what, HWND noting, const std::function<void()>& change)
{
    gaps = Gaps();
    std::atomic<bool> stop{false};
    std::thread poster(
        [&]
        {
            while (!stop)
            {
                PostMessageA(noting, WM_APP, 0, 0);
                Sleep(kPostMilliseconds);
            }
        });
    gaps.started = gaps.last = Now();
    change();
    gaps.changed = Now() - gaps.started;
    RunMainLoop(app);
    stop = true;
    poster.join();
    printf("| %-28s | %9.0f | %8d | %12.1f | %9.0f | %9.1f |\n", what,
           (gaps.finished - gaps.started) * 1e3, gaps.handled, gaps.longest * 1e3,
           gaps.longestEnd * 1e3, gaps.changed * 1e3);
}
} // namespace

int main(int argc, char** argv)
{
    // A count: that many objects (to tell what a change costs without them).
    if (argc > 1 && atol(argv[1]) >= 0)
        kObjects = (size_t)atol(argv[1]);
    setvbuf(stdout, nullptr, _IONBF, 0); // each row as soon as it is measured
    if (!EnterProgramDirectory() || !StartEditorOnce())
    {
        printf("the editor could not be started in dist\\editor\n");
        return 1;
    }
    TempFolder folder;
    const std::string file = folder.File("million.mob");
    std::string problem;
    if (!WriteObjectFile(file, kObjects, app.Files()) ||
        !app.Document().LoadObjects(file, app.Files(), &problem))
    {
        printf("the object file could not be written or loaded: %s\n", problem.c_str());
        return 1;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Noting;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FrameGapBenchNoting";
    RegisterClassA(&windowClass);
    HWND noting = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);

    // The start-up view drawn once, as the editor has it before the change.
    app.View().ForgetKeptFrame();
    app.View().DrawFrame();
    app.View().SliceFrames(kFrameSliceMilliseconds);
    printf("Longest time between handled messages while a whole frame of %zu objects draws\n"
           "(a message posted every %lu ms; slices of %d ms)\n\n",
           kObjects, (unsigned long)kPostMilliseconds, kFrameSliceMilliseconds);
    printf("| %-28s | %9s | %8s | %12s | %9s | %9s |\n|---|---:|---:|---:|---:|---:|\n",
           "change", "frame ms", "messages", "longest gap", "ended at", "change ms");
    int width = 0, height = 0;
    app.View().Size(&width, &height);
    Measure("wheel zoom in at the centre", noting,
            [&] { app.View().ZoomBySteps(1, width / 2, height / 2); });
    RECT window;
    GetWindowRect(app.Main().Handle(), &window);
    Measure("window resize (smaller)", noting,
            [&]
            {
                SetWindowPos(app.Main().Handle(), nullptr, 0, 0,
                             (window.right - window.left) * 3 / 4,
                             (window.bottom - window.top) * 3 / 4, SWP_NOMOVE | SWP_NOZORDER);
            });
    Measure("window resize (back)", noting,
            [&]
            {
                SetWindowPos(app.Main().Handle(), nullptr, 0, 0, window.right - window.left,
                             window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
            });
    Measure("Fit Map (every object in view)", noting, [&] { app.View().FitMap(); });
    DestroyWindow(noting);
    app.Document().LoadObjects(folder.File("missing.mob"), app.Files());
    return 0;
}
