// The hit test, the rubber band and the counts per type over random edit
// sequences give exactly what walking the whole object list gives (the
// spatial index behind them follows every edit, undo and redo), and hidden
// and locked types follow the catalog and keep their objects out of reach.
#include <gtest/gtest.h>

#include <math.h>

#include <random>

#include "tests/document/DocumentTestSupport.h"

namespace
{
// What the view shows at a point, by walking every object: the earliest
// placed object whose marker box (edges truncated, bounds strict) holds it.
int HitByWalking(const MapDocument& d, int px, int py)
{
    for (size_t i = 0; i < d.objects.size(); ++i)
    {
        const float sx = d.MapToViewX(d.objects[i].x), sy = d.MapToViewY(d.objects[i].y);
        if (trunc((double)(sx - 8.0f)) < px && px < trunc((double)(sx + 8.0f)) &&
            trunc((double)(sy - 8.0f)) < py && py < trunc((double)(sy + 8.0f)) &&
            d.IsObjectSelectable(i))
            return (int)i;
    }
    return -1;
}

std::vector<uint32_t> BandByWalking(const MapDocument& d, float l, float t, float r, float b)
{
    std::vector<uint32_t> inside;
    for (size_t i = 0; i < d.objects.size(); ++i)
    {
        const float sx = d.MapToViewX(d.objects[i].x), sy = d.MapToViewY(d.objects[i].y);
        if (sx >= l && sx <= r && sy >= t && sy <= b && d.IsObjectSelectable(i))
            inside.push_back((uint32_t)i);
    }
    return inside;
}

// Random edits of every kind on a map of a few thousand objects, positions
// clustered (so that markers overlap) and some off the map or not numbers.
class RandomEdits
{
  public:
    explicit RandomEdits(unsigned seed) : random_(seed)
    {
        document.width = document.height = 256;
        document.viewScale = 3072;
        for (const char* path : {"tree.ini", "rock.ini", "house.ini", "well.ini"})
            document.AddObjectType(path);
        for (int i = 0; i < 3000; ++i)
            document.AddObject(MakeObject((uint8_t)Below(5), Position(), Position(), 0));
    }
    float Position()
    {
        switch (Below(12))
        {
        case 0:
            return (float)Below(17) / 16.0f; // on cell boundaries of the grid
        case 1:
            return Real(-0.3, 1.3); // near the map
        case 2:
            return Below(2) ? NAN : (Below(2) ? INFINITY : 1e30f);
        default:
            return Real(0.4, 0.45); // crowded
        }
    }
    unsigned Below(unsigned n) { return (unsigned)(random_() % n); }
    float Real(double low, double high)
    {
        return (float)std::uniform_real_distribution<double>(low, high)(random_);
    }
    void SelectSome()
    {
        std::vector<uint32_t> some;
        const unsigned every = 1 + Below(600);
        for (size_t i = Below(every); i < document.objects.size(); i += every)
            some.push_back((uint32_t)i);
        document.SelectOnly(some);
    }
    void Edit()
    {
        MapDocument& d = document;
        switch (Below(14))
        {
        case 0:
            d.currentType = (int)Below(4);
            d.PlaceObject(Real(0.39, 0.46), Real(0.39, 0.46), 0);
            break;
        case 1:
            d.AddObject(MakeObject((uint8_t)Below(5), Position(), Position(), 0));
            break;
        case 2:
            SelectSome();
            d.DeleteSelection();
            break;
        case 3:
            SelectSome();
            d.NudgeSelection((int)Below(5) - 2, (int)Below(5) - 2);
            break;
        case 4:
            SelectSome();
            d.SetSelectionType((int)Below(4));
            break;
        case 5:
            d.BeginDrag((int)Below((unsigned)d.objects.size() + 1));
            d.DragTo(Real(0.3, 0.5), Real(0.3, 0.5));
            d.DragTo(Real(0.3, 0.5), Real(0.3, 0.5));
            d.EndDrag();
            break;
        case 6:
        case 7:
            d.Undo();
            break;
        case 8:
            d.Redo();
            break;
        case 9:
            SelectSome();
            d.InsertGroup(d.CopySelection(), Real(-0.01, 0.01), 0.0f, "Paste");
            break;
        case 10:
            if (Below(4) == 0)
                d.RemoveType((int)Below(4));
            else
                d.ImportType("extra.ini");
            break;
        case 11:
            d.viewScale = (int)(256 + Below(8000));
            d.scrollX = Real(-500, (double)d.viewScale);
            d.scrollY = Real(-500, (double)d.viewScale);
            break;
        case 12:
            d.SetTypeHidden((int)Below(5), Below(3) == 0);
            d.SetTypeLocked((int)Below(5), Below(3) == 0);
            break;
        default:
            SelectSome();
            d.DeleteObject((int)Below((unsigned)d.objects.size() + 1));
            break;
        }
    }
    // A view point near an object (hits likely) or anywhere.
    void Point(int* px, int* py)
    {
        if (!document.objects.empty() && Below(4))
        {
            const PlacedObject& o = document.objects[Below((unsigned)document.objects.size())];
            const float sx = document.MapToViewX(o.x), sy = document.MapToViewY(o.y);
            if (fabsf(sx) < 1e6f && fabsf(sy) < 1e6f)
            {
                *px = (int)sx + (int)Below(19) - 9;
                *py = (int)sy + (int)Below(19) - 9;
                return;
            }
        }
        *px = (int)Below(2000) - 200;
        *py = (int)Below(2000) - 200;
    }

