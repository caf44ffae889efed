// Undo and redo of every kind of step, their names, the limits of the
// history, what a step holds, and a property test over random edit
// sequences: undoing all gives back the saved bytes, redoing all the edited.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "document/ClipboardData.h"
#include "tests/document/DocumentTestSupport.h"

namespace
{
// Both files of a document as they would be saved.
std::string SavedBytes(const MapDocument& document)
{
    const Bytes objects = ObjectFileBytes(document);
    return document.EncodeSettings() + std::string(objects.begin(), objects.end());
}

// Three types, six objects (two of type 1), the 256 x 256 sample heightmap.
void FillMap(MapDocument* document, FakeImages* images)
{
    AddSampleImages(images);
    images->Add("other.bmp", 128, 64);
    document->Init(*images, "..\\maps\\area1.bmp");
    for (const char* path : {"tree.ini", "rock.ini", "house.ini"})
        document->AddObjectType(path);
    for (int i = 0; i < 6; ++i)
        document->AddObject(
            MakeObject((uint8_t)(i % 3), 0.1f + 0.15f * i, 0.5f, (int16_t)(45 * i)));
    document->StartNewHistory();
}

ObjectGroup TwoRocksAndAWell()
{
    ObjectGroup group;
    group.types = {ObjectType{"ROCK.INI"}, ObjectType{"well.ini"}};
    group.objects = {MakeObject(0, 0.2f, 0.2f, 0), MakeObject(1, 0.3f, 0.25f, 90),
                     MakeObject(0, 0.25f, 0.3f, 180)};
    return group;
}
} // namespace

TEST(EditHistory, EveryKindOfStepUndoesAndRedoesToTheBytes)
{
    const struct
    {
        const char* name;
        std::function<bool(MapDocument&, FakeImages&)> edit;
    } steps[] = {
        {"Place",
         [](MapDocument& d, FakeImages&)
         {
             d.currentType = 1;
             return d.PlaceObject(0.5f, 0.75f, 90);
         }},
        {"Move 2 Objects",
         [](MapDocument& d, FakeImages&)
         {
             d.SelectOnly(std::vector<uint32_t>{1, 2});
             d.BeginDrag(2);
             d.DragTo(0.6f, 0.6f);
             d.DragTo(0.7f, 0.2f);
             return d.EndDrag();
         }},
        {"Move",
         [](MapDocument& d, FakeImages&)
         {
             d.SelectOnly(0);
             return d.NudgeSelection(-10, 3);
         }},
        {"Rotate 6 Objects",
         [](MapDocument& d, FakeImages&)
         {
             d.SelectAll();
             return d.RotateSelection(-45);
         }},
        {"Delete 2 Objects",
         [](MapDocument& d, FakeImages&)
         {
             d.SelectOnly(std::vector<uint32_t>{1, 4});
             return d.DeleteSelection();
         }},
        {"Set Type 2 Objects",
         [](MapDocument& d, FakeImages&)
         {
             d.SelectOnly(std::vector<uint32_t>{0, 1, 2});
             return d.SetSelectionType(2);
         }},
        {"Import Object Type",
         [](MapDocument& d, FakeImages&) { return d.ImportType("well.ini"); }},
        {"Remove Type", [](MapDocument& d, FakeImages&) { return d.RemoveType(1); }},
        {"Import Heightmap",
         [](MapDocument& d, FakeImages& images) { return d.ImportHeightmap(images, "other.bmp"); }},
        {"Properties",
         [](MapDocument& d, FakeImages&)
         {
             MapSettings next = d.Settings();
             next.quadDepth = 200;
             next.detailMap = "another.bmp";
             ObjectFileContents reloaded;
             reloaded.types = {ObjectType{"only.ini"}};
             reloaded.objects = {MakeObject(0, 0.9f, 0.9f, 315)};
             return d.ApplyProperties(next, &reloaded);
         }},
        {"Paste 3 Objects", [](MapDocument& d, FakeImages&)
         { return d.InsertGroup(TwoRocksAndAWell(), 0.5f, 0.1f, "Paste"); }},
        {"Duplicate",
         [](MapDocument& d, FakeImages&)
         {
             d.SelectOnly(5);
             return d.InsertGroup(d.CopySelection(), 1 / 256.0f, 1 / 256.0f, "Duplicate");
         }},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.name);
        FakeImages images;
        MapDocument document;
        FillMap(&document, &images);
        const std::string before = SavedBytes(document);
        ASSERT_TRUE(step.edit(document, images));
        const std::string edited = SavedBytes(document);
        EXPECT_NE(edited, before);
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(document.UndoName(), step.name);
        ASSERT_TRUE(document.Undo());
        EXPECT_EQ(SavedBytes(document), before);
        EXPECT_FALSE(document.IsModified());
        EXPECT_EQ(document.RedoName(), step.name);
        EXPECT_EQ(document.UndoName(), "");
        ASSERT_TRUE(document.Redo());
        EXPECT_EQ(SavedBytes(document), edited);
        EXPECT_FALSE(document.Redo());
    }
}

TEST(EditHistory, EditsThatChangeNothingRecordNothing)
{
    FakeImages images;
    MapDocument document;
    FillMap(&document, &images);
    document.ClearSelection();
    EXPECT_FALSE(document.DeleteSelection()); // nothing selected: nothing removed
    EXPECT_FALSE(document.RotateSelection(45));
    EXPECT_FALSE(document.NudgeSelection(1, 0));
    document.SelectOnly(0);
    EXPECT_FALSE(document.SetSelectionType(0)); // already of that type
    EXPECT_FALSE(document.SetSelectionType(3)); // not in the catalog
    document.BeginDrag(0);
    EXPECT_FALSE(document.EndDrag()); // pressed and released without a move
    EXPECT_FALSE(document.ImportHeightmap(images, "missing.bmp"));
    EXPECT_FALSE(document.ApplyProperties(document.Settings(), nullptr));
    EXPECT_FALSE(document.InsertGroup(ObjectGroup(), 0, 0, "Paste"));
    EXPECT_FALSE(document.RemoveType(7));
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.IsModified());
}

