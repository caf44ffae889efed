// File > Recent Maps on the real menu: maps opened and saved through the
// File menu come first, an entry opens its map (after the unsaved-changes
// question), an entry whose file is gone is taken off with a message, and
// the list is the one its INI file holds, read again when the submenu opens.
// The list's own rules are tested natively.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
#include "app/RecentMaps.h"
#include "resource.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"

namespace
{
class RecentMapsTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        AddCatalogEntry("..\\objects\\tree.ini"); // so that a Ctrl click places one
        app.Document().StartNewHistory();
        savedFile_ = app.Recent().file;
        // In a folder that is not there yet, as on a first run.
        app.Recent().file = folder.File("Map Editor\\recent.ini");
        app.Recent().Load(app.Main().Handle());
        DeleteFileA("debug.txt");
        WriteText(mapA, "[map]\r\nheightmap=..\\maps\\area1.bmp\r\nquad_depth=3\r\n");
    }
    void TearDown() override
    {
        app.Recent().file = savedFile_;
        app.Recent().Load(app.Main().Handle());
        EditingTest::TearDown();
    }

    // The submenu's items, a greyed one marked.
    static Rows MenuItems()
    {
        Rows items;
        HMENU menu = RecentMapsMenu(app.Main().Handle());
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
        {
            char text[512] = "";
            GetMenuStringA(menu, (UINT)i, text, sizeof(text), MF_BYPOSITION);
            const bool greyed = GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_GRAYED;
            items.push_back(std::string(text) + (greyed ? " (greyed)" : ""));
        }
        return items;
    }

    // What the submenu shows when it opens.
    static Rows OpenedMenu()
    {
        SendToMain(WM_INITMENUPOPUP, (WPARAM)RecentMapsMenu(app.Main().Handle()), 6);
        return MenuItems();
    }

    TempFolder folder;
    const std::string mapA = folder.File("a.ini");
    const std::string mapB = folder.File("b.ini");

  private:
    std::string savedFile_;
};
} // namespace

TEST_F(RecentMapsTest, OpenedAndSavedMapsComeFirstAndEntriesOpenTheirMaps)
{
    EXPECT_EQ(OpenedMenu(), (Rows{"(none) (greyed)"}));
    EXPECT_EQ(AnswerDialog(
                  "Open Map File", [&](HWND c) { TypeIntoChooser(c, mapA); },
                  [] { SendToMain(WM_COMMAND, ID_FILE_OPENMAP); }),
              true);
    EXPECT_EQ(AnswerDialog(
                  "Save Map File", [&](HWND c) { TypeIntoChooser(c, mapB); },
                  [] { SendToMain(WM_COMMAND, ID_FILE_SAVEMAP); }),
              true);
    EXPECT_EQ(OpenedMenu(), (Rows{"&1 " + mapB, "&2 " + mapA}));

    // The second entry, with unsaved changes: the question, then the map.
    AddCatalogEntry("..\\objects\\rock.ini"); // the map opened has none
    CtrlClick(300, 300);
    std::string question;
    EXPECT_TRUE(AnswerDialog(
        "Map Editor 1.4a",
        [&](HWND box)
        {
            question = DialogItemText(box, 0xFFFF);
            PressButton(box, IDNO);
        },
        [] { SendToMain(WM_COMMAND, ID_FILE_RECENT_FIRST + 1); }));
    EXPECT_EQ(question, "Save changes to b.ini?");
    EXPECT_EQ(app.Document().settingsFile, mapA);
    EXPECT_EQ(app.Document().quadDepth, 3);
    EXPECT_FALSE(app.Document().IsModified());
    // Save puts the map it writes first again.
    app.Recent().Note(app.Main().Handle(), mapB);
    AnswerDialogs({}, [] { SendToMain(WM_COMMAND, ID_FILE_SAVE); }); // a chooser would be wrong
    EXPECT_EQ(OpenedMenu(), (Rows{"&1 " + mapA, "&2 " + mapB}));

    // The file is what the next run, or another editor, reads: nine more
    // maps (one again in other case) leave the latest eight.
    EXPECT_EQ(ReadText(app.Recent().file),
              "[recent]\r\nfile1=\"" + mapA + "\"\r\nfile2=\"" + mapB + "\"\r\n");
    for (int i = 1; i <= 8; ++i)
        app.Recent().Note(app.Main().Handle(), "C:\\m" + std::to_string(i) + ".ini");
    app.Recent().Note(app.Main().Handle(), "c:\\M5.INI");
    app.Recent().list.Clear();
    const Rows menu = OpenedMenu();
    ASSERT_EQ(menu.size(), 8u);
    EXPECT_EQ(menu[0] + "|" + menu[1] + "|" + menu[7], "&1 c:\\M5.INI|&2 C:\\m8.ini|&8 C:\\m1.ini");

    // Names compare as Windows compares them, beyond ASCII too.
    app.Recent().Note(app.Main().Handle(), "C:\\Карты\\ÄLT.ini");
    app.Recent().Note(app.Main().Handle(), "c:/карты/ält.INI");
    app.Recent().list.Clear();
    const Rows again = OpenedMenu();
    EXPECT_EQ(again[0] + "|" + again[1], "&1 c:/карты/ält.INI|&2 c:\\M5.INI");
}

TEST_F(RecentMapsTest, AnEntryWhoseFileIsGoneIsTakenOffWithAMessage)
{
    const std::string gone = folder.File("gone.ini");
    app.Recent().Note(app.Main().Handle(), mapA);
    app.Recent().Note(app.Main().Handle(), gone);
    CtrlClick(300, 300); // unsaved work, which nothing must ask about
    std::string message;
    HWND owner = nullptr;
    EXPECT_EQ(AnswerDialogs({{"Map Editor 1.4a",
                              [&](HWND box)
                              {
                                  message = DialogItemText(box, 0xFFFF);
                                  owner = GetWindow(box, GW_OWNER);
                                  PressButton(box, IDOK);
                              }}},
                            [] { SendToMain(WM_COMMAND, ID_FILE_RECENT_FIRST); }),
              1u);
    EXPECT_EQ(message,
              "The map " + gone + " was not found. It has been taken off File > Recent Maps.");
    EXPECT_EQ(owner, app.Main().Handle());
    EXPECT_EQ(ReadText("debug.txt"), message + "\r\n");
    EXPECT_TRUE(app.Document().IsModified());
    EXPECT_EQ(MenuItems(), (Rows{"&1 " + mapA}));
    EXPECT_EQ(ReadText(app.Recent().file), "[recent]\r\nfile1=\"" + mapA + "\"\r\n");
}
