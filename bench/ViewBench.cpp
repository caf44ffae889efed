// Frame time of the editor's whole frame (app.DrawFrame: the map square,
// every object's marker and label, the count text, Present) on the real
// device, with 1,000 to 100,000 objects spread over the map at the start-up
// zoom (heightmap width x 12) and at zoom 1x (width x 2, where the whole map
// and every object is in view), and 1,000,000 at the start-up zoom; each as
// a ratio to the frame of the empty map at the same zoom, measured in turn
// with it. Culling of objects outside the viewport is on, as in the editor;
// for up to 10,000 objects the frame drawn one object at a time is shown as
// well. Those frames are drawn whole, as after a zoom or a scroll; the drag
// step is the frame after one object in view moved a few pixels, drawn in
// part over the kept frame as the editor draws it. Starts the editor as the program does, with a
// copy of the program directory layout (build/win/dist/editor) as the current directory, so the
// sample map is the one drawn. Prints a table; never passes or fails on time.
// The labels are measured both ways, from the font's label strips (one quad
// per run of glyphs, as the editor draws them) and one quad per glyph, with
// the quads each sends: a figure the machine's load does not shake. A second
// table gives the CPU time a frame takes over all the process's threads (the
// rasteriser's too), which other work on the machine disturbs far less than
// the time on the clock. Last, the pixels the labels' glyph quads and the
// strips' quads cover against the glyphs' whole cells.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "bench/BenchClock.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"
#include "text/LabelStrips.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/ObjectsOneByOne.h"

namespace
{
const char* const kTypes[] = {"..\\objects\\tree.ini", "..\\objects\\rock.ini",
                              "..\\objects\\house.ini", "..\\objects\\tower.ini",
                              "..\\objects\\well.ini"};
// Each measurement runs at least this long and this many frames; the empty
// map and the objects take turns for kRounds rounds and the best of each is
// shown, so a burst of other work on the machine does not land on one side
// only.
const double kMinimumSeconds = 0.5;
const int kMinimumFrames = 3;
const int kRounds = 3;
// Drawn one object at a time only up to this many objects (it takes seconds
// a frame beyond).
const int kMostDrawnOneByOne = 10000;

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
    MapDocument& document = app.Document();
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
    for (const PlacedObject& object : app.Document().objects)
    {
        const float x = app.Document().MapToViewX(object.x);
        const float y = app.Document().MapToViewY(object.y);
        inside += x >= 0 && y >= 0 && x < (float)viewport.Width && y < (float)viewport.Height;
    }
    return inside;
}

// The pixels the labels' glyph quads cover (as the batches send them), those
// of the label strips' quads and those of the glyphs' whole cells, over the
// objects whose centre is in view: what the rasteriser fills for the labels,
// without the timing's noise.
void LabelFill(const D3DVIEWPORT8& viewport, double* quads, double* strips, double* cells)
{
    *quads = *strips = *cells = 0.0;
    FontEntry* entry = app.Fonts().Entry(app.View().Map().labelFont);
    Font2D* font = entry ? entry->DrawingFont() : nullptr;
    LabelStrips* layouts = font ? font->Strips() : nullptr;
    if (!font || !layouts)
        return;
    const auto area = [](const std::vector<FontVertex>& vertices)
    {
        double pixels = 0.0;
        for (size_t i = 0; i + 5 < vertices.size(); i += 6)
            pixels += (vertices[i + 2].x - vertices[i].x) * (vertices[i].y - vertices[i + 1].y);
        return pixels;
    };
    std::vector<FontVertex> vertices;
    for (const PlacedObject& object : app.Document().objects)
    {
        const float x = app.Document().MapToViewX(object.x);
        const float y = app.Document().MapToViewY(object.y);
        const ObjectType* type = app.Document().FindObjectType(object.type);
        if (!type || x < 0 || y < 0 || x >= (float)viewport.Width || y >= (float)viewport.Height)
            continue;
        vertices.clear();
        font->AppendString(x, y, 0xFFFFFFFF, type->path.c_str(), &vertices);
        *quads += area(vertices);
        vertices.clear();
        const char* text = type->path.c_str();
        layouts->Append(layouts->Find(text), x, y, 0xFFFFFFFF, text, &vertices);
        *strips += area(vertices);
        for (char c : type->path)
        {
            const float* g = font->glyphCoords[c - 32];
            *cells += (g[2] - g[0]) * (float)font->textureWidth * (g[3] - g[1]) *
                      (float)font->textureHeight;
        }
    }
}

