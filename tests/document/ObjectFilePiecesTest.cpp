// Object files read straight into place (MapDocument::ReadObjectFile through
// FileSystem::ReadInPieces) against the one reader of whole files: for
// random files, whole, cut short, with a wrong signature, impossible counts
// or bytes after the last record, the contents or the refusal and its words
// are those of ParseObjectFile on the same bytes, whether the file system
// reads in place or only whole files.
#include <gtest/gtest.h>

#include <random>

#include "document/ObjectFile.h"
#include "tests/document/DocumentTestSupport.h"

namespace
{
// A file system that reads whole files only: pieces come from the default,
// a whole read and a copy.
class WholeReadsOnly : public FileSystem
{
  public:
    FileError ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) override
    {
        return files.ReadWholeFile(path, bytes);
    }
    FileError ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                               size_t count) override
    {
        return files.ReplaceWholeFile(path, pieces, count);
    }
    StdioFileSystem files;
};

// What a read gave, as one comparable text: the problem, or the file the
// contents would be saved as.
std::string Outcome(bool ok, const ObjectFileContents& contents, const std::string& problem)
{
    if (!ok)
        return "refused: " + problem;
    std::vector<unsigned char> bytes;
    EncodeObjectFile(contents.types, contents.objects, &bytes);
    return "read: " + std::string(bytes.begin(), bytes.end());
}

Bytes RandomFile(std::mt19937& random)
{
    std::vector<ObjectType> types(random() % 6);
    for (ObjectType& type : types)
        type.path.assign(random() % 128, (char)('a' + random() % 26));
    std::vector<PlacedObject> objects(random() % 50);
    for (PlacedObject& object : objects)
        object = MakeObject((uint8_t)random(), 0.001f * (float)(random() % 1000), 0.5f, 45);
    Bytes bytes;
    EncodeObjectFile(types, objects, &bytes);
    switch (random() % 6)
    {
    case 0: // cut short anywhere
        bytes.resize(random() % (bytes.size() + 1));
        break;
    case 1: // a wrong signature byte
        bytes[random() % 4] ^= 0x20;
        break;
    case 2: // counts of any size and sign
        for (int i = 4; i < 12; ++i)
            bytes[(size_t)i] = (unsigned char)random();
        break;
    case 3: // bytes after the last record
        bytes.resize(bytes.size() + 1 + random() % 40, 0xEE);
        break;
    case 4: // a name field without its zero byte
        if (bytes.size() >= 12 + 128)
            std::fill(bytes.begin() + 12, bytes.begin() + 12 + 128, 'n');
        break;
    }
    return bytes;
}
} // namespace

TEST(ObjectFilePieces, ReadingInPlaceGivesWhatTheWholeFilesReaderGives)
{
    TempFolder folder;
    StdioFileSystem inPlace;
    WholeReadsOnly whole;
    std::mt19937 random(1706);
    for (int round = 0; round < 300; ++round)
    {
        const Bytes bytes = RandomFile(random);
        const std::string path = folder.File("objects.mob");
        WriteBytes(path, bytes);
        ObjectFileContents parsed;
        std::string why;
        const bool parsedOk = ParseObjectFile(bytes.data(), bytes.size(), &parsed, &why);
        const std::string expected = Outcome(parsedOk, parsed, why);
        for (FileSystem* files : {(FileSystem*)&inPlace, (FileSystem*)&whole})
        {
            ObjectFileContents read;
            std::string problem;
            const bool ok = MapDocument::ReadObjectFile(path, *files, &read, &problem);
            ASSERT_EQ(Outcome(ok, read, problem), expected)
                << "round " << round << ", " << bytes.size() << " bytes"
                << (files == &whole ? ", whole reads" : ", in place");
        }
    }
    // Files that cannot be read at all are named as a whole read names them.
    for (const std::string& path : {folder.File("missing.mob"), folder.Path()})
    {
        std::vector<unsigned char> bytes;
        const std::string expected = DescribeFileError(inPlace.ReadWholeFile(path, &bytes));
        ObjectFileContents read;
        std::string problem;
        EXPECT_FALSE(MapDocument::ReadObjectFile(path, inPlace, &read, &problem));
        EXPECT_EQ(problem, expected) << path;
    }
}
