// The Edit menu's wiring on the real windows: its place and the undo and redo
// items naming their steps (greyed when there is nothing), the Ctrl
// shortcuts working while the palette's list has the keyboard (those of the
// File and Help menus too) and the single keys only while the view has it (a
// letter in the list chooses a row), the real clipboard with both forms,
// plain text pasted as objects (or refused with a message), the popup's two
// commands, View > Snap to Cells and View > Labels. What the edits
// themselves do is tested natively.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/ObjectClipboard.h"
#include "app/ViewWindow.h"
#include "resource.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"

namespace
{
class EditMenuTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        AddCatalogEntry("..\\objects\\tree.ini");
        AddCatalogEntry("..\\objects\\rock.ini");
        // Three trees at view x 300, 600, 900 on the "6x" sample map.
        for (int i = 1; i <= 3; ++i)
            app.Document().AddObject(MakeObject(0, 300.0f * i / 3072.0f, 0.1f, 0));
    }
};

std::string MenuText(int command)
{
    char text[128] = "";
    GetMenuStringA(GetMenu(app.Main().Handle()), (UINT)command, text, sizeof(text), MF_BYCOMMAND);
    const UINT state = GetMenuState(GetMenu(app.Main().Handle()), (UINT)command, MF_BYCOMMAND);
    return std::string(text) + ((state & MF_GRAYED) ? " (greyed)" : "");
}

// Count, selection, and each object's type and rotation: "3 sel 0,2 t001 r0,45,0".
std::string Summary()
{
    const MapDocument& d = app.Document();
    std::string text = std::to_string(d.ObjectCount()) + " sel";
    for (uint32_t i : d.SelectedIndices())
        text += (text.back() == 'l' ? " " : ",") + std::to_string(i);
    text += " t";
    for (const PlacedObject& o : d.objects)
        text += std::to_string(o.type);
    text += " r";
    for (size_t i = 0; i < d.objects.size(); ++i)
        text += (i ? "," : "") + std::to_string(d.objects[i].rotation);
    return text;
}

// A key as the main loop sees it while `target` has the keyboard.
bool PressShortcut(HWND target, bool ctrl, bool shift, WPARAM key)
{
    SetCtrl(ctrl);
    SetShift(shift);
    MSG message = {target, WM_KEYDOWN, key, 1, GetTickCount(), {0, 0}};
    const bool translated = app.Main().TranslateShortcut(&message);
    SetCtrl(false);
    SetShift(false);
    return translated;
}
} // namespace

TEST_F(EditMenuTest, UndoAndRedoNameTheirStepsAndAreGreyedWithNothingToDo)
{
    RefreshEditMenu(app);
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z (greyed)");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y (greyed)");
    app.Document().SelectAll();
    SendToView(WM_KEYDOWN, 'R');
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Rotate 3 Objects\tCtrl+Z");
    SendToMain(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z (greyed)");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo Rotate 3 Objects\tCtrl+Y");
    SendToView(WM_KEYDOWN, VK_ESCAPE);
    PressLeft(600, 307); // selects just the second one, which the drag moves
    MoveMouse(620, 307);
    ReleaseLeft(620, 307);
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Move\tCtrl+Z");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y (greyed)");
    SendToView(WM_KEYDOWN, VK_DELETE);
    SendToMain(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo Delete\tCtrl+Y");
}