// The map view drawn one object at a time in place of the batches.
class OneByOneApp
{
  public:
    static void DrawFrame()
    {
        app.Graphics().BeginFrame();
        app.View().Map().DrawMap(app.Graphics(), app.Document());
        DrawObjectsOneByOne(app.View().Map(), app.Graphics(), app.Fonts(), app.Document());
        if (FontEntry* status = app.Fonts().Entry(app.View().StatusFont()))
            status->Print(0.0f, 0.0f, false, 0xFFFF0000, "Objects: %d",
                          app.Document().ObjectCount());
        app.View().Presenter().EndFrame();
    }
};

// CPU seconds the process has used in all its threads, the rasteriser's
// among them. Windows has no counter that sees threads Wine did not make, so
// under Wine on Linux the kernel is asked directly (clock_gettime of
// CLOCK_PROCESS_CPUTIME_ID as a system call); 0 elsewhere.
double CpuSeconds()
{
#if defined(__GNUC__) && defined(__x86_64__)
    static const bool onLinux = []
    {
        typedef void(CDECL * HostVersion)(const char**, const char**);
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        const HostVersion host =
            ntdll ? (HostVersion)(void*)GetProcAddress(ntdll, "wine_get_host_version") : nullptr;
        const char* system = nullptr;
        const char* release = nullptr;
        if (host)
            host(&system, &release);
        return system && strcmp(system, "Linux") == 0;
    }();
    if (!onLinux)
        return 0.0;
    struct
    {
        long long seconds, nanoseconds;
    } time = {0, 0};
    long long result = 0;
    __asm__ volatile("syscall"
                     : "=a"(result)
                     : "a"(228LL), "D"(2LL), "S"(&time)
                     : "rcx", "r11", "memory");
    return result == 0 ? (double)time.seconds + (double)time.nanoseconds * 1e-9 : 0.0;
#else
    return 0.0; // a compiler without GCC's inline assembly, or not x86-64
#endif
}

// Seconds a frame, and CPU seconds a frame in `cpu` (the best so far kept).
template <typename Frame> double SecondsPerFrame(Frame frame, int minimumFrames, double* cpu)
{
    frame(); // warm-up
    int frames = 0;
    const double start = Now(), startCpu = CpuSeconds();
    double elapsed = 0.0;
    while (frames < minimumFrames || elapsed < kMinimumSeconds)
    {
        frame();
        ++frames;
        elapsed = Now() - start;
    }
    *cpu = std::min(*cpu, (CpuSeconds() - startCpu) / frames);
    return elapsed / frames;
}

struct Row
{
    double empty = 1e9, batched = 1e9, oneByOne = 0.0, noLabels = 1e9, dragStep = 1e9;
    double glyphQuads = 1e9; // the frame with a quad per glyph
    struct
    {
        double empty = 1e9, batched = 1e9, noLabels = 1e9, glyphQuads = 1e9;
    } cpu;                                  // CPU seconds a frame
    int passes = 0;                         // of the whole frame
    int stripQuads = 0, glyphQuadCount = 0; // the labels' quads sent, both ways
};

// The first object whose centre is in the view, or -1.
int ObjectInView(const D3DVIEWPORT8& viewport)
{
    for (size_t i = 0; i < app.Document().objects.size(); ++i)
    {
        const PlacedObject& object = app.Document().objects[i];
        const float x = app.Document().MapToViewX(object.x);
        const float y = app.Document().MapToViewY(object.y);
        if (x >= 20 && y >= 20 && x < (float)viewport.Width - 20 && y < (float)viewport.Height - 20)
            return (int)i;
    }
    return -1;
}

// A frame after one object in view moved by 4 pixels (there and back in
// turn): what a drag step costs once the frame before it is on screen.
double DragStepSeconds(int frames)
{
    double unused = 0.0;
    D3DVIEWPORT8 viewport;
    app.Graphics().Device()->GetViewport(&viewport);
    const int moved = ObjectInView(viewport);
    if (moved < 0)
        return 0.0;
    app.View().DrawFrame(); // the frame the steps start from
    PlacedObject& object = app.Document().objects[(size_t)moved];
    const float step = 4.0f / (float)app.Document().viewScale;
    int n = 0;
    return SecondsPerFrame(
        [&]
        {
            object.x += (n++ % 2 == 0) ? step : -step;
            app.View().DrawFrame();
        },
        frames, &unused);
}

