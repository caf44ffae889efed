// File > "Load Objects" and "Save Objects": the object placement file (.mob)
// through the one reader and writer of ObjectFile.cpp. A refused file
// changes nothing; a save replaces the old file only once the new one is
// complete.
#include "document/MapDocument.h"

#include <new>

bool MapDocument::ReadObjectFile(const std::string& path, FileSystem& files,
                                 ObjectFileContents* contents, std::string* problem)
{
    // A good file goes straight into the records' storage: a million
    // objects are one read, not a read and a copy of every byte.
    ObjectFilePieces pieces;
    FileError error = files.ReadInPieces(path, pieces);
    if (error == FileError::None && pieces.Complete())
    {
        contents->types.swap(pieces.contents.types);
        contents->objects.swap(pieces.contents.objects);
        return true;
    }
    // Anything else is read whole again, for the reader's own words on it.
    std::vector<unsigned char> bytes;
    if (error == FileError::None)
        error = files.ReadWholeFile(path, &bytes);
    if (error != FileError::None)
    {
        *problem = DescribeFileError(error);
        return false;
    }
    return ParseObjectFile(bytes.data(), bytes.size(), contents, problem);
}

bool MapDocument::LoadObjects(const std::string& path, FileSystem& files, std::string* problem)
{
    std::string why;
    ObjectFileContents contents;
    if (path.empty())
        why = "no file name was given";
    else if (ReadObjectFile(path, files, &contents, &why))
        why.clear();
    if (!why.empty())
    {
        if (problem)
            *problem = path + ": " + why;
        return false;
    }
    // Everything checked: replace objects and catalog as a whole.
    // currentType stays; nothing is selected.
    SwapContents(&contents.types, &contents.objects);
    const MapSettings settingsOnDisk = savedSettings_;
    const bool settingsUnsaved = settingsUnsaved_;
    objectMap = path;
    StartNewHistory();
    // The settings file on disk still names the previous object file; an
    // untitled map has no such file, and its objects are simply in this one.
    savedSettings_ = settingsOnDisk;
    settingsUnsaved_ = settingsUnsaved;
    if (settingsFile.empty())
        savedSettings_.objectMap = path;
    return true;
}

bool MapDocument::SaveObjects(const std::string& path, FileSystem& files, std::string* problem)
{
    const auto fail = [&](const std::string& why)
    {
        if (problem)
            *problem = path + ": " + why;
        return false;
    };
    // Header and names are built; the records are written straight from the
    // objects' storage, which is exactly their 17-byte form.
    std::vector<unsigned char> head;
    try
    {
        if (!EncodeObjectFileHead(objectTypes, objects.size(), &head))
            return fail("it has more types or objects than the file can count");
    }
    catch (const std::bad_alloc&)
    {
        return fail("there is not enough memory to write it");
    }
    const FilePiece pieces[] = {{head.data(), head.size()},
                                {objects.data(), objects.size() * sizeof(PlacedObject)}};
    const FileError error = files.ReplaceWholeFile(path, pieces, 2);
    if (error != FileError::None)
        return fail(DescribeFileError(error));
    NoteObjectsSaved();
    // A settings file on disk names the previous object file; an untitled
    // map's objects simply have their file now.
    objectMap = path;
    if (settingsFile.empty())
        savedSettings_.objectMap = path;
    return true;
}
