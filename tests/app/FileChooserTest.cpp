// The real file choosers, answered the way a user would (a timer fires inside
// the chooser's own message loop, fills in the file name and presses the
// button): the chosen path, the default extension of each kind, the save
// chooser starting at the current file and asking before it replaces one,
// the program directory restored after each one; and the device failure
// report.
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>
#include <string.h>

#include <string>

#include "app/CommandRouter.h"
#include "app/EditorApp.h"
#include "app/EditorMain.h"
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
    void SetUp() override { ASSERT_TRUE(StartEditorOnce()) << app.Graphics().FailedStep(); }
    void TearDown() override { RestoreProgramDirectory(app.ProgramDirectory()); }
    TempFolder folder;
};
} // namespace

TEST_F(FileChooserTest, ChoosersGiveTheChosenPathOrNothingWhenCancelled)
{
    const std::string map = folder.File("area7.ini");
    WriteText(map, "[map]\n");
    // A bare name saved under a specific file type gets that type's extension.
    const struct
    {
        const FileKind* kind;
        bool save;
        std::string typed; // empty: Cancel
        std::string chosen;
    } cases[] = {
        {&kOpenMapKind, false, map, map},
        {&kSaveObjectsKind, true, folder.File("placed"), folder.File("placed.mob")},
        {&kSaveMapKind, true, folder.File("new"), folder.File("new.ini")},
        {&kOpenHeightmapKind, false, "", "untouched"},
    };
    for (const auto& c : cases)
    {
        std::string chosen = "untouched";
        bool picked = c.typed.empty();
        const bool seen = AnswerDialog(
            c.kind->title,
            [&](HWND chooser)
            {
                if (c.typed.empty())
                    PressButton(chooser, IDCANCEL);
                else
                    TypeIntoChooser(chooser, c.typed);
            },
            [&]
            {
                picked = c.save ? ChooseSaveFile(&chosen, app.Main().Handle(), *c.kind)
                                : ChooseOpenFile(&chosen, app.Main().Handle(), *c.kind);
            });
        ASSERT_TRUE(seen) << c.kind->title << " never appeared (refused record size?)";
        EXPECT_EQ(picked, !c.typed.empty()) << c.kind->title;
        EXPECT_STRCASEEQ(chosen.c_str(), c.chosen.c_str());
    }
}

TEST_F(FileChooserTest, SaveChoosersStartAtTheCurrentFileAndAskBeforeReplacingIt)
{
    const std::string map = folder.File("area7.ini");
    WriteText(map, "[map]\n");
    std::string folderShown, nameShown, question;
    const auto okAtTheOfferedName = [&](HWND chooser)
    {
        char text[MAX_PATH] = "";
        SendMessageA(chooser, CDM_GETFOLDERPATH, sizeof(text), (LPARAM)text);
        folderShown = text;
        nameShown = DialogItemText(chooser, 0x47c);
        PressButton(chooser, IDOK);
    };
    const auto answer = [&](int button)
    {
        return DialogAnswer{kSaveMapKind.title, [&question, button](HWND box)
                            {
                                question = DialogItemText(box, 0xFFFF);
                                PressButton(box, button);
                            }};
    };
    // No: the chooser comes again (cancelled here); Yes: the file is chosen.
    for (bool replace : {false, true})
    {
        std::string chosen;
        bool picked = false;
        std::vector<DialogAnswer> answers = {{kSaveMapKind.title, okAtTheOfferedName},
                                             answer(replace ? IDYES : IDNO)};
        if (!replace)
            answers.push_back({kSaveMapKind.title, [](HWND c) { PressButton(c, IDCANCEL); }});
        EXPECT_EQ(AnswerDialogs(answers,
                                [&] {
                                    picked = ChooseSaveFile(&chosen, app.Main().Handle(),
                                                            kSaveMapKind, map);
                                }),
                  answers.size());
        EXPECT_STRCASEEQ(folderShown.c_str(), folder.Path().c_str());
        EXPECT_EQ(nameShown, "area7.ini");
        EXPECT_EQ(question, "area7.ini already exists.\nDo you want to replace it?");
        EXPECT_EQ(picked, replace);
        EXPECT_EQ(ReadText(map), "[map]\n");
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
        {ID_FILE_OPENMAP, "Open Map File", "Map Files (*.ini)"},
        {ID_FILE_SAVEMAP, "Save Map File", "Map Files (*.ini)"},
        {ID_FILE_LOADOBJECTS, "Open Object File", "Object Files (*.mob)"},
        {ID_FILE_SAVEOBJECTS, "Save Object File", "Object Files (*.mob)"},
        {ID_IMPORT_HEIGHTMAP, "Open Heightmap", "Images (*.bmp;*.png;*.jpg;*.jpeg;*.tga;*.dds"},
        {ID_IMPORT_OBJECTS, "Import Object", "Object Descriptions (*.ini)"},
    };
    const std::string before = StateOf(app.Document(), PaletteList());
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
        EXPECT_STRCASEEQ(CurrentDirectory().c_str(), app.ProgramDirectory()) << c.title;
        EXPECT_EQ(StateOf(app.Document(), PaletteList()), before) << c.title;
    }
}

TEST(DeviceFailure, InitialiseStopsAtAMissingDeviceAndTheUserIsToldWhichStep)
{
    ASSERT_TRUE(StartEditorOnce());
    CommandRouter router;
    EditorApp other(router); // its windows never made: its view names no window
    EXPECT_FALSE(other.Initialise());
    EXPECT_FALSE(other.View().FramesEnabled());
    EXPECT_EQ(other.Graphics().Device(), nullptr);
    EXPECT_EQ(other.Fonts().owner, nullptr);
    EXPECT_EQ(other.Graphics().BackgroundColour(), 0xFF000000u); // no background set
    ASSERT_NE(other.Graphics().FailedStep(), nullptr);

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
