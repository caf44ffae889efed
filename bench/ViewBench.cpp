// Frames per second of the editor's whole frame (app.DrawFrame: the map
// square, every object's marker and label, the count text, Present) on the
// real device, with 0, 1,000 and 10,000 objects spread over the map, at the
// start-up zoom (heightmap width x 12) and at zoom 1x (width x 2, where the
// whole map and every object is in view), with the culling of objects
// outside the viewport off and on. Starts the editor as the program does,
// with a copy of the program directory layout (build/win/dist/editor) as
// the current directory, so the sample map is the one drawn. Prints a table;
// never passes or fails on time.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "app/EditorApp.h"
#include "bench/BenchClock.h"
#include "tests/support/EditorHarness.h"

namespace
{
const char* const kTypes[] = {"..\\objects\\tree.ini", "..\\objects\\rock.ini",
                              "..\\objects\\house.ini", "..\\objects\\tower.ini",
                              "..\\objects\\well.ini"};
const int kObjectCounts[] = {0, 1000, 10000};
// Each measurement runs at least this long and this many frames; culling off
// and on take turns for kRounds rounds and the best of each is shown, so a
// burst of other work on the machine does not land on one side only.
const double kMinimumSeconds = 0.5;
const int kMinimumFrames = 3;
const int kRounds = 5;

// The program directory of the laid-out build: <build>\dist\editor, one
// folder up from this program's folder (<build>\bench).
bool EnterProgramDirectory()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return false;
    char* slash = strrchr(path, '\\');
    if (!slash)
        return false;
    *slash = '\0';
    const std::string editor = std::string(path) + "\\..\\dist\\editor";
    return SetCurrentDirectoryA(editor.c_str()) != 0;
}

// Objects spread evenly (a fixed pseudo-random sequence) over the whole map,
// turned in steps of 45 degrees, of every type of the catalog.
void PlaceObjects(int count)
{
    MapDocument& document = app.document;
    document.objects.clear();
    unsigned state = 2024;
    for (int i = 0; i < count; ++i)
    {
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        state = state * 1664525u + 1013904223u;
        object.x = (float)(state >> 8) / 16777216.0f;
        state = state * 1664525u + 1013904223u;
        object.y = (float)(state >> 8) / 16777216.0f;
        object.type = (uint8_t)(i % (int)(sizeof(kTypes) / sizeof(kTypes[0])));
        object.rotation = (int16_t)(45 * (i % 8));
        document.AddObject(object);
    }
}

// Objects whose centre lies in the viewport (culling may keep a few more,
// whose marker or label reaches in from outside).
int ObjectsInView(const D3DVIEWPORT8& viewport)
{
    int inside = 0;
    for (const PlacedObject& object : app.document.objects)
    {
        const float x = app.document.MapToViewX(object.x);
        const float y = app.document.MapToViewY(object.y);
        inside += x >= 0 && y >= 0 && x < (float)viewport.Width && y < (float)viewport.Height;
    }
    return inside;
}

double FramesPerSecond(bool cull)
{
    app.view.cullOffscreenObjects = cull;
    app.DrawFrame(); // warm-up
    int frames = 0;
    const double start = Now();
    double elapsed = 0.0;
    while (frames < kMinimumFrames || elapsed < kMinimumSeconds)
    {
        app.DrawFrame();
        ++frames;
        elapsed = Now() - start;
    }
    return frames / elapsed;
}

double Best(const double values[kRounds])
{
    return *std::max_element(values, values + kRounds);
}
} // namespace

int main()
{
    if (!EnterProgramDirectory())
    {
        printf("view_bench: no program directory at ..\\dist\\editor (build the dist target)\n");
        return 1;
    }
    if (!StartEditorOnce())
    {
        printf("view_bench: no Direct3D 8 device (%s)\n", app.failedStep ? app.failedStep : "?");
        return 1;
    }
    MapDocument& document = app.document;
    if (document.width <= 0)
    {
        printf("view_bench: the sample heightmap did not load\n");
        return 1;
    }
    for (const char* type : kTypes)
        document.AddObjectType(type);

    // A maximised window on a desktop: the viewport covers the back buffer.
    // (Without a window manager Wine may have restored the dialog size.)
    PumpMessages();
    app.ResizeViewport(0, 0, (unsigned)app.clientWidth, (unsigned)app.clientHeight);
    D3DVIEWPORT8 viewport;
    app.device->GetViewport(&viewport);

    printf("Map view frame rate: app.DrawFrame() with markers and labels, sample map %d x %d\n",
           document.width, document.height);
    printf("back buffer %d x %d, viewport %lu x %lu; best of %d runs of at least %.1f s each\n\n",
           app.clientWidth, app.clientHeight, viewport.Width, viewport.Height, kRounds,
           kMinimumSeconds);
    printf("| objects | zoom                  | centres in view | fps, culling off | fps, culling "
           "on | on / off |\n");
    printf("|--------:|-----------------------|----------------:|-----------------:|--------------"
           "--:|---------:|\n");
    const struct
    {
        const char* name;
        int factor;
    } zooms[] = {{"start-up (width x 12)", 12}, {"1x (width x 2)", 2}};
    for (int count : kObjectCounts)
    {
        PlaceObjects(count);
        for (const auto& zoom : zooms)
        {
            document.viewScale = document.width * zoom.factor;
            document.scrollX = document.scrollY = 0.0f;
            double offRounds[kRounds], onRounds[kRounds];
            for (int round = 0; round < kRounds; ++round)
            {
                offRounds[round] = FramesPerSecond(false);
                onRounds[round] = FramesPerSecond(true);
            }
            const double off = Best(offRounds);
            const double on = Best(onRounds);
            printf("| %7d | %-21s | %15d | %16.1f | %15.1f | %7.2fx |\n", count, zoom.name,
                   ObjectsInView(viewport), off, on, on / off);
            fflush(stdout);
        }
    }
    return 0;
}
