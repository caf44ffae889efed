// Helpers of the app suites.
#include "tests/app/EditingHarness.h"

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "resource.h"
#include "tests/support/EditorHarness.h"

const char kSampleHeightmap[] = "..\\maps\\area1.bmp";
const char kSampleColormap[] = "..\\maps\\area1-colormap.bmp";

namespace
{
// Wine's Explorer-style chooser: the file name box (cmb13).
const int kChooserFileNameBox = 0x47c;
} // namespace

LRESULT SendToMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(app.mainWindow, message, wParam, lParam);
}

void ResetEditor()
{
    SetCtrl(false);
    SetShift(false);
    if (GetCapture())
        ReleaseCapture();
    PumpMessages();
    MapDocument& document = app.document;
    std::vector<ObjectType> noTypes;
    std::vector<PlacedObject> noObjects;
    document.SwapContents(&noTypes, &noObjects);
    RebuildPaletteList();
    document.LoadHeightmap(app.images, kSampleHeightmap);
    document.colormapTexture = app.LoadTexture(kSampleColormap);
    document.colormapFile = kSampleColormap;
    document.quadDepth = 4;
    document.detailMap.clear();
    document.objectMap.clear();
    document.viewScale = document.width * 12;
    document.scrollX = document.scrollY = 0.0f;
    document.currentType = 0;
    document.snapToCells = false;
    document.StartNewHistory();
    app.banding = false;
    app.currentRotation = 0;
    app.leftButtonDown = app.rightButtonDown = app.dragging = false;
    SendDlgItemMessageA(app.paletteWindow, IDC_ROTATION, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(app.paletteWindow, IDC_RANDOMIZE, BM_SETCHECK, BST_UNCHECKED, 0);
}

void EditingTest::SetUp()
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
    ResetEditor();
}

void SetCtrl(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE state = down ? 0x80 : 0x00;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = state;
    SetKeyboardState(keys);
}

void SetShift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE state = down ? 0x80 : 0x00;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
    SetKeyboardState(keys);
}

void PressLeft(int x, int y)
{
    SendToMain(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void MoveMouse(int x, int y)
{
    SendToMain(WM_MOUSEMOVE, app.leftButtonDown ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void ReleaseLeft(int x, int y)
{
    SendToMain(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ClickLeft(int x, int y)
{
    PressLeft(x, y);
    ReleaseLeft(x, y);
}

void CtrlClick(int x, int y)
{
    SetCtrl(true);
    ClickLeft(x, y);
    SetCtrl(false);
}

void AddCatalogEntry(const char* path)
{
    app.document.AddObjectType(path);
    SyncPaletteList();
}

float ViewX(int index)
{
    return app.document.MapToViewX(app.document.objects[(size_t)index].x);
}

float ViewY(int index)
{
    return app.document.MapToViewY(app.document.objects[(size_t)index].y);
}

namespace
{
struct PendingAnswer
{
    const char* caption;
    const std::function<void(HWND)>* answer;
    bool seen = false;
    int ticksSinceAnswer = 0;
};
PendingAnswer* pending = nullptr;

void CALLBACK AnswerPending(HWND, UINT, UINT_PTR, DWORD)
{
    if (!pending)
        return;
    HWND dialog = FindWindowA("#32770", pending->caption);
    if (!dialog || !IsWindowVisible(dialog))
        return;
    if (!pending->seen)
    {
        pending->seen = true;
        (*pending->answer)(dialog);
        return;
    }
    // Still open 4 s after the answer: the answer was not taken.
    if (++pending->ticksSinceAnswer == 40)
        PressButton(dialog, IDCANCEL);
}
} // namespace

bool AnswerDialog(const char* caption, const std::function<void(HWND)>& answer,
                  const std::function<void()>& open)
{
    PendingAnswer state;
    state.caption = caption;
    state.answer = &answer;
    pending = &state;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerPending);
    open();
    KillTimer(nullptr, timer);
    pending = nullptr;
    return state.seen;
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

void TypeIntoChooser(HWND chooser, const std::string& path)
{
    // The characters themselves, as typing gives them, whatever the code
    // page: SetDlgItemTextA would hand the bytes through GetACP()'s table.
    std::wstring typed(path.size(), L'\0');
    typed.resize((size_t)MultiByteToWideChar(CP_UTF8, 0, path.data(), (int)path.size(), &typed[0],
                                             (int)typed.size()));
    SetDlgItemTextW(chooser, kChooserFileNameBox, typed.c_str());
    PressButton(chooser, IDOK);
}

std::string DialogItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthA(item);
    std::string text((size_t)length + 1, '\0');
    const int copied = GetWindowTextA(item, &text[0], length + 1);
    text.resize(copied > 0 ? (size_t)copied : 0);
    return text;
}
