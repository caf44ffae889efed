// The editor's memory with a million objects: the process's resident size
// (working set) and private bytes with an object file of 1,000,000 objects
// loaded, drawn whole at the start-up zoom, hit-tested once (which builds the
// spatial index) and checked for changes, against the same editor with an
// object file of no objects; the difference per object, and what each part
// of the editor holds for the objects. Runs the editor in-process in the
// laid-out program directory (build/win/dist/editor), as view_bench does.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "bench/BenchClock.h"
#include "bench/MillionObjects.h"
#include "tests/support/EditorHarness.h"

namespace
{
size_t kObjects = 1000000; // or the count given

struct Memory
{
    double resident = 0, privateBytes = 0;
};

Memory Measure()
{
    PROCESS_MEMORY_COUNTERS_EX counters;
    memset(&counters, 0, sizeof(counters));
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&counters,
                         sizeof(counters));
    return {(double)counters.WorkingSetSize, (double)counters.PrivateUsage};
}

// The editor as a designer has it after opening the file: loaded, a whole
// frame drawn, a click (the spatial index), the title's modified test. The
// resident size after each step, when asked.
bool OpenAndLook(const std::string& path, std::vector<double>* steps = nullptr)
{
    MapDocument& document = app.Document();
    std::string problem;
    if (!document.LoadObjects(path, app.Files(), &problem))
    {
        printf("%s\n", problem.c_str());
        return false;
    }
    if (steps)
        steps->push_back(Measure().resident);
    app.View().ForgetKeptFrame();
    app.View().DrawFrame();
    if (steps)
        steps->push_back(Measure().resident);
    document.HitTest(10, 10);
    if (steps)
        steps->push_back(Measure().resident);
    document.IsModified();
    if (steps)
        steps->push_back(Measure().resident);
    return true;
}

void Row(const char* part, double bytes)
{
    printf("  %-44s %10.1f MiB %8.2f B/object\n", part, bytes / 1048576.0, bytes / kObjects);
}
} // namespace

int main(int argc, char** argv)
{
    // "markers": the frames without labels, to tell the device's share.
    // A number: that many objects instead of a million (to tell what grows
    // with the objects from what the first labels cost once).
    for (int i = 1; i < argc; ++i)
    {
        if (strcmp(argv[i], "markers") == 0)
            app.View().Map().showLabels = false;
        else if (atol(argv[i]) > 0)
            kObjects = (size_t)atol(argv[i]);
    }
    if (!EnterProgramDirectory() || !StartEditorOnce())
    {
        printf("the editor could not be started in dist\\editor\n");
        return 1;
    }
    TempFolder folder;
    const std::string empty = folder.File("empty.mob"), full = folder.File("million.mob");
    if (!WriteObjectFile(empty, 0, app.Files()) || !WriteObjectFile(full, kObjects, app.Files()))
    {
        printf("the object files could not be written in %s\n", folder.Path().c_str());
        return 1;
    }
    if (!OpenAndLook(empty))
        return 1;
    const Memory before = Measure();
    const double start = Now();
    std::vector<double> steps;
    if (!OpenAndLook(full, &steps))
        return 1;
    const double seconds = Now() - start;
    const Memory after = Measure();

    const MapDocument& document = app.Document();
    printf("Memory with %zu objects against an empty object file (load, whole frame at the\n"
           "start-up zoom, a click, the modified test: %.2f s)\n\n",
           kObjects, seconds);
    printf("  %-44s %10.1f MiB %8.2f B/object (goal at most 64)\n", "resident size (working set)",
           (after.resident - before.resident) / 1048576.0,
           (after.resident - before.resident) / kObjects);
    printf("  %-44s %10.1f MiB %8.2f B/object\n\n", "private bytes (0: not counted here)",
           (after.privateBytes - before.privateBytes) / 1048576.0,
           (after.privateBytes - before.privateBytes) / kObjects);
    const char* const stepNames[] = {"after the load", "after the whole frame", "after the click",
                                     "after the modified test"};
    printf("Resident size above the empty object file's, step by step:\n");
    for (size_t i = 0; i < steps.size(); ++i)
        printf("  %-44s %10.1f MiB %8.2f B/object\n", stepNames[i],
               (steps[i] - before.resident) / 1048576.0,
               (steps[i] - before.resident) / kObjects);
    printf("\nWhat the parts hold:\n");
    Row("records (17 bytes each)", (double)document.objects.capacity() * sizeof(PlacedObject));
    Row("selection", (double)document.SelectionBytes());
    Row("spatial index", (double)document.SpatialIndexBytes());
    Row("objects as last loaded or saved (hashes)", (double)document.SavedObjectsBytes());
    Row("copy kept for the kept frame", (double)app.View().Presenter().KeptFrameBytes());
    Row("undo history", (double)document.History().Bytes());
    Row("draw pass planner and vertex data", (double)app.View().Map().BatchBytes());
    Row("autosave snapshot (only while a copy is written)", 0.0);
    printf("  (the snapshot is the object file's bytes, %.1f MiB, freed once on disk)\n",
           (double)kObjects * sizeof(PlacedObject) / 1048576.0);
    IDirect3DSurface8* picture = app.View().Presenter().KeptPicture();
    D3DSURFACE_DESC desc = {};
    if (picture)
        picture->GetDesc(&desc);
    printf("  %-44s %10.1f MiB (the view's size, not the objects')\n", "kept picture",
           (double)desc.Width * desc.Height * 4 / 1048576.0);
    app.Document().LoadObjects(empty, app.Files());
    return 0;
}
