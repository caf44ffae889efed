// The copy of unsaved work with 10,000 to 1,000,000 objects: the time the
// window's thread is held (the snapshot; what editing waits for) and the
// time until the copy is on the disk (written on the copy's own thread).
// Medians of several rounds.
#include <windows.h>

#include <stdio.h>

#include <random>
#include <string>
#include <vector>

#include "app/Autosave.h"
#include "bench/BenchClock.h"
#include "document/MapDocument.h"

namespace
{
const int kRounds = 5;

void Fill(MapDocument* document, size_t count)
{
    std::vector<ObjectType> types = {ObjectType{"..\\objects\\tree.ini"}};
    std::vector<PlacedObject> objects(count, PlacedObject{});
    std::mt19937 random(7);
    for (PlacedObject& object : objects)
    {
        object.x = (float)(random() % 1000) / 1000.0f;
        object.y = (float)(random() % 1000) / 1000.0f;
    }
    document->SwapContents(&types, &objects);
    document->StartNewHistory();
    document->MarkUnsaved();
}
} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    Autosave autosave;
    autosave.root = std::string(temp) + "mapeditor-autosave-bench";
    if (!autosave.Start())
    {
        printf("no recovery folder could be made in %s\n", autosave.root.c_str());
        return 1;
    }
    printf("Copy of unsaved work, median ms\n\n%10s %16s %16s\n", "objects", "editing waits",
           "copy on disk");
    for (size_t count : {(size_t)10000, (size_t)100000, (size_t)1000000})
    {
        MapDocument document;
        Fill(&document, count);
        std::vector<double> held, written;
        for (int round = 0; round < kRounds; ++round)
        {
            const double start = Now();
            autosave.Tick(document, true);
            held.push_back(Now() - start);
            autosave.Finish();
            written.push_back(Now() - start);
        }
        printf("%10zu %16.2f %16.2f\n", count, Median(held) * 1e3, Median(written) * 1e3);
    }
    autosave.Discard();
    RemoveDirectoryA(autosave.root.c_str());
    return 0;
}
