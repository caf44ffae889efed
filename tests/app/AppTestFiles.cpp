// Helpers of the Windows suites that work with files and the document.
#include "tests/app/AppTestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

#include "app/EditorApp.h"
#include "resource.h"

Bytes Bitmap24(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const unsigned imageSize = (unsigned)(stride * height);
    Bytes bytes(54 + imageSize, 0);
    auto put32 = [&](size_t at, unsigned value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = (unsigned char)(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, (unsigned)width);
    put32(22, (unsigned)height);
    bytes[26] = 1;  // planes
    bytes[28] = 24; // bits per pixel
    put32(34, imageSize);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            bytes[54 + (size_t)y * stride + x] = (unsigned char)(x / 3 + y);
    return bytes;
}

std::string PathOfLength(const TempFolder& folder, size_t length, char fill,
                         const std::string& ending)
{
    const std::string start = folder.Path() + "\\";
    return start + std::string(length - start.size() - ending.size(), fill) + ending;
}

HWND PaletteList()
{
    return GetDlgItem(app.Palette().Handle(), IDC_OBJECTLIST);
}

Rows ListRows(HWND list)
{
    Rows rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        char text[512] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0) < (LRESULT)sizeof(text))
            SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        rows.push_back(text);
    }
    return rows;
}

void SetListRows(HWND list, const Rows& rows)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& row : rows)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)row.c_str());
}

std::string StateOf(const MapDocument& document, HWND list)
{
    return StateOf(document, ListRows(list));
}