    MapDocument document;

  private:
    std::mt19937 random_;
};
} // namespace

TEST(ObjectQueries, HitTestBandAndCountsMatchWalkingTheListThroughRandomEdits)
{
    for (unsigned seed = 1; seed <= 3; ++seed)
    {
        RandomEdits edits(seed);
        MapDocument& d = edits.document;
        for (int step = 0; step < 250; ++step)
        {
            edits.Edit();
            for (int probe = 0; probe < 6; ++probe)
            {
                int px, py;
                edits.Point(&px, &py);
                ASSERT_EQ(d.HitTest(px, py), HitByWalking(d, px, py))
                    << "seed " << seed << " step " << step << " at " << px << "," << py;
            }
            int x0, y0, x1, y1;
            edits.Point(&x0, &y0);
            edits.Point(&x1, &y1);
            const float grow = (float)edits.Below(40);
            const float l = (float)std::min(x0, x1) - grow, r = (float)std::max(x0, x1) + grow;
            const float t = (float)std::min(y0, y1) - grow, b = (float)std::max(y0, y1) + grow;
            d.SelectInViewRect(r, t, l, b, false); // corners in any order
            ASSERT_EQ(d.SelectedIndices(), BandByWalking(d, l, t, r, b))
                << "seed " << seed << " step " << step;
            for (int type = 0; type < 6; ++type)
            {
                size_t walked = 0;
                for (const PlacedObject& o : d.objects)
                    walked += o.type == type;
                ASSERT_EQ(d.CountObjectsOfType(type), walked) << "step " << step;
            }
        }
    }
}

TEST(ObjectQueries, HiddenAndLockedTypesFollowTheCatalogAndStayOutOfReach)
{
    MapDocument d;
    d.width = d.height = 100;
    d.viewScale = 1000;
    for (const char* path : {"a.ini", "b.ini", "c.ini", "d.ini"})
        d.AddObjectType(path);
    for (uint8_t type = 0; type < 4; ++type)
        d.AddObject(MakeObject(type, 0.1f, 0.1f, 0)); // all under one point
    d.SelectAll();
    d.SetTypeHidden(0, true);
    d.SetTypeLocked(1, true);
    EXPECT_EQ(d.SelectedIndices(), (std::vector<uint32_t>{2, 3})); // taken out of the selection
    EXPECT_EQ(d.HitTest(100, 100), 2);
    d.SelectAll();
    EXPECT_EQ(d.SelectedIndices(), (std::vector<uint32_t>{2, 3}));
    d.SelectInViewRect(0, 0, 200, 200, false);
    EXPECT_EQ(d.SelectedIndices(), (std::vector<uint32_t>{2, 3}));
    d.SelectAllOfTypes({1, 3, 300});
    EXPECT_EQ(d.SelectedIndices(), (std::vector<uint32_t>{3}));

    // Removing type 0 renumbers the rest: b (locked) is now entry 0.
    ASSERT_TRUE(d.RemoveType(0));
    EXPECT_TRUE(d.IsTypeLocked(0));
    EXPECT_FALSE(d.IsTypeHidden(0));
    EXPECT_EQ(d.HitTest(100, 100), 1); // c, once index 2
    ASSERT_TRUE(d.Undo());
    EXPECT_TRUE(d.IsTypeLocked(1));
    EXPECT_FALSE(d.IsTypeHidden(0)); // the entry came back as new

    // A paste that adds an entry, and a new catalog with the same paths.
    ObjectGroup group;
    group.types = {ObjectType{"E.INI"}, ObjectType{"B.INI"}};
    group.objects = {MakeObject(0, 0.5f, 0.5f, 0), MakeObject(1, 0.6f, 0.5f, 0)};
    ASSERT_TRUE(d.InsertGroup(group, 0, 0, "Paste"));
    EXPECT_EQ(d.SelectedIndices(), (std::vector<uint32_t>{4})); // the locked b is not taken
    EXPECT_FALSE(d.IsTypeLocked(4));
    EXPECT_TRUE(d.IsTypeLocked(1));
    std::vector<ObjectType> types = {ObjectType{"B.ini"}, ObjectType{"new.ini"}};
    std::vector<PlacedObject> objects = {MakeObject(0, 0.1f, 0.1f, 0)};
    d.SwapContents(&types, &objects);
    EXPECT_TRUE(d.IsTypeLocked(0));
    EXPECT_EQ(d.HitTest(100, 100), -1);
    d.StartNewHistory(); // as a map opened anew
    EXPECT_FALSE(d.IsTypeLocked(0));
    EXPECT_EQ(d.HitTest(100, 100), 0);
}
