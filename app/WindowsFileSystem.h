// The editor's FileSystem on the Windows file functions. Reading takes the
// whole file in one go; replacing writes a temporary file in the target's
// folder, checks every write, forces the bytes to the disk and only then
// moves the temporary file over the target in one step, so a failed save
// never destroys the previous file and leaves nothing behind. Paths of any
// length Windows takes are used whole (long ones through the "\\?\" form).
#ifndef MAPEDITOR_WINDOWSFILESYSTEM_H
#define MAPEDITOR_WINDOWSFILESYSTEM_H

#include "document/FileSystem.h"

class WindowsFileSystem : public FileSystem
{
  public:
    FileError ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) override;
    FileError ReadInPieces(const std::string& path, FileReader& reader) override;
    FileError ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                               size_t pieceCount) override;
    using FileSystem::ReplaceWholeFile;

    // Whether a file or folder of that name is there (any length).
    static bool Exists(const std::string& path);
    // The wide full path the file functions get for a name as the editor
    // holds it (relative names from the current folder; long ones in the
    // "\\?\" form), and a wide name back in the editor's form.
    static std::wstring WideName(const std::string& path);
    static std::string NarrowName(const std::wstring& wide);
    // Makes the folder and every folder on its way (any length); true when
    // it is there afterwards.
    static bool MakeFolders(const std::string& path);

    // Whether two names are the same file name to Windows: the system's
    // ordinal comparison with case ignored (CompareStringOrdinal), of the
    // names as the active code page gives them, with "/" and "\\" alike.
    static bool SameName(const std::string& a, const std::string& b);

    // Failures the tests make happen, each after the temporary file exists:
    // the write stopping at a byte, the flush to the disk, the final move.
    struct Faults
    {
        long long failWriteAtByte = -1; // -1: every byte is written
        bool failFlush = false;
        bool failReplace = false;
    };
    Faults faults;
};

#endif
