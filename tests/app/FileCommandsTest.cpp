// The file commands on the real windows: the title with its unsaved-changes
// mark, the question before leaving or replacing unsaved work (Yes, No,
// Cancel, and Yes with a save that fails), File > Save without a chooser,
// and the messages (owner, text, the same line in debug.txt) for files that
// could not be read or written (a long path shortened in the message only),
// and an import of a type the catalog has or of a file that cannot be read.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
#include "app/FileCommands.h"
#include "document/MessageText.h"
#include "document/RelativePath.h"
#include "resource.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"

namespace
{
class FileCommandsTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        app.Document().settingsFile.clear();
        AddCatalogEntry("..\\objects\\tree.ini");
        app.Document().StartNewHistory();
        DeleteFileA("debug.txt");
    }
    void TearDown() override
    {
        app.Document().settingsFile.clear();
        EditingTest::TearDown();
    }

    static std::string Title()
    {
        char text[256] = "";
        GetWindowTextA(app.Main().Handle(), text, sizeof(text));
        return text;
    }

    // Runs a command with the message boxes answered in turn; each box's
    // text and owner are noted.
    struct Box
    {
        explicit Box(int pressed = IDOK) : button(pressed) {}
        int button;
        std::string text;
        HWND owner = nullptr;
    };
    static DialogAnswer Answer(Box* box)
    {
        return {"Map Editor 1.4a", [box](HWND shown)
                {
                    box->text = DialogItemText(shown, 0xFFFF);
                    box->owner = GetWindow(shown, GW_OWNER);
                    PressButton(shown, box->button);
                }};
    }
    static size_t Run(int command, std::vector<Box>* boxes)
    {
        std::vector<DialogAnswer> answers;
        for (Box& box : *boxes)
            answers.push_back(Answer(&box));
        return AnswerDialogs(answers, [command] { SendToMain(WM_COMMAND, command); });
    }

    static bool QuitPosted()
    {
        MSG quit;
        return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    TempFolder folder;
};
} // namespace