// The empty map and the objects in turn, the best of kRounds rounds each.
Row Measure(int count, bool oneByOne)
{
    Row row;
    std::vector<PlacedObject> aside; // the objects while the empty map is drawn
    for (int round = 0; round < kRounds; ++round)
    {
        aside.swap(app.Document().objects);
        row.empty = std::min(row.empty, SecondsPerFrame(
                                            []
                                            {
                                                app.View().ForgetKeptFrame();
                                                app.View().DrawFrame();
                                            },
                                            kMinimumFrames, &row.cpu.empty));
        aside.swap(app.Document().objects);
        const int frames = count >= 1000000 ? 1 : kMinimumFrames;
        // View > Labels off: the markers alone.
        app.View().Map().showLabels = false;
        row.noLabels = std::min(row.noLabels, SecondsPerFrame(
                                                  []
                                                  {
                                                      app.View().ForgetKeptFrame();
                                                      app.View().DrawFrame();
                                                  },
                                                  frames, &row.cpu.noLabels));
        app.View().Map().showLabels = true;
        // Each frame drawn whole, as after a zoom or a scroll.
        row.batched = std::min(row.batched, SecondsPerFrame(
                                                []
                                                {
                                                    app.View().ForgetKeptFrame();
                                                    app.View().DrawFrame();
                                                },
                                                frames, &row.cpu.batched));
        row.passes = app.View().Map().LastDraw().passes;
        row.stripQuads = app.View().Map().LastDraw().labelQuads;
        app.View().Map().labelStrips = false;
        row.glyphQuads = std::min(row.glyphQuads, SecondsPerFrame(
                                                      []
                                                      {
                                                          app.View().ForgetKeptFrame();
                                                          app.View().DrawFrame();
                                                      },
                                                      frames, &row.cpu.glyphQuads));
        row.glyphQuadCount = app.View().Map().LastDraw().labelQuads;
        app.View().Map().labelStrips = true;
        row.dragStep = std::min(row.dragStep, DragStepSeconds(frames));
    }
    if (oneByOne)
    {
        double unused = 0.0;
        row.oneByOne = SecondsPerFrame(OneByOneApp::DrawFrame, 1, &unused);
    }
    return row;
}
} // namespace