TEST(EditHistory, ANewStepDropsTheRedoStepsAndTheOldestBeyondTheLimit)
{
    FakeImages images;
    MapDocument document;
    FillMap(&document, &images);
    document.currentType = 0;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(document.PlaceObject(0.01f * i, 0.0f, 0));
    ASSERT_TRUE(document.Undo());
    ASSERT_TRUE(document.Undo());
    ASSERT_TRUE(document.ImportType("well.ini"));
    EXPECT_FALSE(document.CanRedo());
    EXPECT_EQ(document.History().StepCount(), 2u);

    for (size_t i = 0; i < EditHistory::kMaxSteps + 5; ++i)
        ASSERT_TRUE(document.PlaceObject(0.5f, 0.5f, 0));
    EXPECT_EQ(document.History().StepCount(), EditHistory::kMaxSteps);
    while (document.Undo())
    {
    }
    // The oldest steps (the first place and the import among them) stay done.
    EXPECT_EQ(document.ObjectCount(), 6 + 1 + 5);
    EXPECT_EQ(document.objectTypes.size(), 4u);
    EXPECT_TRUE(document.IsModified()) << "the saved state can no longer be reached";
}

TEST(EditHistory, AStepHoldsWhatItChangedNotTheWholeMap)
{
    MapDocument document;
    document.AddObjectType("tree.ini");
    for (int i = 0; i < 100000; ++i)
        document.AddObject(MakeObject(0, (float)(i % 1000) / 1000.0f, 0.5f, 0));
    document.StartNewHistory();
    document.SelectOnly(std::vector<uint32_t>{7, 70, 700});
    ASSERT_TRUE(document.DeleteSelection());
    EXPECT_LT(document.History().Bytes(), 1000u);
    document.SelectAll();
    ASSERT_TRUE(document.DeleteSelection());
    // One step holding the removed records and their places, no copy more.
    const size_t perObject = sizeof(PlacedObject) + sizeof(uint32_t);
    EXPECT_GE(document.History().Bytes(), 99997 * perObject);
    EXPECT_LT(document.History().Bytes(), 99997 * perObject + 4096);
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.SelectedCount(), 99997u) << "what comes back is selected";
}

TEST(EditHistory, RandomEditSequencesUndoToTheSavedBytesAndRedoToTheEdited)
{
    for (unsigned seed = 1; seed <= 60; ++seed)
    {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return (int)(random() % (unsigned)n); };
        const auto fraction = [&] { return (float)(random() % 1001) / 1000.0f; };
        FakeImages images;
        MapDocument document;
        FillMap(&document, &images);
        const std::string original = SavedBytes(document);
        int steps = 0;
        for (int i = 0; i < 40; ++i)
        {
            // A random selection, then a random edit of it.
            document.ClearSelection();
            for (int k = 0; k < document.ObjectCount(); ++k)
                if (pick(3) == 0)
                    document.ToggleSelected(k);
            bool recorded = false;
            switch (pick(11))
            {
            case 0:
                document.currentType = pick((int)document.objectTypes.size() + 1) - 1;
                recorded = document.PlaceObject(fraction(), fraction(), (short)(45 * pick(8)));
                break;
            case 1:
                if (document.ObjectCount() > 0)
                {
                    const int picked = pick(document.ObjectCount());
                    document.BeginDrag(picked);
                    for (int m = 0; m < 3; ++m)
                        document.DragTo(fraction() * 1.4f - 0.2f, fraction());
                    recorded = document.EndDrag();
                }
                break;
            case 2:
                recorded = document.NudgeSelection(pick(21) - 10, pick(21) - 10);
                break;
            case 3:
                recorded = document.RotateSelection(pick(2) ? 45 : -45);
                break;
            case 4:
                recorded = document.DeleteSelection();
                break;
            case 5:
                recorded = document.SetSelectionType(pick((int)document.objectTypes.size() + 1));
                break;
            case 6:
                recorded = document.ImportType("type" + std::to_string(pick(4)) + ".ini");
                break;
            case 7:
                recorded = document.RemoveType(pick((int)document.objectTypes.size() + 1));
                break;
            case 8:
                recorded =
                    document.InsertGroup(pick(2) ? TwoRocksAndAWell() : document.CopySelection(),
                                         fraction() - 0.5f, fraction() - 0.5f, "Paste");
                break;
            case 9:
                recorded = document.ImportHeightmap(images, pick(2) ? "other.bmp" : "gone.bmp");
                break;
            case 10:
            {
                MapSettings next = document.Settings();
                next.quadDepth = (unsigned char)pick(256);
                next.spacing = pick(50);
                recorded = document.ApplyProperties(next, nullptr);
                break;
            }
            }
            steps += recorded;
        }
        const std::string edited = SavedBytes(document);
        ASSERT_EQ(document.History().StepCount(), (size_t)steps);
        while (document.Undo())
        {
        }
        ASSERT_EQ(SavedBytes(document), original);
        EXPECT_FALSE(document.IsModified());
        while (document.Redo())
        {
        }
        ASSERT_EQ(SavedBytes(document), edited);
    }
}
