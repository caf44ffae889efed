// Replacing a file's contents in one step, so that a failed save never
// destroys the previous file: the bytes go to a temporary file in the
// target's folder, every write and the close are checked, and only then does
// the temporary file take the target's name.
#ifndef MAPEDITOR_ATOMICFILEWRITE_H
#define MAPEDITOR_ATOMICFILEWRITE_H

#include <stddef.h>

// One run of bytes of the new contents; the pieces are written in order, each
// straight from the caller's memory.
struct FilePiece
{
    const void* data;
    size_t size;
};

// True when the file at path now holds exactly these bytes. On false the
// previous file (if any) is unchanged and no temporary file is left behind.
// A file marked read-only is never replaced, and neither is a folder.
bool ReplaceFileContents(const char* path, const FilePiece* pieces, size_t pieceCount);

inline bool ReplaceFileContents(const char* path, const void* data, size_t size)
{
    const FilePiece whole = {data, size};
    return ReplaceFileContents(path, &whole, 1);
}

#endif
