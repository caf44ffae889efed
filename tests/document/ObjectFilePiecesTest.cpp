// Object files read straight into place (MapDocument::ReadObjectFile through
// FileSystem::ReadInPieces) against the one reader of whole files: random
// files, whole, cut short, with a wrong signature, any counts or bytes after
// the last record, give ParseObjectFile's contents or refusal word for word,
// whether the file system reads in place or only whole files.
#include <gtest/gtest.h>

#include <random>

#include "document/ObjectFile.h"
#include "tests/document/DocumentTestSupport.h"

namespace
{
// Reads whole files only: pieces come from the default, a whole read.
struct WholeReadsOnly : FileSystem
{
    FileError ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) override
    {
        return StdioFileSystem().ReadWholeFile(path, bytes);
    }
    FileError ReplaceWholeFile(const std::string&, const FilePiece*, size_t) override
    {
        return FileError::WriteFailed;
    }
};

// The problem, or the file the contents would be saved as.
std::string Outcome(bool ok, const ObjectFileContents& contents, const std::string& problem)
{
    std::vector<unsigned char> bytes;
    EncodeObjectFile(contents.types, contents.objects, &bytes);
    return ok ? "read: " + std::string(bytes.begin(), bytes.end()) : "refused: " + problem;
}
} // namespace

TEST(ObjectFilePieces, ReadingInPlaceGivesWhatTheWholeFilesReaderGives)
{
    TempFolder folder;
    const std::string path = folder.File("objects.mob");
    StdioFileSystem inPlace;
    WholeReadsOnly whole;
    std::mt19937 random(1706);
    for (int round = 0; round < 300; ++round)
    {
        std::vector<ObjectType> types(random() % 6);
        for (ObjectType& type : types)
            type.path.assign(random() % 128, (char)('a' + random() % 26));
        std::vector<PlacedObject> objects(random() % 50, MakeObject(3, 0.25f, 0.5f, 45));
        Bytes bytes;
        EncodeObjectFile(types, objects, &bytes);
        const size_t at = random() % bytes.size();
        switch (round % 5)
        {
        case 0: // cut short anywhere
            bytes.resize(at);
            break;
        case 1: // any byte of the header changed: signature or counts
            bytes[at % 12] = (unsigned char)random();
            break;
        case 2: // bytes after the last record
            bytes.resize(bytes.size() + 1 + at % 40, 0xEE);
            break;
        case 3: // a name field without its zero byte
            std::fill(bytes.begin() + 12, bytes.begin() + std::min<size_t>(140, bytes.size()), 'n');
            break;
        }
        WriteBytes(path, bytes);
        ObjectFileContents parsed;
        std::string why;
        const bool parsedOk = ParseObjectFile(bytes.data(), bytes.size(), &parsed, &why);
        for (FileSystem* files : {(FileSystem*)&inPlace, (FileSystem*)&whole})
        {
            ObjectFileContents read;
            std::string problem;
            const bool ok = MapDocument::ReadObjectFile(path, *files, &read, &problem);
            ASSERT_EQ(Outcome(ok, read, problem), Outcome(parsedOk, parsed, why))
                << "round " << round << (files == &whole ? ", whole reads" : ", in place");
        }
    }
    // Files that cannot be read at all are named as a whole read names them.
    for (const std::string& name : {folder.File("missing.mob"), folder.Path()})
    {
        ObjectFileContents read;
        std::string problem;
        Bytes bytes;
        EXPECT_FALSE(MapDocument::ReadObjectFile(name, inPlace, &read, &problem));
        EXPECT_EQ(problem, DescribeFileError(inPlace.ReadWholeFile(name, &bytes)));
    }
}
