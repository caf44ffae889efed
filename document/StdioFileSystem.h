// A FileSystem on the C++ library's files and std::filesystem, for the
// native builds (tests, the map checker). Replacing writes a temporary file
// beside the target and renames it over the target; unlike the editor's
// Windows file system it does not force the bytes to the disk first. Maps
// name their files the Windows way: on other systems a backslash in a path
// is taken as the folder separator.
#ifndef MAPEDITOR_STDIOFILESYSTEM_H
#define MAPEDITOR_STDIOFILESYSTEM_H

#include "document/FileSystem.h"

class StdioFileSystem : public FileSystem
{
  public:
    FileError ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) override;
    // On Linux the file is mapped (a file cut short by another program while
    // it is mapped ends the program: fine for the map checker, which is the
    // one reader of views).
    FileError ViewWholeFile(const std::string& path, std::unique_ptr<FileView>* view) override;

    FileError ReadInPieces(const std::string& path, FileReader& reader) override;
    FileError ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                               size_t pieceCount) override;
    using FileSystem::ReplaceWholeFile;
};

// A name as a map writes it (backslashes between folders) as this system
// takes it: unchanged on Windows, backslashes made slashes elsewhere.
std::string NativePath(std::string path);

#endif
