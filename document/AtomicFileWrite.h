// Replacing a file's contents in one step, so that a failed save never
// destroys the previous file: the bytes go to a temporary file in the
// target's folder, every write and the close are checked, and only then does
// the temporary file take the target's name.
#ifndef MAPEDITOR_ATOMICFILEWRITE_H
#define MAPEDITOR_ATOMICFILEWRITE_H

#include <stddef.h>

// True when the file at path now holds exactly these bytes. On false the
// previous file (if any) is unchanged and no temporary file is left behind.
// A file marked read-only is never replaced, and neither is a folder.
bool ReplaceFileContents(const char* path, const void* data, size_t size);

#endif
