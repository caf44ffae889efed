// Plain words for the file errors, a file's bytes as a view, and reading in
// pieces from a whole read.
#include "document/FileSystem.h"

#include <string.h>

namespace
{
class BytesView : public FileView
{
  public:
    explicit BytesView(std::vector<unsigned char> bytes) : bytes_(std::move(bytes))
    {
        data_ = bytes_.data();
        size_ = bytes_.size();
    }

  private:
    std::vector<unsigned char> bytes_;
};
} // namespace

FileError FileSystem::ViewWholeFile(const std::string& path, std::unique_ptr<FileView>* view)
{
    std::vector<unsigned char> bytes;
    const FileError error = ReadWholeFile(path, &bytes);
    if (error == FileError::None)
        *view = std::make_unique<BytesView>(std::move(bytes));
    return error;
}

const char* DescribeFileError(FileError error)
{
    switch (error)
    {
    case FileError::None:
        return "no error";
    case FileError::NotFound:
        return "the file was not found";
    case FileError::AccessDenied:
        return "access was denied";
    case FileError::ReadOnly:
        return "the file is read-only";
    case FileError::IsFolder:
        return "it is a folder, not a file";
    case FileError::PathTooLong:
        return "the path is too long";
    case FileError::TooLarge:
        return "the file is too large to read";
    case FileError::ReadFailed:
        return "it could not be read to its end";
    case FileError::WriteFailed:
        return "writing failed (the disk may be full)";
    case FileError::ReplaceFailed:
        return "the old file could not be replaced (another program may be using it)";
    }
    return "unknown error";
}

FileError FileSystem::ReadInPieces(const std::string& path, FileReader& reader)
{
    std::vector<unsigned char> bytes;
    const FileError error = ReadWholeFile(path, &bytes);
    if (error != FileError::None)
        return error;
    for (uint64_t offset = 0;;)
    {
        void* into = nullptr;
        size_t size = 0;
        reader.NextPiece(bytes.size(), offset, &into, &size);
        if (size == 0)
            return FileError::None;
        if (size > bytes.size() - offset)
            return FileError::ReadFailed;
        memcpy(into, bytes.data() + offset, size);
        offset += size;
    }
}
