// Whole-file reads and replacing writes on the C++ library (see the header).
#include "document/StdioFileSystem.h"

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#ifdef __linux__
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <new>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
FileError FromErrno(int error)
{
    switch (error)
    {
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
        return FileError::AccessDenied;
    case EISDIR:
        return FileError::IsFolder;
    case ENAMETOOLONG:
        return FileError::PathTooLong;
    case EROFS:
        return FileError::ReadOnly;
    default:
        return FileError::ReadFailed;
    }
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return fs::is_directory(fs::path(path), error);
}

bool IsReadOnly(const std::string& path)
{
    std::error_code error;
    const fs::perms perms = fs::status(fs::path(path), error).permissions();
    return !error && (perms & fs::perms::owner_write) == fs::perms::none;
}

#ifdef __linux__
class MappedView : public FileView
{
  public:
    MappedView(const void* data, size_t size)
    {
        data_ = (const unsigned char*)data;
        size_ = size;
    }
    ~MappedView() override { munmap((void*)data_, size_); }
};
#endif

// A name beside the target that no other file has.
std::string TemporaryName(const std::string& path)
{
    static unsigned counter = 0;
    for (;;)
    {
        const std::string name = path + ".tmp" + std::to_string(++counter);
        std::error_code error;
        if (!fs::exists(fs::path(name), error))
            return name;
    }
}
} // namespace

FileError StdioFileSystem::ReadWholeFile(const std::string& name, std::vector<unsigned char>* bytes)
{
    const std::string path = NativePath(name);
    if (path.empty())
        return FileError::NotFound;
    if (IsFolder(path))
        return FileError::IsFolder;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return FromErrno(errno);
    std::vector<unsigned char> read;
    FileError result = FileError::None;
    try
    {
        // Room for the whole file at once when its size is known: growing
        // the store chunk by chunk would copy a large file several times.
        std::error_code error;
        const uintmax_t size = fs::file_size(fs::path(path), error);
        if (!error && size < (uintmax_t)read.max_size())
        {
            read.reserve((size_t)size);
            // Straight into the store; a file that grew meanwhile goes on below.
            read.resize((size_t)size);
            read.resize(fread(read.data(), 1, read.size(), file));
        }
        unsigned char chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
            read.insert(read.end(), chunk, chunk + got);
        if (ferror(file))
            result = FileError::ReadFailed;
    }
    catch (const std::bad_alloc&)
    {
        result = FileError::TooLarge;
    }
    fclose(file);
    if (result == FileError::None)
        bytes->swap(read);
    return result;
}

FileError StdioFileSystem::ViewWholeFile(const std::string& name, std::unique_ptr<FileView>* view)
{
#ifdef __linux__
    // Mapped with every page at once: reading a million objects then costs
    // less than copying them (fresh memory costs a fault every 4 KiB). Any
    // file that is not a plain, non-empty one is read as usual, which also
    // says why it cannot be.
    const int file = open(NativePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status;
    if (file >= 0 && fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
    {
        void* data =
            mmap(nullptr, (size_t)status.st_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file, 0);
        close(file);
        if (data != MAP_FAILED)
        {
            *view = std::make_unique<MappedView>(data, (size_t)status.st_size);
            return FileError::None;
        }
    }
    else if (file >= 0)
        close(file);
#endif
    return FileSystem::ViewWholeFile(name, view);
}

FileError StdioFileSystem::ReadInPieces(const std::string& name, FileReader& reader)
{
    const std::string path = NativePath(name);
    std::error_code error;
    const uintmax_t size = path.empty() ? 0 : fs::file_size(fs::path(path), error);
    // Without a size to give the reader (no such file, a folder, a device),
    // the whole read says why.
    if (path.empty() || error)
        return FileSystem::ReadInPieces(name, reader);
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return FromErrno(errno);
    FileError result = FileError::None;
    for (uint64_t offset = 0; result == FileError::None;)
    {
        void* into = nullptr;
        size_t piece = 0;
        reader.NextPiece(size, offset, &into, &piece);
        if (piece == 0)
            break;
        if (fread(into, 1, piece, file) != piece)
            result = FileError::ReadFailed;
        offset += piece;
    }
    fclose(file);
    return result;
}

FileError StdioFileSystem::ReplaceWholeFile(const std::string& name, const FilePiece* pieces,
                                            size_t pieceCount)
{
    const std::string path = NativePath(name);
    if (path.empty())
        return FileError::NotFound;
    if (IsFolder(path))
        return FileError::IsFolder;
    if (IsReadOnly(path))
        return FileError::ReadOnly;
    const std::string temporary = TemporaryName(path);
    FILE* file = fopen(temporary.c_str(), "wb");
    if (!file)
        return FromErrno(errno);
    bool ok = true;
    for (size_t i = 0; ok && i < pieceCount; ++i)
        ok = pieces[i].size == 0 ||
             fwrite(pieces[i].data, 1, pieces[i].size, file) == pieces[i].size;
    ok = fflush(file) == 0 && ok;
    ok = fclose(file) == 0 && ok;
    std::error_code error;
    if (!ok)
    {
        fs::remove(fs::path(temporary), error);
        return FileError::WriteFailed;
    }
    fs::rename(fs::path(temporary), fs::path(path), error);
    if (error)
    {
        fs::remove(fs::path(temporary), error);
        return FileError::ReplaceFailed;
    }
    return FileError::None;
}

std::string NativePath(std::string path)
{
#ifndef _WIN32
    for (char& c : path)
    {
        if (c == '\\')
            c = '/';
    }
#endif
    return path;
}
