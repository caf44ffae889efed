// The map document's edits with 10,000, 100,000 and 1,000,000 objects, each
// set against loading the same objects from a .mob file held in memory (the
// goal: no edit slower than twice reopening the file). Measured: a rubber
// band over half the map, one movement of a drag of that half, a whole drag
// (press, one movement, release: the step recorded), Delete of the half, Undo and Redo of that
// Delete, and Paste of 10,000 objects. Medians of several rounds.
#include <stdio.h>

#include <random>
#include <vector>

#include "bench/BenchClock.h"
#include "document/MapDocument.h"
#include "document/ObjectFile.h"

namespace
{
const int kRounds = 5;

void Fill(MapDocument* document, size_t count)
{
    std::vector<ObjectType> types;
    for (const char* path : {"tree.ini", "rock.ini", "house.ini", "tower.ini", "well.ini"})
        types.push_back(ObjectType{path});
    std::vector<PlacedObject> objects(count);
    std::mt19937 random(2026);
    for (PlacedObject& object : objects)
    {
        object = PlacedObject{};
        object.type = (uint8_t)(random() % 5);
        object.x = (float)(random() % 100000) / 100000.0f;
        object.y = (float)(random() % 100000) / 100000.0f;
        object.rotation = (int16_t)(45 * (random() % 8));
    }
    document->SwapContents(&types, &objects);
    document->width = document->height = 256;
    document->viewScale = 1000;
    document->StartNewHistory();
}

template <typename F> double Seconds(F run)
{
    const double start = Now();
    run();
    return Now() - start;
}

struct Row
{
    size_t objects;
    double load, band, dragMove, dragStep, remove, undo, redo, paste;
};

Row Measure(size_t count)
{
    Row row = {count, 0, 0, 0, 0, 0, 0, 0, 0};
    MapDocument document;
    Fill(&document, count);
    std::vector<unsigned char> file;
    EncodeObjectFile(document.objectTypes, document.objects, &file);

    std::vector<double> load, band, dragMove, dragStep, remove, undo, redo, paste;
    for (int round = 0; round < kRounds; ++round)
    {
        MapDocument loaded;
        load.push_back(Seconds(
            [&]
            {
                ObjectFileContents contents;
                ParseObjectFile(file.data(), file.size(), &contents);
                loaded.SwapContents(&contents.types, &contents.objects);
            }));

        // Half the map: the left 500 of the 1000 view pixels.
        band.push_back(Seconds([&] { document.SelectInViewRect(0, 0, 500, 1000, false); }));
        const int picked = (int)document.SelectedIndices().front();
        document.BeginDrag(picked);
        dragMove.push_back(Seconds([&] { document.DragTo(0.3f, 0.4f + 0.01f * round); }));
        document.EndDrag();
        dragStep.push_back(Seconds(
            [&]
            {
                document.BeginDrag(picked);
                document.DragTo(0.25f, 0.5f);
                document.EndDrag();
            }));
        remove.push_back(Seconds([&] { document.DeleteSelection(); }));
        undo.push_back(Seconds([&] { document.Undo(); }));
        redo.push_back(Seconds([&] { document.Redo(); }));
        document.Undo();

        document.SelectInViewRect(0, 0, 1000, 1000 * 10000.0f / (float)count, false);
        ObjectGroup group = document.CopySelection();
        group.objects.resize(std::min(group.objects.size(), (size_t)10000));
        paste.push_back(Seconds([&] { document.InsertGroup(group, 0.001f, 0.0f, "Paste"); }));
        document.Undo();
    }
    row.load = Median(load);
    row.band = Median(band);
    row.dragMove = Median(dragMove);
    row.dragStep = Median(dragStep);
    row.remove = Median(remove);
    row.undo = Median(undo);
    row.redo = Median(redo);
    row.paste = Median(paste);
    return row;
}
} // namespace

int main()
{
    printf("Document edits, median ms (ratio to loading the same .mob from memory)\n\n");
    printf("%9s %8s %14s %14s %14s %14s %14s %14s %14s\n", "objects", "load", "band (half)",
           "drag move", "drag step", "delete half", "undo delete", "redo delete", "paste 10k");
    for (size_t count : {(size_t)10000, (size_t)100000, (size_t)1000000})
    {
        const Row r = Measure(count);
        const double cells[] = {r.band, r.dragMove, r.dragStep, r.remove, r.undo, r.redo, r.paste};
        printf("%9zu %8.2f", r.objects, r.load * 1e3);
        for (double cell : cells)
            printf(" %7.2f (%4.2f)", cell * 1e3, cell / r.load);
        printf("\n");
    }
    return 0;
}
