// Replacing a file's contents through a temporary file in the same folder.
#include "document/AtomicFileWrite.h"

#include <windows.h>

#include <string>

namespace
{
// WriteFile takes a 32-bit count; larger buffers go in pieces.
const size_t kLargestWrite = (size_t)1 << 30;

// Writes the bytes into the (existing, empty) temporary file and makes sure
// they reached the disk before the file is renamed over the target: a rename
// that lands before the data would leave an empty file after a crash.
bool WriteWholeFile(const char* fileName, const FilePiece* pieces, size_t pieceCount)
{
    HANDLE file = CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (size_t i = 0; ok && i < pieceCount; ++i)
    {
        const char* next = (const char*)pieces[i].data;
        size_t size = pieces[i].size;
        while (ok && size > 0)
        {
            const DWORD piece = (DWORD)(size < kLargestWrite ? size : kLargestWrite);
            DWORD written = 0;
            ok = WriteFile(file, next, piece, &written, nullptr) && written == piece;
            next += piece;
            size -= piece;
        }
    }
    if (ok)
        ok = FlushFileBuffers(file) != 0;
    if (!CloseHandle(file))
        ok = false;
    return ok;
}
} // namespace

bool ReplaceFileContents(const char* path, const FilePiece* pieces, size_t pieceCount)
{
    if (!path || !path[0])
        return false;
    char full[MAX_PATH];
    char* namePart = nullptr;
    const DWORD length = GetFullPathNameA(path, sizeof(full), full, &namePart);
    if (length == 0 || length >= sizeof(full) || !namePart || !*namePart)
        return false; // too long, or names a folder ("dir\")

    // MoveFileExA would refuse a read-only target on Windows but replaces it
    // under Wine when the process may write the folder (running as root, for
    // one): the attribute is checked here so that it means the same
    // everywhere. A folder in the target's place is never replaced either.
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    // The temporary file lies in the target's folder so that the rename is a
    // single step on one volume. GetTempFileNameA creates it (empty) under a
    // name nobody else uses; from here on it must be removed on failure.
    const std::string folder(full, (size_t)(namePart - full));
    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "map", 0, temporary) == 0)
        return false;
    bool ok = WriteWholeFile(temporary, pieces, pieceCount);
    if (ok)
        ok = MoveFileExA(temporary, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok)
        DeleteFileA(temporary);
    return ok;
}
