// Copied objects on the Windows clipboard (see ObjectClipboard.h).
#include "app/ObjectClipboard.h"

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/UserMessages.h"
#include "app/ViewWindow.h"
#include "app/WindowsFileSystem.h"
#include "document/ClipboardData.h"
#include "document/TypeImport.h"

const char kObjectClipboardFormat[] = "Map Editor 1.4a Objects";

namespace
{
UINT ObjectFormat()
{
    static const UINT format = RegisterClipboardFormatA(kObjectClipboardFormat);
    return format;
}

// A movable global copy of the bytes, as the clipboard takes its data.
HGLOBAL GlobalCopy(const void* data, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!memory)
        return nullptr;
    void* target = GlobalLock(memory);
    if (!target)
    {
        GlobalFree(memory);
        return nullptr;
    }
    memcpy(target, data, size);
    GlobalUnlock(memory);
    return memory;
}

bool Put(UINT format, const void* data, size_t size)
{
    HGLOBAL memory = GlobalCopy(data, size);
    if (memory && SetClipboardData(format, memory))
        return true;
    if (memory)
        GlobalFree(memory); // still ours when the clipboard did not take it
    return false;
}

// Whether the pointer is over the view (the main window's client area, not
// covered by another window), and where.
bool PointerOverView(HWND view, int* px, int* py)
{
    POINT at;
    if (!GetCursorPos(&at) || WindowFromPoint(at) != view)
        return false;
    ScreenToClient(view, &at);
    RECT client;
    GetClientRect(view, &client);
    if (!PtInRect(&client, at))
        return false;
    *px = at.x;
    *py = at.y;
    return true;
}

// The middle of the box around the group's finite positions.
bool GroupCentre(const ObjectGroup& group, float* x, float* y)
{
    bool any = false;
    float lowX = 0, highX = 0, lowY = 0, highY = 0;
    for (const PlacedObject& object : group.objects)
    {
        if (!isfinite(object.x) || !isfinite(object.y))
            continue;
        if (!any || object.x < lowX)
            lowX = object.x;
        if (!any || object.x > highX)
            highX = object.x;
        if (!any || object.y < lowY)
            lowY = object.y;
        if (!any || object.y > highY)
            highY = object.y;
        any = true;
    }
    *x = (lowX + highX) / 2.0f;
    *y = (lowY + highY) / 2.0f;
    return any;
}

// The clipboard's text in the code page the editor keeps names in (the
// system makes it from whichever text form another program put there).
bool ReadClipboardText(HWND owner, std::string* text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner))
        return false;
    HANDLE memory = GetClipboardData(CF_TEXT);
    const char* data = memory ? (const char*)GlobalLock(memory) : nullptr;
    if (data)
    {
        // Up to the terminating zero, which the memory's size may pass.
        text->assign(data, strnlen(data, GlobalSize(memory)));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return data != nullptr;
}

bool PasteTypedObjects(HWND owner, MapDocument& document, FileSystem& files)
{
    std::string text;
    if (!ReadClipboardText(owner, &text))
        return false;
    ObjectGroup group;
    TextFormProblem problem;
    std::string why;
    if (!ReadObjectGroupText(text.data(), text.size(), &group, &problem))
        why = "the text on the clipboard is not a list of objects (a line each: type path, x, "
              "y and rotation, separated by tabs). " +
              (problem.line ? "Line " + std::to_string(problem.line) + ": " : std::string()) +
              problem.reason + ".";
    else if (!MatchTypedTypes(document.objectTypes, files, WindowsFileSystem::SameName, &group,
                              &why))
        why = "an object type of the text could not be read. " + why;
    else if (!document.InsertGroup(group, 0.0f, 0.0f, "Paste"))
        why = "the map would have more object types than an object file holds (256).";
    if (why.empty())
        return true;
    ShowProblem(owner, "Nothing was pasted: " + why);
    return false;
}
} // namespace

bool CopySelectionToClipboard(HWND owner, const MapDocument& document)
{
    const ObjectGroup group = document.CopySelection();
    if (group.objects.empty())
        return false;
    const std::vector<unsigned char> bytes = EncodeObjectGroup(group);
    const std::string text = ObjectGroupText(group);
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const bool ok = Put(ObjectFormat(), bytes.data(), bytes.size()) &&
                    Put(CF_TEXT, text.c_str(), text.size() + 1);
    CloseClipboard();
    return ok;
}

bool ReadClipboardGroup(HWND owner, ObjectGroup* group)
{
    if (!IsClipboardFormatAvailable(ObjectFormat()) || !OpenClipboard(owner))
        return false;
    bool ok = false;
    HANDLE memory = GetClipboardData(ObjectFormat());
    const void* data = memory ? GlobalLock(memory) : nullptr;
    if (data)
    {
        ok = DecodeObjectGroup((const unsigned char*)data, GlobalSize(memory), group);
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return ok;
}

bool PasteFromClipboard(HWND owner, MapDocument& document, const ViewWindow& view,
                        FileSystem& files)
{
    if (!IsClipboardFormatAvailable(ObjectFormat()))
        return PasteTypedObjects(owner, document, files);
    ObjectGroup group;
    if (!ReadClipboardGroup(owner, &group))
        return false;
    float dx = 0.0f, dy = 0.0f;
    int px = 0, py = 0;
    float pointerX = 0.0f, pointerY = 0.0f, centreX = 0.0f, centreY = 0.0f;
    if (PointerOverView(view.Handle(), &px, &py) &&
        view.ViewPointToMap(px, py, &pointerX, &pointerY) && GroupCentre(group, &centreX, &centreY))
    {
        dx = pointerX - centreX;
        dy = pointerY - centreY;
    }
    return document.InsertGroup(group, dx, dy, "Paste");
}
