// The editor's Windows file system with real files: whole reads, and
// replacing writes that keep the old file byte for byte and leave nothing
// behind on every failure (a read-only file, a folder, a missing folder, a
// write failing at any byte, a failed flush, a failed replace), relative
// names from the current folder, and paths longer than MAX_PATH.
#include <gtest/gtest.h>

#include <string>

#include "app/WindowsFileSystem.h"
#include "tests/app/AppTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
const std::string kOld(400, 'o'); // longer than the new contents

std::string NewContents()
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += (char)('a' + i % 26);
    return text;
}

FileError Replace(WindowsFileSystem& files, const std::string& path, const std::string& text)
{
    // Two pieces, so that a failure can fall in either.
    const FilePiece pieces[] = {{text.data(), 100}, {text.data() + 100, text.size() - 100}};
    return files.ReplaceWholeFile(path, pieces, 2);
}
} // namespace

TEST(WindowsFileSystem, FailedReplacesKeepTheOldFileAndLeaveNothingBehind)
{
    TempFolder folder;
    const std::string path = folder.File("map.mob");
    WriteText(path, kOld);
    const std::string text = NewContents();
    const struct
    {
        const char* what;
        WindowsFileSystem::Faults faults;
        FileError error;
    } cases[] = {
        {"write fails at the first byte", {0, false, false}, FileError::WriteFailed},
        {"write fails at byte 1", {1, false, false}, FileError::WriteFailed},
        {"write fails at the end of a piece", {100, false, false}, FileError::WriteFailed},
        {"write fails at the last byte", {299, false, false}, FileError::WriteFailed},
        {"the flush fails", {-1, true, false}, FileError::WriteFailed},
        {"the replace fails", {-1, false, true}, FileError::ReplaceFailed},
    };
    for (const auto& c : cases)
    {
        WindowsFileSystem files;
        files.faults = c.faults;
        EXPECT_EQ(Replace(files, path, text), c.error) << c.what;
        EXPECT_EQ(ReadText(path), kOld) << c.what;
        EXPECT_EQ(FilesIn(folder.Path()), Rows{"map.mob"}) << c.what;
    }

    WindowsFileSystem files;
    // Read-only (Wine, running as root, would replace it: the mark is
    // checked so that it means what it means on Windows), a folder in its
    // place, a folder that does not exist, no name.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Replace(files, path, text), FileError::ReadOnly);
    ASSERT_TRUE(CreateDirectoryA(folder.File("folder.mob").c_str(), nullptr));
    EXPECT_EQ(Replace(files, folder.File("folder.mob"), text), FileError::IsFolder);
    EXPECT_EQ(Replace(files, folder.File("folder.mob\\"), text), FileError::IsFolder);
    EXPECT_EQ(Replace(files, folder.File("no such folder\\x.mob"), text), FileError::NotFound);
    EXPECT_EQ(files.ReplaceWholeFile("", text.data(), text.size()), FileError::NotFound);
    EXPECT_EQ(ReadText(path), kOld);
    EXPECT_EQ(FilesIn(folder.Path()), Rows{"map.mob"});
    RemoveDirectoryA(folder.File("folder.mob").c_str());

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(Replace(files, path, text), FileError::None);
    EXPECT_EQ(ReadText(path), text);
    EXPECT_EQ(FilesIn(folder.Path()), Rows{"map.mob"});
}

TEST(WindowsFileSystem, ReadsWholeFilesByAnyNameWindowsTakes)
{
    TempFolder folder;
    WindowsFileSystem files;
    std::vector<unsigned char> bytes = {1, 2, 3};
    EXPECT_EQ(files.ReadWholeFile(folder.File("missing.mob"), &bytes), FileError::NotFound);
    EXPECT_EQ(files.ReadWholeFile(folder.Path(), &bytes), FileError::IsFolder);
    EXPECT_EQ(bytes.size(), 3u) << "left as it was";

    // A relative name is taken from the current folder.
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof(current), current);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const FileError written = files.ReplaceWholeFile("relative.out", "abc", 3);
    const FileError read = files.ReadWholeFile("relative.out", &bytes);
    SetCurrentDirectoryA(current);
    EXPECT_EQ(written, FileError::None);
    EXPECT_EQ(read, FileError::None);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'a', 'b', 'c'}));

    // Longer than MAX_PATH, in a folder whose own name is already long.
    const std::string deep = folder.File(std::string(150, 'd').c_str());
    ASSERT_TRUE(CreateDirectoryA(("\\\\?\\" + deep).c_str(), nullptr));
    const std::string name = deep + "\\" + std::string(120, 'n') + ".mob";
    ASSERT_GT(name.size(), (size_t)MAX_PATH);
    const std::string text = NewContents();
    EXPECT_EQ(files.ReplaceWholeFile(name, text.data(), text.size()), FileError::None);
    EXPECT_EQ(files.ReplaceWholeFile(name, text.data(), 10), FileError::None);
    ASSERT_EQ(files.ReadWholeFile(name, &bytes), FileError::None);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text.substr(0, 10));
    DeleteFileA(("\\\\?\\" + name).c_str());
    RemoveDirectoryA(("\\\\?\\" + deep).c_str());
}

TEST(WindowsFileSystem, ReadsInPiecesIntoTheReadersMemoryInOrder)
{
    // Asks for pieces of the sizes given, each into a store of its own.
    struct Pieces : FileReader
    {
        std::vector<size_t> sizes;
        std::vector<std::string> read;
        uint64_t fileSize = 0;
        void NextPiece(uint64_t size, uint64_t, void** into, size_t* piece) override
        {
            fileSize = size;
            *piece = read.size() < sizes.size() ? sizes[read.size()] : 0;
            read.emplace_back(*piece, '\0');
            *into = &read.back()[0];
        }
    };
    TempFolder folder;
    const std::string path = folder.File("pieces.mob");
    WriteText(path, NewContents()); // 300 bytes
    WindowsFileSystem files;
    Pieces early, pastTheEnd, none;
    early.sizes = {7, 100, 13};
    pastTheEnd.sizes = {290, 11};
    ASSERT_EQ(files.ReadInPieces(path, early), FileError::None);
    ASSERT_EQ(early.read.size(), 4u) << "three pieces, then the end";
    EXPECT_EQ(early.fileSize, 300u);
    EXPECT_EQ(early.read[0] + early.read[1] + early.read[2], NewContents().substr(0, 120));
    EXPECT_EQ(files.ReadInPieces(path, pastTheEnd), FileError::ReadFailed);
    EXPECT_EQ(files.ReadInPieces(folder.File("missing.mob"), none), FileError::NotFound);
    EXPECT_EQ(files.ReadInPieces(folder.Path(), none), FileError::IsFolder);
}
