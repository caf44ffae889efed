// The real file choosers, answered the way a user would (a timer fires inside
// the chooser's own message loop, fills in the file name and presses the
// button), the program directory restored after each one, and the device
// failure report.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/app/AppTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
// Wine's Explorer-style chooser: the file type box (cmb1).
const int kFileTypeBox = 0x470;

std::string FirstFileType(HWND chooser)
{
    char first[128] = "";
    SendDlgItemMessageA(chooser, kFileTypeBox, CB_GETLBTEXT, 0, (LPARAM)first);
    return first;
}

std::string CurrentDirectory()
{
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(directory), directory);
    return directory;
}

class FileChooserTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(StartEditorOnce()) << app.failedStep; }
    void TearDown() override { RestoreProgramDirectory(); }
    TempFolder folder;
};
} // namespace

TEST_F(FileChooserTest, ChoosersGiveTheChosenPathOrLeaveTheBufferWhenCancelled)
{
    const std::string map = folder.File("area7.ini");
    WriteText(map, "[map]\n");
    // A bare name saved under a specific file type gets that type's extension
    // (Wine prefers it to the default extension "bmp" that every chooser sets).
    const struct
    {
        const char* title;
        bool save;
        const char* filter;
        std::string typed; // empty: Cancel
        std::string chosen;
    } cases[] = {
        {"Open Map File", false, kMapFileFilter, map, map},
        {"Save Object File", true, kObjectFileFilter, folder.File("placed"),
         folder.File("placed.mob")},
        {"Open BMP File", false, kBitmapFilter, "", "untouched"},
    };
    for (const auto& c : cases)
    {
        char chosen[kChooserPathSize] = "untouched";
        bool picked = c.typed.empty();
        const bool seen = AnswerDialog(
            c.title,
            [&](HWND chooser)
            {
                if (c.typed.empty())
                    PressButton(chooser, IDCANCEL);
                else
                    TypeIntoChooser(chooser, c.typed);
            },
            [&]
            {
                picked = c.save ? ChooseSaveFile(chosen, app.mainWindow, c.title, c.filter)
                                : ChooseOpenFile(chosen, app.mainWindow, c.title, c.filter);
            });
        ASSERT_TRUE(seen) << c.title << " never appeared (refused record size?)";
        EXPECT_EQ(picked, !c.typed.empty()) << c.title;
        EXPECT_STRCASEEQ(chosen, c.chosen.c_str());
    }
}

TEST_F(FileChooserTest, CancelledCommandsChangeNothingAndRestoreTheProgramDirectory)
{
    const struct
    {
        int command;
        const char* title;
        const char* firstFileType;
    } commands[] = {
        {ID_FILE_OPENMAP, "Open Map File", "Map File (*.ini)"},
        {ID_FILE_SAVEMAP, "Save Map File", "Map File (*.ini)"},
        {ID_FILE_LOADOBJECTS, "Open Object File", "Map File (*.mob)"},
        {ID_FILE_SAVEOBJECTS, "Save Object File", "Map File (*.mob)"},
        {ID_IMPORT_HEIGHTMAP, "Open BMP File", "Bitmap File (*.bmp)"},
        {ID_IMPORT_OBJECTS, "Import Object", "Object Description (*.ini)"},
    };
    const std::string before = StateOf(app.document, PaletteList());
    for (const auto& c : commands)
    {
        SetCurrentDirectoryA(folder.Path().c_str());
        std::string firstFileType;
        const bool seen = AnswerDialog(
            c.title,
            [&](HWND chooser)
            {
                firstFileType = FirstFileType(chooser);
                PressButton(chooser, IDCANCEL);
            },
            [&] { SendToMain(WM_COMMAND, c.command); });
        EXPECT_TRUE(seen) << c.title;
        EXPECT_EQ(firstFileType.rfind(c.firstFileType, 0), 0u) << firstFileType;
        EXPECT_STRCASEEQ(CurrentDirectory().c_str(), app.programDirectory) << c.title;
        EXPECT_EQ(StateOf(app.document, PaletteList()), before) << c.title;
    }
}

TEST(DeviceFailure, InitialiseStopsAtAMissingDeviceAndTheUserIsToldWhichStep)
{
    ASSERT_TRUE(StartEditorOnce());
    EditorApp other;
    other.mainWindow = (HWND)(intptr_t)0x7ffffff0; // names no window
    EXPECT_FALSE(other.Initialise());
    EXPECT_FALSE(other.initialised);
    EXPECT_EQ(other.Device(), nullptr);
    EXPECT_EQ(other.fonts.owner, nullptr);
    EXPECT_EQ(other.backgroundBlue, 0);
    ASSERT_NE(other.failedStep, nullptr);

    std::string message;
    int status = 0;
    const bool seen = AnswerDialog(
        "Map Editor 1.4a",
        [&](HWND box)
        {
            message = DialogItemText(box, 0xFFFF); // the message's static text
            PressButton(box, IDOK);
        },
        [&] { status = ReportDeviceFailure(nullptr, "GetAdapterDisplayMode"); });
    EXPECT_TRUE(seen);
    EXPECT_EQ(status, 2);
    EXPECT_NE(message.find("GetAdapterDisplayMode failed"), std::string::npos) << message;
}
