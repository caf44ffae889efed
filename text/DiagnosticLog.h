// The one diagnostic channel: lines appended to "debug.txt": a message
// followed by the symbolic name of a result code, or a line the user was
// also shown.
#ifndef MAPEDITOR_DIAGNOSTICLOG_H
#define MAPEDITOR_DIAGNOSTICLOG_H

#include <windows.h>

// Writes the name of the result code (or "Unrecognized error: 0x%0.8x") into
// the buffer, cut to size - 1 characters. Always S_OK.
HRESULT GetErrorName(HRESULT result, char* buffer, DWORD size);

// Appends message, the name of the result and CR LF to "debug.txt".
void LogError(HRESULT result, const char* message);

// Appends a line of text and CR LF to "debug.txt".
void AppendLogLine(const char* line);

#endif