int main(int argc, char** argv)
{
    // One count alone when given (view_bench.exe 10000), for profiling.
    const int only = argc > 1 ? atoi(argv[1]) : 0;
    if (!EnterProgramDirectory())
    {
        printf("view_bench: no program directory at ..\\dist\\editor (build the dist target)\n");
        return 1;
    }
    if (!StartEditorOnce())
    {
        printf("view_bench: no Direct3D 8 device (%s)\n",
               app.Graphics().FailedStep() ? app.Graphics().FailedStep() : "?");
        return 1;
    }
    MapDocument& document = app.Document();
    if (document.width <= 0)
    {
        printf("view_bench: the sample heightmap did not load\n");
        return 1;
    }
    for (const char* type : kTypes)
        document.AddObjectType(type);

    // A maximised window on a desktop: the back buffer and the viewport of
    // its client area. (Without a window manager Wine may have restored the
    // dialog size, and the back buffer with it.)
    PumpMessages();
    RestoreStartupBackBuffer();
    app.Graphics().ResizeViewport(0, 0, (unsigned)app.Graphics().Width(),
                                  (unsigned)app.Graphics().Height());
    D3DVIEWPORT8 viewport;
    app.Graphics().Device()->GetViewport(&viewport);

    printf(
        "Map view frame time: app.View().DrawFrame() with markers and labels, sample map %d x %d\n",
        document.width, document.height);
    printf("back buffer %d x %d, viewport %lu x %lu; best of %d runs of at least %.1f s each, "
           "culling on.\nEvery frame is drawn whole (as after a zoom or scroll) except the drag "
           "step: one object in view moved 4 pixels, drawn in part over the kept frame.\n\n",
           app.Graphics().Width(), app.Graphics().Height(), viewport.Width, viewport.Height,
           kRounds, kMinimumSeconds);
    printf("| objects | zoom                  | centres in view | passes | empty map, ms | frame, "
           "ms | / empty | labels off, ms | / empty | drag step, ms | / empty | one by one, ms "
           "| glyph quads, ms | / empty | label quads | glyph by glyph |\n");
    printf("|--------:|-----------------------|----------------:|-------:|--------------:|-------"
           "---:|--------:|---------------:|--------:|--------------:|--------:|---------------:"
           "|----------------:|--------:|------------:|---------------:|\n");
    const struct
    {
        const char* name;
        int factor;
    } zooms[] = {{"start-up (width x 12)", 12}, {"1x (width x 2)", 2}};
    const struct
    {
        int count;
        bool everyZoom;
    } rows[] = {{1000, true}, {10000, true}, {100000, true}, {1000000, false}};
    std::string cpuTable; // printed after the first
    for (const auto& r : rows)
    {
        if (only && r.count != only)
            continue;
        PlaceObjects(r.count);
        for (const auto& zoom : zooms)
        {
            if (!r.everyZoom && zoom.factor != 12)
                continue;
            document.viewScale = document.width * zoom.factor;
            document.scrollX = document.scrollY = 0.0f;
            const Row row = Measure(r.count, r.count <= kMostDrawnOneByOne);
            char oneByOne[32] = "";
            if (row.oneByOne > 0.0)
                snprintf(oneByOne, sizeof(oneByOne), "%.1f", row.oneByOne * 1e3);
            printf(
                "| %7d | %-21s | %15d | %6d | %13.1f | %9.1f | %6.2fx | %14.1f | %6.2fx | %13.1f "
                "| %6.2fx | %14s | %15.1f | %6.2fx | %11d | %14d |\n",
                r.count, zoom.name, ObjectsInView(viewport), row.passes, row.empty * 1e3,
                row.batched * 1e3, row.batched / row.empty, row.noLabels * 1e3,
                row.noLabels / row.empty, row.dragStep * 1e3, row.dragStep / row.empty, oneByOne,
                row.glyphQuads * 1e3, row.glyphQuads / row.empty, row.stripQuads,
                row.glyphQuadCount);
            fflush(stdout);
            char line[256];
            const auto& cpu = row.cpu;
            snprintf(
                line, sizeof(line),
                "| %7d | %-21s | %9.1f | %9.1f | %6.2fx | %10.1f | %6.2fx | %11.1f | %6.2fx |\n",
                r.count, zoom.name, cpu.empty * 1e3, cpu.batched * 1e3, cpu.batched / cpu.empty,
                cpu.noLabels * 1e3, cpu.noLabels / cpu.empty, cpu.glyphQuads * 1e3,
                cpu.glyphQuads / cpu.empty);
            cpuTable += line;
        }
    }
    printf(
        "\nCPU time a frame, all threads (best of %d runs; 0 where the kernel cannot be asked)\n",
        kRounds);
    printf("| objects | zoom                  | empty, ms | frame, ms | / empty | labels off "
           "| / empty | glyph quads | / empty |\n");
    printf("|--------:|-----------------------|----------:|----------:|--------:|-----------:"
           "|--------:|------------:|--------:|\n");
    printf("%s", cpuTable.c_str());
    // The labels' fill at the start-up zoom, for the counts measured.
    printf("\nLabels at the start-up zoom (objects centred in view): pixels covered by the glyph "
           "quads and by the strips' quads, each against the glyphs' whole cells\n");
    for (const auto& r : rows)
    {
        if (only && r.count != only)
            continue;
        PlaceObjects(r.count);
        document.viewScale = document.width * 12;
        document.scrollX = document.scrollY = 0.0f;
        double quads = 0.0, strips = 0.0, cells = 0.0;
        LabelFill(viewport, &quads, &strips, &cells);
        printf("| %7d | glyph quads %10.0f | %5.2fx | strips %10.0f | %5.2fx | whole cells %10.0f "
               "|\n",
               r.count, quads, cells > 0.0 ? quads / cells : 0.0, strips,
               cells > 0.0 ? strips / cells : 0.0, cells);
    }
    return 0;
}