TEST_F(FileCommandsTest, TheTitleNamesTheMapAndMarksUnsavedChanges)
{
    SendToMain(WM_COMMAND, ID_ZOOM_6X); // any command refreshes it
    EXPECT_EQ(Title(), "Untitled - Map Editor 1.4a");
    CtrlClick(300, 300);
    EXPECT_EQ(Title(), "Untitled* - Map Editor 1.4a");
    SendToMain(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(Title(), "Untitled - Map Editor 1.4a");
    app.Document().settingsFile = folder.File("area1.ini");
    SendToMain(WM_COMMAND, ID_EDIT_REDO);
    EXPECT_EQ(Title(), "area1.ini* - Map Editor 1.4a");
}

TEST_F(FileCommandsTest, LeavingUnsavedWorkIsAskedAboutFirst)
{
    app.Document().settingsFile = folder.File("map.ini");
    app.Document().objectMap = folder.File("map.mob");
    const struct
    {
        int command;
        std::vector<int> buttons; // the question, then what follows
        bool quits;
        bool saved;
    } cases[] = {
        {ID_FILE_EXIT, {IDCANCEL}, false, false},
        {IDCANCEL, {IDCANCEL}, false, false},
        {ID_FILE_EXIT, {IDNO}, true, false},
        {ID_FILE_EXIT, {IDYES}, true, true},
    };
    for (const auto& c : cases)
    {
        CtrlClick(300, 300);
        ASSERT_TRUE(app.Document().IsModified());
        std::vector<Box> boxes;
        for (int button : c.buttons)
            boxes.push_back(Box(button));
        EXPECT_EQ(Run(c.command, &boxes), c.buttons.size());
        EXPECT_EQ(boxes[0].text, "Save changes to map.ini?");
        EXPECT_EQ(boxes[0].owner, app.Main().Handle());
        EXPECT_EQ(QuitPosted(), c.quits) << c.command;
        EXPECT_EQ(FileExists(app.Document().objectMap), c.saved);
        EXPECT_EQ(app.Document().IsModified(), !c.saved);
    }
    ShowWindow(app.Main().Handle(), SW_SHOWMAXIMIZED);

    // Yes, but the save fails: the user is told, and the editor stays.
    CtrlClick(330, 300);
    SetFileAttributesA(app.Document().objectMap.c_str(), FILE_ATTRIBUTE_READONLY);
    std::vector<Box> boxes = {Box(IDYES), Box(IDOK)};
    EXPECT_EQ(Run(ID_FILE_EXIT, &boxes), 2u);
    SetFileAttributesA(app.Document().objectMap.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(boxes[1].text, "The objects could not be saved. " + app.Document().objectMap +
                                 ": the file is read-only");
    EXPECT_EQ(boxes[1].owner, app.Main().Handle());
    EXPECT_EQ(ReadText("debug.txt"), boxes[1].text + "\r\n");
    EXPECT_TRUE(app.Document().IsModified());
}

TEST_F(FileCommandsTest, SaveWritesBothFilesWhereTheyCameFromWithoutAChooser)
{
    app.Document().settingsFile = folder.File("map.ini");
    app.Document().objectMap = folder.File("map.mob");
    CtrlClick(300, 300);
    std::vector<Box> none;
    EXPECT_EQ(Run(ID_FILE_SAVE, &none), 0u);
    EXPECT_EQ(ReadBytes(app.Document().objectMap).size(), 12u + 128 + 17);
    EXPECT_NE(ReadText(app.Document().settingsFile).find("objectmap=" + app.Document().objectMap),
              std::string::npos);
    EXPECT_FALSE(app.Document().IsModified());
    EXPECT_FALSE(FileExists("debug.txt")) << "success says nothing";

    // Without names, the Save As choosers ask: the objects' first.
    app.Document().settingsFile.clear();
    app.Document().objectMap.clear();
    CtrlClick(330, 300);
    const size_t seen = AnswerDialogs(
        {{"Save Object File", [&](HWND c) { TypeIntoChooser(c, folder.File("new.mob")); }},
         {"Save Map File", [&](HWND c) { TypeIntoChooser(c, folder.File("new.ini")); }}},
        [] { SendToMain(WM_COMMAND, ID_FILE_SAVE); });
    EXPECT_EQ(seen, 2u);
    EXPECT_TRUE(FileExists(folder.File("new.mob")));
    EXPECT_NE(ReadText(folder.File("new.ini")).find("objectmap=" + folder.File("new.mob")),
              std::string::npos);
    EXPECT_EQ(Title(), "new.ini - Map Editor 1.4a");
}

TEST_F(FileCommandsTest, FilesThatCannotBeReadAreNamedWithTheReason)
{
    // A truncated object file: refused, and the objects stay.
    const std::string truncated = folder.File("short.mob");
    WriteBytes(truncated, {0x4D, 0x34, 0x44, 0x4F, 1, 0, 0, 0, 0, 0, 0, 0, 'x'});
    CtrlClick(300, 300);
    Box question(IDNO), message(IDOK);
    EXPECT_EQ(AnswerDialogs({Answer(&question),
                             {"Open Object File", [&](HWND c) { TypeIntoChooser(c, truncated); }},
                             Answer(&message)},
                            [] { SendToMain(WM_COMMAND, ID_FILE_LOADOBJECTS); }),
              3u);
    EXPECT_EQ(message.text, "The objects could not be loaded. " + truncated +
                                ": it is truncated (expected 140 bytes, found 13)");
    EXPECT_EQ(message.owner, app.Main().Handle());
    EXPECT_EQ(app.Document().ObjectCount(), 1);

    // A map whose object file and colormap are missing opens without them,
    // under its own names, and one message lists both.
    const std::string map = folder.File("partial.ini");
    WriteText(map, "[map]\r\ncolormap=gone.bmp\r\nheightmap=..\\maps\\area1.bmp\r\n"
                   "objectmap=" +
                       folder.File("gone.mob") + "\r\n");
    question = Box(IDNO);
    message = Box(IDOK);
    EXPECT_EQ(AnswerDialogs({Answer(&question),
                             {"Open Map File", [&](HWND c) { TypeIntoChooser(c, map); }},
                             Answer(&message)},
                            [] { SendToMain(WM_COMMAND, ID_FILE_OPENMAP); }),
              3u);
    EXPECT_EQ(message.text, "The map " + map +
                                " opened, but not all of it could be read:\n"
                                "gone.bmp (colormap): the file was not found\n" +
                                folder.File("gone.mob") +
                                " (objectmap): the file was not found; the map opens without "
                                "objects");
    EXPECT_EQ(app.Document().ObjectCount(), 0);
    EXPECT_TRUE(app.Document().objectTypes.empty());
    EXPECT_EQ(app.Document().objectMap, folder.File("gone.mob"));
    EXPECT_EQ(app.Document().colormapFile, "gone.bmp");
    EXPECT_EQ(app.Document().settingsFile, map);
    // The log holds the same lines.
    const std::string log = ReadText("debug.txt");
    EXPECT_NE(log.find("gone.bmp (colormap): the file was not found\r\n"), std::string::npos)
        << log;
}

TEST_F(FileCommandsTest, AnImportWhosePathDoesNotFitATypeNameIsRefusedWithAMessage)
{
    // The names are chosen so that their paths from the program folder are
    // 127 characters (the most a type name holds) and 128.
    const size_t base = MakeRelativePath(app.ProgramDirectory(), folder.File("").c_str()).size();
    ASSERT_LT(base + 5, 127u);
    for (size_t length : {127u, 128u})
    {
        const std::string description =
            folder.File((std::string(length - base - 4, 'd') + ".ini").c_str());
        WriteText(description, "[object]\r\n");
        const size_t before = app.Document().objectTypes.size();
        Box message(IDOK);
        const size_t seen = AnswerDialogs(
            {{"Import Object", [&](HWND c) { TypeIntoChooser(c, description); }}, Answer(&message)},
            [] { SendToMain(WM_COMMAND, ID_IMPORT_OBJECTS); });
        if (length == 127)
        {
            EXPECT_EQ(seen, 1u);
            ASSERT_EQ(app.Document().objectTypes.size(), before + 1);
            EXPECT_EQ(app.Document().objectTypes.back().path.size(), 127u);
            continue;
        }
        EXPECT_EQ(seen, 2u);
        EXPECT_EQ(app.Document().objectTypes.size(), before);
        const std::string line = "The object type could not be imported. " + description +
                                 ": its path from the program folder (128 characters) is too "
                                 "long for the object file's 127-character type names.";
        EXPECT_EQ(message.text, ShortenLongWords(line)); // the long path shortened for the box
        EXPECT_NE(ReadText("debug.txt").find("(128 characters) is too long"), std::string::npos);
        EXPECT_NE(ReadText("debug.txt").find(line), std::string::npos);
    }
}

TEST_F(FileCommandsTest, ImportingATypeTheCatalogHasSelectsItAndAnUnreadableFileIsRefused)
{
    AddCatalogEntry("..\\objects\\rock.ini");
    app.Palette().SelectType(1);
    const std::string tree = std::string(app.ProgramDirectory()) + "\\..\\OBJECTS\\Tree.INI";
    const auto import = [](const std::string& path, std::vector<Box>* boxes)
    {
        std::vector<DialogAnswer> answers = {
            {"Import Object", [path](HWND chooser) { TypeIntoChooser(chooser, path); }}};
        for (Box& box : *boxes)
            answers.push_back(Answer(&box));
        return AnswerDialogs(answers, [] { SendToMain(WM_COMMAND, ID_IMPORT_OBJECTS); });
    };
    std::vector<Box> none;
    EXPECT_EQ(import(tree, &none), 1u) << "no message";
    EXPECT_EQ(ListRows(PaletteList()), (Rows{"..\\objects\\tree.ini", "..\\objects\\rock.ini"}));
    EXPECT_EQ(app.Document().currentType, 0);
    EXPECT_EQ(app.Palette().SelectedTypes(), std::vector<int>{0}) << "its row alone is selected";
    EXPECT_FALSE(app.Document().CanUndo()) << "nothing was added";

    // A file another program holds without sharing cannot be read.
    const std::string locked = folder.File("locked.ini");
    WriteText(locked, "[object]\r\n");
    HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<Box> message(1);
    EXPECT_EQ(import(locked, &message), 2u);
    CloseHandle(held);
    EXPECT_EQ(message[0].text,
              "The object type could not be imported. " + locked + ": access was denied");
    EXPECT_EQ(app.Document().objectTypes.size(), 2u);
}
