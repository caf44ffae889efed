// Whole-file reads and safe replacing writes on the Windows file functions.
#include "app/WindowsFileSystem.h"

#include <windows.h>

#include <new>

namespace
{
// ReadFile and WriteFile take 32-bit counts; larger runs go in pieces.
const size_t kLargestTransfer = (size_t)1 << 30;

FileError FromLastError(DWORD error)
{
    switch (error)
    {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return FileError::NotFound;
    case ERROR_FILENAME_EXCED_RANGE:
        return FileError::PathTooLong;
    case ERROR_WRITE_PROTECT:
        return FileError::ReadOnly;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileError::WriteFailed;
    default:
        return FileError::AccessDenied;
    }
}

// The wide form of a name as the editor holds it: in the active code page,
// which the manifest makes UTF-8 (Windows 10 version 1903 on, and Wine 8),
// so that a name from a chooser, a dialog field or a map file means the
// same file here as in every 8-bit function the editor calls (the texture
// loader's CreateFileA, the current directory). This is the editor's one
// conversion of its own; the system makes the others with the same table.
// The wide file functions take paths of any length in the "\\?\" form,
// which the 8-bit ones refuse beyond MAX_PATH on some systems.
std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide((size_t)(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], length);
    return wide;
}

// The full path of a name (relative names are taken from the current
// folder), in the "\\?\" form when it is too long for the plain one.
std::wstring FullPath(const std::string& path)
{
    const std::wstring wide = Widen(path);
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    full.resize(size);
    // Room for the temporary name beside it.
    if (full.size() + 24 < MAX_PATH || full.compare(0, 4, L"\\\\?\\") == 0)
        return full;
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool IsFolderName(const std::string& path)
{
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// Opens a file to read it whole, with its size.
FileError OpenToRead(const std::string& path, HANDLE* file, LARGE_INTEGER* size)
{
    if (path.empty())
        return FileError::NotFound;
    const std::wstring full = FullPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileError::IsFolder;
    *file = CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (*file == INVALID_HANDLE_VALUE)
        return FromLastError(GetLastError());
    if (GetFileSizeEx(*file, size))
        return FileError::None;
    CloseHandle(*file);
    return FileError::ReadFailed;
}

bool ReadExactly(HANDLE file, void* into, size_t size)
{
    unsigned char* next = (unsigned char*)into;
    while (size > 0)
    {
        const DWORD piece = (DWORD)(size < kLargestTransfer ? size : kLargestTransfer);
        DWORD got = 0;
        if (!ReadFile(file, next, piece, &got, nullptr) || got != piece)
            return false;
        next += piece;
        size -= piece;
    }
    return true;
}
} // namespace

bool WindowsFileSystem::Exists(const std::string& path)
{
    return !path.empty() && GetFileAttributesW(FullPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring WindowsFileSystem::WideName(const std::string& path)
{
    return FullPath(path);
}

std::string WindowsFileSystem::NarrowName(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string text((size_t)(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), &text[0], size, nullptr,
                            nullptr);
    return text;
}

bool WindowsFileSystem::MakeFolders(const std::string& path)
{
    const std::wstring full = FullPath(path);
    if (full.empty())
        return false;
    // Every folder on the way, past the root ("C:\", "\\?\C:\",
    // "\\server\share\"); those that are there already are fine.
    const size_t root = full.compare(0, 4, L"\\\\?\\") == 0 ? 7 : 3;
    for (size_t at = full.find(L'\\', root); at != std::wstring::npos;
         at = full.find(L'\\', at + 1))
        CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(full.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsFileSystem::SameName(const std::string& a, const std::string& b)
{
    // "/" and "\" separate folders alike in a Windows name.
    std::wstring wideA = Widen(a), wideB = Widen(b);
    for (std::wstring* wide : {&wideA, &wideB})
        for (wchar_t& c : *wide)
            c = c == L'/' ? L'\\' : c;
    return CompareStringOrdinal(wideA.c_str(), (int)wideA.size(), wideB.c_str(), (int)wideB.size(),
                                TRUE) == CSTR_EQUAL;
}

FileError WindowsFileSystem::ReadWholeFile(const std::string& path,
                                           std::vector<unsigned char>* bytes)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    LARGE_INTEGER size;
    FileError result = OpenToRead(path, &file, &size);
    if (result != FileError::None)
        return result;
    std::vector<unsigned char> read;
    if ((unsigned long long)size.QuadPart > (unsigned long long)(SIZE_MAX / 2))
        result = FileError::TooLarge;
    else
    {
        try
        {
            read.resize((size_t)size.QuadPart);
        }
        catch (const std::bad_alloc&)
        {
            result = FileError::TooLarge;
        }
        if (result == FileError::None && !ReadExactly(file, read.data(), read.size()))
            result = FileError::ReadFailed;
    }
    CloseHandle(file);
    if (result == FileError::None)
        bytes->swap(read);
    return result;
}

FileError WindowsFileSystem::ReadInPieces(const std::string& path, FileReader& reader)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    LARGE_INTEGER size;
    FileError result = OpenToRead(path, &file, &size);
    for (uint64_t offset = 0; result == FileError::None;)
    {
        void* into = nullptr;
        size_t piece = 0;
        reader.NextPiece((uint64_t)size.QuadPart, offset, &into, &piece);
        if (piece == 0)
            break;
        if (!ReadExactly(file, into, piece))
            result = FileError::ReadFailed;
        offset += piece;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return result;
}

FileError WindowsFileSystem::ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                                              size_t pieceCount)
{
    if (path.empty() || IsFolderName(path))
        return path.empty() ? FileError::NotFound : FileError::IsFolder;
    const std::wstring full = FullPath(path);
    // MoveFileExW would refuse a read-only target on Windows but replaces it
    // under Wine when the process may write the folder (running as root, for
    // one): the attribute is checked here so that it means the same
    // everywhere. A folder in the target's place is never replaced either.
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileError::IsFolder;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FileError::ReadOnly;

    // The temporary file lies beside the target so that the move is a single
    // step on one volume; CREATE_NEW makes sure it is nobody else's file.
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring temporary;
    for (unsigned attempt = 0; file == INVALID_HANDLE_VALUE; ++attempt)
    {
        temporary = full + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(GetTickCount() + attempt);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && (GetLastError() != ERROR_FILE_EXISTS || attempt > 50))
            return FromLastError(GetLastError());
    }

    // From here on the temporary file must go again on any failure.
    FileError result = FileError::None;
    long long written = 0;
    for (size_t i = 0; result == FileError::None && i < pieceCount; ++i)
    {
        const char* next = (const char*)pieces[i].data;
        size_t left = pieces[i].size;
        while (result == FileError::None && left > 0)
        {
            DWORD piece = (DWORD)(left < kLargestTransfer ? left : kLargestTransfer);
            bool stop = false;
            if (faults.failWriteAtByte >= 0 && written + piece > faults.failWriteAtByte)
            {
                piece = (DWORD)(faults.failWriteAtByte - written);
                stop = true;
            }
            DWORD done = 0;
            if (!WriteFile(file, next, piece, &done, nullptr) || done != piece || stop)
                result = FileError::WriteFailed;
            written += done;
            next += piece;
            left -= piece;
        }
    }
    // A move that lands before the data would leave an empty file after a
    // crash: the bytes go to the disk first.
    if (result == FileError::None && (faults.failFlush || !FlushFileBuffers(file)))
        result = FileError::WriteFailed;
    if (!CloseHandle(file) && result == FileError::None)
        result = FileError::WriteFailed;
    if (result == FileError::None &&
        (faults.failReplace || !MoveFileExW(temporary.c_str(), full.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)))
        result = FileError::ReplaceFailed;
    if (result != FileError::None)
        DeleteFileW(temporary.c_str());
    return result;
}
