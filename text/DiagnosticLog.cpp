// The diagnostic log "debug.txt" and the names of the result codes that the
// log spells out.
#include "text/DiagnosticLog.h"

#include <stdio.h>

namespace
{
struct ErrorName
{
    HRESULT code;
    const char* name;
};

// COM, Direct3D 8 and Direct3D 8 utility codes; only exact matches count.
const ErrorName kErrorNames[] = {
    {(HRESULT)0x00000000, "S_OK"},
    {(HRESULT)0x80004001, "E_NOTIMPL"},
    {(HRESULT)0x80004005, "E_FAIL"},
    {(HRESULT)0x8007000E, "E_OUTOFMEMORY"},
    {(HRESULT)0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"},
    {(HRESULT)0x88760818, "D3DERR_WRONGTEXTUREFORMAT"},
    {(HRESULT)0x88760819, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
    {(HRESULT)0x8876081A, "D3DERR_UNSUPPORTEDCOLORARG"},
    {(HRESULT)0x8876081B, "D3DERR_UNSUPPORTEDALPHAOPERATION"},
    {(HRESULT)0x8876081C, "D3DERR_UNSUPPORTEDALPHAARG"},
    {(HRESULT)0x8876081D, "D3DERR_TOOMANYOPERATIONS"},
    {(HRESULT)0x8876081E, "D3DERR_CONFLICTINGTEXTUREFILTER"},
    {(HRESULT)0x8876081F, "D3DERR_UNSUPPORTEDFACTORVALUE"},
    {(HRESULT)0x88760821, "D3DERR_CONFLICTINGRENDERSTATE"},
    {(HRESULT)0x88760822, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
    {(HRESULT)0x88760826, "D3DERR_CONFLICTINGTEXTUREPALETTE"},
    {(HRESULT)0x88760827, "D3DERR_DRIVERINTERNALERROR"},
    {(HRESULT)0x88760866, "D3DERR_NOTFOUND"},
    {(HRESULT)0x88760867, "D3DERR_MOREDATA"},
    {(HRESULT)0x88760868, "D3DERR_DEVICELOST"},
    {(HRESULT)0x88760869, "D3DERR_DEVICENOTRESET"},
    {(HRESULT)0x8876086A, "D3DERR_NOTAVAILABLE"},
    {(HRESULT)0x8876086B, "D3DERR_INVALIDDEVICE"},
    {(HRESULT)0x8876086C, "D3DERR_INVALIDCALL"},
    {(HRESULT)0x88760B54, "D3DXERR_CANNOTMODIFYINDEXBUFFER"},
    {(HRESULT)0x88760B55, "D3DXERR_INVALIDMESH"},
    {(HRESULT)0x88760B56, "D3DXERR_CANNOTATTRSORT"},
    {(HRESULT)0x88760B57, "D3DXERR_SKINNINGNOTSUPPORTED"},
    {(HRESULT)0x88760B58, "D3DXERR_TOOMANYINFLUENCES"},
    {(HRESULT)0x88760B59, "D3DXERR_INVALIDDATA"},
};

const char kLogFileName[] = "debug.txt";
} // namespace

HRESULT GetErrorName(HRESULT result, char* buffer, DWORD size)
{
    if (!buffer || size == 0)
        return S_OK;
    const char* name = nullptr;
    for (const ErrorName& entry : kErrorNames)
        if (entry.code == result)
            name = entry.name;
    // The unknown form is at most 30 characters.
    char unknown[40];
    if (!name)
    {
        // Eight lower-case hexadecimal digits, zero-filled ("%0.8x" prints
        // the same; the precision alone already pads with zeros).
        snprintf(unknown, sizeof(unknown), "Unrecognized error: 0x%.8x", (unsigned)result);
        name = unknown;
    }
    snprintf(buffer, size, "%s", name); // cut to size - 1 characters
    return S_OK;
}

namespace
{
void AppendToLog(const char* first, const char* second)
{
    // Text mode, so "\n" is stored as CR LF. Plain "a" rather than "a+": the
    // runtime strips a trailing Ctrl+Z from files opened "a+" in text mode,
    // and the log's existing content is never changed. A file that cannot be
    // opened drops the entry silently.
    FILE* file = fopen(kLogFileName, "a");
    if (!file)
        return;
    fputs(first ? first : "", file);
    fputs(second, file);
    fputs("\n", file);
    fclose(file);
}
} // namespace

void LogError(HRESULT result, const char* message)
{
    char name[64];
    GetErrorName(result, name, sizeof(name));
    AppendToLog(message, name);
}

void AppendLogLine(const char* line)
{
    AppendToLog(line, "");
}