TEST_F(EditMenuTest, CtrlShortcutsWorkWhileThePaletteHasTheKeyboardAndSingleKeysInTheViewOnly)
{
    HWND list = GetDlgItem(app.Palette().Handle(), IDC_OBJECTLIST);
    SetFocus(list);
    app.Document().currentType = 1;
    const struct
    {
        bool ctrl, shift;
        WPARAM key;
        const char* after;
    } steps[] = {
        {true, false, 'A', "3 sel 0,1,2 t000 r0,0,0"},
        {false, false, 'R', "3 sel 0,1,2 t000 r45,45,45"},
        {false, true, 'R', "3 sel 0,1,2 t000 r0,0,0"},
        {false, false, 'T', "3 sel 0,1,2 t111 r0,0,0"},
        {true, false, 'Z', "3 sel 0,1,2 t000 r0,0,0"},
        {true, false, 'Y', "3 sel 0,1,2 t111 r0,0,0"},
        {true, false, 'Z', "3 sel 0,1,2 t000 r0,0,0"},
        {true, true, 'Z', "3 sel 0,1,2 t111 r0,0,0"},
        {true, false, 'D', "6 sel 3,4,5 t111111 r0,0,0,0,0,0"},
        {false, false, VK_DELETE, "3 sel t111 r0,0,0"},
        {true, false, 'A', "3 sel 0,1,2 t111 r0,0,0"},
        {true, false, 'X', "0 sel t r"},
        {true, false, 'V', "3 sel 0,1,2 t111 r0,0,0"},
        {true, false, 'C', "3 sel 0,1,2 t111 r0,0,0"},
        {true, false, 'V', "6 sel 3,4,5 t111111 r0,0,0,0,0,0"},
    };
    for (const auto& step : steps)
    {
        if (!step.ctrl)
        {
            // In the list a single key is the list's own; in the view, the map's.
            const std::string before = Summary();
            EXPECT_FALSE(PressShortcut(list, step.ctrl, step.shift, step.key)) << step.after;
            EXPECT_EQ(Summary(), before);
            EXPECT_TRUE(PressShortcut(app.View().Handle(), step.ctrl, step.shift, step.key));
        }
        else
            EXPECT_TRUE(PressShortcut(list, step.ctrl, step.shift, step.key)) << step.after;
        EXPECT_EQ(Summary(), step.after);
    }
    EXPECT_EQ(GetFocus(), list) << "the keyboard stays with the palette";
    // Keys of other windows are theirs.
    HWND other = CreateWindowA("EDIT", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    EXPECT_FALSE(PressShortcut(other, true, false, 'A'));
    DestroyWindow(other);
}

TEST_F(EditMenuTest, ALetterTypedInThePalettesListChoosesARowAndChangesNoObject)
{
    AddCatalogEntry("tower.ini");
    HWND list = GetDlgItem(app.Palette().Handle(), IDC_OBJECTLIST);
    app.Document().SelectAll();
    SetFocus(list);
    // The key as the main loop handles it: the shortcuts first, then the
    // list gets the key and the character it makes.
    PostMessageA(list, WM_KEYDOWN, 'T', MAKELPARAM(1, MapVirtualKeyA('T', MAPVK_VK_TO_VSC)));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (app.Main().TranslateShortcut(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    EXPECT_EQ(Summary(), "3 sel 0,1,2 t000 r0,0,0") << "T is not Set Type here";
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2) << "the row that starts with t";
    EXPECT_EQ(app.Document().currentType, 2);
}

TEST_F(EditMenuTest, FileAndHelpShortcutsWorkWhileThePaletteHasTheKeyboardAndZoomKeysInTheView)
{
    HWND list = GetDlgItem(app.Palette().Handle(), IDC_OBJECTLIST);
    app.Document().StartNewHistory(); // nothing unsaved: Ctrl+O asks no question
    // The file and help keys open their dialog (answered here); the zoom
    // keys change the scale: 1 up, -1 down, 2 to the scale that fits.
    const struct
    {
        bool ctrl, shift;
        WPARAM key;
        const char* dialog;
        int button;
        int zoom;
    } steps[] = {
        {true, false, 'O', "Open Map File", IDCANCEL, 0},
        {true, false, 'S', "Save Object File", IDCANCEL, 0}, // the objects have no file yet
        {true, true, 'S', "Save Map File", IDCANCEL, 0},
        {false, false, VK_ADD, nullptr, 0, 1},
        {false, true, VK_OEM_PLUS, nullptr, 0, 1},
        {false, false, VK_SUBTRACT, nullptr, 0, -1},
        {false, false, VK_OEM_MINUS, nullptr, 0, -1},
        {false, false, VK_HOME, nullptr, 0, 2},
        {false, false, VK_F1, "About Map Editor", IDOK, 0},
    };
    for (const auto& step : steps)
    {
        SetFocus(list);
        const int scale = app.Document().viewScale;
        bool translated = false;
        std::vector<DialogAnswer> answers;
        if (step.dialog)
            answers.push_back({step.dialog, [&step](HWND d) { PressButton(d, step.button); }});
        // The zoom keys and Home are the list's own there: they zoom from the view.
        const bool single = !step.ctrl && step.key != VK_F1;
        if (single)
        {
            EXPECT_FALSE(PressShortcut(list, step.ctrl, step.shift, step.key)) << step.key;
            EXPECT_EQ(app.Document().viewScale, scale);
        }
        const auto press = [&]
        {
            translated =
                PressShortcut(single ? app.View().Handle() : list, step.ctrl, step.shift, step.key);
        };
        EXPECT_EQ(AnswerDialogs(answers, press), answers.size()) << step.key;
        EXPECT_TRUE(translated) << step.key;
        if (step.zoom == 2)
            EXPECT_EQ(app.Document().viewScale, app.View().FitScale());
        else
            EXPECT_EQ((app.Document().viewScale > scale) - (app.Document().viewScale < scale),
                      step.zoom)
                << step.key;
    }
    EXPECT_EQ(app.Document().ObjectCount(), 3) << "every dialog was cancelled";
}

TEST_F(EditMenuTest, TheClipboardCarriesTypePathsAndPlainText)
{
    app.Document().SelectOnly(std::vector<uint32_t>{0, 2});
    ASSERT_TRUE(CopySelectionToClipboard(app.Main().Handle(), app.Document()));
    // Wine hands the clipboard to the X selection on a thread of its own: a
    // read right after the copy may still see what was there before.
    ObjectGroup copied;
    for (int i = 0; i < 100 && !(ReadClipboardGroup(app.Main().Handle(), &copied) &&
                                 copied.objects.size() == 2);
         ++i)
    {
        Sleep(10);
        PumpMessages();
    }
    ASSERT_EQ(copied.objects.size(), 2u);
    ASSERT_TRUE(OpenClipboard(app.Main().Handle()));
    HANDLE text = GetClipboardData(CF_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ((const char*)GlobalLock(text),
                 "..\\objects\\tree.ini\t0.09765625\t0.100000001\t0\r\n"
                 "..\\objects\\tree.ini\t0.29296875\t0.100000001\t0\r\n");
    GlobalUnlock(text);
    CloseClipboard();

    // Into another map whose catalog has only the rock: the tree is added,
    // and the objects land where they were copied (the pointer is on the
    // status bar, not over the view) as the new selection.
    ResetEditor();
    AddCatalogEntry("..\\objects\\rock.ini");
    RECT bar;
    GetWindowRect(app.Status().Handle(), &bar);
    ASSERT_TRUE(MoveCursorTo(bar.left + 5, bar.top + 5));
    SendToMain(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_EQ(ListRows(PaletteList()), (Rows{"..\\objects\\rock.ini", "..\\objects\\tree.ini"}));
    ASSERT_EQ(app.Document().ObjectCount(), 2);
    EXPECT_EQ(app.Document().objects[1].type, 1);
    EXPECT_EQ(+app.Document().objects[1].x, 900.0f / 3072.0f);
    EXPECT_EQ(app.Document().SelectedCount(), 2u);
    EXPECT_EQ(app.Document().UndoName(), "Paste 2 Objects");
}

TEST_F(EditMenuTest, PlainTextIsPastedWhereItsLinesSayOrRefusedWithAMessage)
{
    const auto pasteText = [](const std::string& text)
    {
        EXPECT_TRUE(OpenClipboard(app.Main().Handle()));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
        Sleep(100); // Wine hands the clipboard to the X selection on a thread of its own
        std::string message;
        AnswerDialogs({{"Map Editor 1.4a",
                        [&](HWND box)
                        {
                            message = DialogItemText(box, 0xFFFF);
                            PressButton(box, IDOK);
                        }}},
                      [] { SendToMain(WM_COMMAND, ID_EDIT_PASTE); });
        return message;
    };
    // The tree in other letters is the catalog's; the well is added.
    EXPECT_EQ(pasteText("..\\OBJECTS\\TREE.INI\t0.5\t0.25\t90\r\n"
                        "..\\objects\\well.ini\t0.125\t1\t-45\n"),
              "");
    EXPECT_EQ(Summary(), "5 sel 3,4 t00002 r0,0,0,90,-45");
    EXPECT_EQ(+app.Document().objects[4].x, 0.125f);
    EXPECT_EQ(+app.Document().objects[3].y, 0.25f);
    EXPECT_EQ(ListRows(PaletteList()),
              (Rows{"..\\objects\\tree.ini", "..\\objects\\rock.ini", "..\\objects\\well.ini"}));
    EXPECT_EQ(app.Document().UndoName(), "Paste 2 Objects");
    EXPECT_EQ(pasteText("..\\objects\\tree.ini\t0.5\t0.5\t0\r\n..\\objects\\tree.ini\t0.5\r\n"),
              "Nothing was pasted: the text on the clipboard is not a list of objects (a line "
              "each: type path, x, y and rotation, separated by tabs). Line 2: it has 2 fields, "
              "where a line has 4: type path, x, y and rotation, separated by tabs.");
    EXPECT_EQ(pasteText("..\\objects\\gone.ini\t0\t0\t0"),
              "Nothing was pasted: an object type of the text could not be read. "
              "..\\objects\\gone.ini: the file was not found");
    EXPECT_EQ(Summary(), "5 sel 3,4 t00002 r0,0,0,90,-45");
}

TEST_F(EditMenuTest, ThePopupsCommandsActWhereItWasOpenedAndTheViewItemsToggle)
{
    app.Document().currentType = 1;
    app.View().SetPopupPoint(1200, 600);
    SendToMain(WM_COMMAND, ID_POPUP_INSERTOBJECT);
    ASSERT_EQ(app.Document().ObjectCount(), 4);
    EXPECT_EQ(app.Document().objects[3].type, 1);
    EXPECT_EQ(+app.Document().objects[3].x, 1200.0f / 3072.0f);
    app.View().SetPopupPoint(600, 307);
    SendToMain(WM_COMMAND, ID_POPUP_DELETEOBJECT);
    EXPECT_EQ(app.Document().ObjectCount(), 3);
    EXPECT_EQ(+app.Document().objects[1].x, 900.0f / 3072.0f);
    app.View().SetPopupPoint(10, 307); // nothing there: nothing deleted
    SendToMain(WM_COMMAND, ID_POPUP_DELETEOBJECT);
    EXPECT_EQ(app.Document().ObjectCount(), 3);

    EXPECT_EQ(MenuText(ID_VIEW_SNAPTOCELLS), "Snap to &Cells");
    SendToMain(WM_COMMAND, ID_VIEW_SNAPTOCELLS);
    EXPECT_TRUE(app.Document().snapToCells);
    EXPECT_TRUE(GetMenuState(GetMenu(app.Main().Handle()), ID_VIEW_SNAPTOCELLS, MF_BYCOMMAND) &
                MF_CHECKED);
    CtrlClick(1201, 601); // cell 100 of 256, centre at view 1206
    EXPECT_EQ(+app.Document().objects.back().x, 100.5f / 256.0f);
    SendToMain(WM_COMMAND, ID_VIEW_SNAPTOCELLS);
    EXPECT_FALSE(app.Document().snapToCells);

    // Labels: checked from the start, and each choice flips what is drawn.
    EXPECT_EQ(MenuText(ID_VIEW_LABELS), "&Labels");
    for (bool shown : {true, false, true})
    {
        EXPECT_EQ(app.View().Map().showLabels, shown);
        EXPECT_EQ((GetMenuState(GetMenu(app.Main().Handle()), ID_VIEW_LABELS, MF_BYCOMMAND) &
                   MF_CHECKED) != 0,
                  shown);
        SendToMain(WM_COMMAND, ID_VIEW_LABELS);
    }
    SendToMain(WM_COMMAND, ID_VIEW_LABELS);
}
