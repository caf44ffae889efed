// Reading and replacing whole files: the only way the document reaches the
// disk. The document never opens a file itself; whoever runs it hands it a
// FileSystem (the editor's goes through the Windows file functions, the
// native tests' and the map checker's through the C++ library).
#ifndef MAPEDITOR_FILESYSTEM_H
#define MAPEDITOR_FILESYSTEM_H

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

// Why a file could not be read or written, in the words a message can use.
enum class FileError
{
    None,
    NotFound,      // no such file, or a folder on its path is missing
    AccessDenied,  // the system refused to open it
    ReadOnly,      // the file is marked read-only
    IsFolder,      // the name is that of a folder
    PathTooLong,   // longer than the system takes
    TooLarge,      // more bytes than this program can hold in memory
    ReadFailed,    // opened, but reading it stopped early
    WriteFailed,   // a write, the flush or the close failed (disk full, for one)
    ReplaceFailed, // written, but could not take the place of the old file (in use?)
};

// Plain words for the error, e.g. "the file was not found".
const char* DescribeFileError(FileError error);

// One run of bytes of a file's new contents; the pieces are written in order.
struct FilePiece
{
    const void* data;
    size_t size;
};

// A whole file's bytes, read-only, for as long as the view lives.
class FileView
{
  public:
    virtual ~FileView() = default;
    const unsigned char* Data() const { return data_; }
    size_t Size() const { return size_; }

  protected:
    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
};

// Takes a file's bytes front to back into memory of its own choosing, so
// that large parts land where they are kept without a copy.
class FileReader
{
  public:
    virtual ~FileReader() = default;
    // Where the bytes from `offset` on go: *into, room for *size of them
    // (at most fileSize - offset). A size of 0 ends the read there; the rest
    // of the file stays unread.
    virtual void NextPiece(uint64_t fileSize, uint64_t offset, void** into, size_t* size) = 0;
};

class FileSystem
{
  public:
    virtual ~FileSystem() = default;

    // The whole file to be read once: by default its bytes read into memory;
    // a file system may map the file instead, which costs no copy and no
    // fresh memory. On failure *view is left as it was.
    virtual FileError ViewWholeFile(const std::string& path, std::unique_ptr<FileView>* view);

    // The whole file's bytes. On failure *bytes is left as it was.
    virtual FileError ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) = 0;

    // The file read into the pieces the reader gives, in order; ReadFailed
    // when the file ends before a piece is full. This one reads the whole
    // file first and copies; a file system that can reads in place.
    virtual FileError ReadInPieces(const std::string& path, FileReader& reader);

    // Makes the file hold exactly these bytes, replacing it in one step: on
    // failure the previous file (if any) is unchanged and nothing is left
    // behind. A file marked read-only, and a folder, are never replaced.
    virtual FileError ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                                       size_t pieceCount) = 0;

    FileError ReplaceWholeFile(const std::string& path, const void* data, size_t size)
    {
        const FilePiece whole = {data, size};
        return ReplaceWholeFile(path, &whole, 1);
    }
};

#endif
