// Copies of unsaved work on the real file system: a recovery folder whose
// names are longer than MAX_PATH holds the copy and is found and removed by
// the next run, and a copy that cannot be written is told once (a message
// and debug.txt) and written again at the next check.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
#include "app/MainWindow.h"
#include "app/UserMessages.h"
#include "app/WindowsFileSystem.h"
#include "document/MessageText.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"

namespace
{
const char* const kCopyFiles[] = {"objects.mob", "map.ini", "names.txt"};

bool HoldsTheCopy(const std::string& folder)
{
    for (const char* name : kCopyFiles)
    {
        const DWORD attributes =
            GetFileAttributesW(WindowsFileSystem::WideName(folder + "\\" + name).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    return true;
}

class AutosaveTest : public EditingTest
{
  protected:
    void TearDown() override
    {
        app.Copies().Discard();
        app.Copies().root = savedRoot_;
        EditingTest::TearDown();
    }
    const std::string savedRoot_ = app.Copies().root;
    TempFolder folder_;
};
} // namespace

TEST_F(AutosaveTest, ARecoveryFolderOfAnyLengthHoldsTheCopyForTheNextRun)
{
    const std::string outer = folder_.File(std::string(150, 'r').c_str());
    const std::string root = outer + "\\" + std::string(120, 's');
    ASSERT_GT(root.size(), (size_t)MAX_PATH);
    MapDocument document;
    document.MarkUnsaved();
    std::string left;
    {
        Autosave copies; // ends without Discard, as a run that crashed
        copies.root = root;
        ASSERT_TRUE(copies.Start());
        copies.Tick(document, true);
        copies.Finish();
        EXPECT_TRUE(HoldsTheCopy(copies.Folder()));
        copies.Tick(document);
        EXPECT_EQ(copies.TakeReport(), "");
        left = copies.Folder();
    }
    Autosave next;
    next.root = root;
    EXPECT_EQ(next.Leftovers(), std::vector<std::string>{left});
    Autosave::Remove(left);
    EXPECT_FALSE(WindowsFileSystem::Exists(left));
    RemoveDirectoryW(WindowsFileSystem::WideName(root).c_str());
    RemoveDirectoryW(WindowsFileSystem::WideName(outer).c_str());
}

TEST_F(AutosaveTest, ACopyThatCannotBeWrittenIsToldOnceAndWrittenAtTheNextCheck)
{
    Autosave& copies = app.Copies();
    copies.root = folder_.File("Recovery");
    ASSERT_TRUE(copies.Start());
    app.Document().MarkUnsaved();
    // A folder where the objects' copy goes: no file can take its place.
    const std::string blocked = copies.Folder() + "\\objects.mob";
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    DeleteFileA("debug.txt");
    copies.Tick(app.Document(), true);
    std::string message;
    const auto timerShowsMessage = [&]
    {
        copies.Finish();
        return AnswerDialog(
            kMessageCaption,
            [&](HWND box)
            {
                message = DialogItemText(box, 0xFFFF);
                PressButton(box, IDOK);
            },
            [] { SendToMain(WM_TIMER, kAutosaveTimer); });
    };
    EXPECT_TRUE(timerShowsMessage());
    const std::string expected = "The copy of unsaved work could not be written (" + blocked +
                                 ": it is a folder, not a file). It will be tried again.";
    EXPECT_EQ(message, ShortenLongWords(expected)); // the log keeps the whole path
    EXPECT_FALSE(timerShowsMessage()) << "told once";
    EXPECT_FALSE(HoldsTheCopy(copies.Folder()));
    // Once it can be written, the next checks write it without a change or
    // two minutes having passed.
    copies.Finish();
    ASSERT_TRUE(RemoveDirectoryA(blocked.c_str()));
    EXPECT_FALSE(timerShowsMessage());
    EXPECT_FALSE(timerShowsMessage());
    EXPECT_TRUE(HoldsTheCopy(copies.Folder()));
    EXPECT_EQ(ReadText("debug.txt"), expected + "\r\n");
}
