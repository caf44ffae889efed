// Helpers of the app suites.
#include "tests/app/EditingHarness.h"

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "resource.h"

#include <string.h>
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
    return SendMessageA(app.Main().Handle(), message, wParam, lParam);
}

LRESULT SendToView(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(app.View().Handle(), message, wParam, lParam);
}

void ResetEditor()
{
    SetCtrl(false);
    SetShift(false);
    if (GetCapture())
        ReleaseCapture();
    PumpMessages();
    MapDocument& document = app.Document();
    std::vector<ObjectType> noTypes;
    std::vector<PlacedObject> noObjects;
    document.SwapContents(&noTypes, &noObjects);
    app.Palette().RebuildList();
    document.LoadHeightmap(app.Images(), kSampleHeightmap);
    document.colormapTexture = app.Graphics().LoadTexture(kSampleColormap);
    document.colormapFile = kSampleColormap;
    document.quadDepth = 4;
    document.detailMap.clear();
    document.settingsFile.clear();
    document.objectMap.clear();
    document.viewScale = document.width * 12;
    document.scrollX = document.scrollY = 0.0f;
    document.currentType = 0;
    document.snapToCells = false;
    document.StartNewHistory();
    app.View().ResetGesture();
    app.View().ChooseTool(Tool::Select);
    app.View().SetBrushSettings(BrushSettings());
    app.Palette().SetRotation(0);
    SendDlgItemMessageA(app.Palette().Handle(), IDC_ROTATION, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(app.Palette().Handle(), IDC_RANDOMIZE, BM_SETCHECK, BST_UNCHECKED, 0);
}

void EditingTest::SetUp()
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
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

bool MoveCursorTo(int x, int y)
{
    // The pointer moves through the X server, and a motion event still on its
    // way can put it back where it was: wait until Wine has seen it at the
    // target several times running.
    SetCursorPos(x, y);
    int steady = 0;
    for (int i = 0; i < 200 && steady < 5; ++i)
    {
        Sleep(10);
        PumpMessages();
        POINT at;
        if (GetCursorPos(&at) && at.x == x && at.y == y)
            ++steady;
        else
        {
            steady = 0;
            SetCursorPos(x, y);
        }
    }
    return steady >= 5;
}

void PressLeft(int x, int y)
{
    SendToView(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void MoveMouse(int x, int y)
{
    SendToView(WM_MOUSEMOVE, app.View().Gesture().leftButtonDown ? MK_LBUTTON : 0,
               MAKELPARAM(x, y));
}

void ReleaseLeft(int x, int y)
{
    SendToView(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
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
    app.Document().AddObjectType(path);
    app.Palette().SyncList();
}

float ViewX(int index)
{
    return app.Document().MapToViewX(app.Document().objects[(size_t)index].x);
}

float ViewY(int index)
{
    return app.Document().MapToViewY(app.Document().objects[(size_t)index].y);
}

namespace
{
struct PendingAnswers
{
    const std::vector<DialogAnswer>* answers;
    size_t next = 0;
    std::vector<HWND> answered;
    int ticksSinceAnswer = 0;
};
PendingAnswers* pending = nullptr;

struct Search
{
    const char* caption;
    const std::vector<HWND>* answered;
    HWND found;
};

// A visible dialog of this thread with the caption that has not been
// answered yet (a chooser and its own question may share a caption).
BOOL CALLBACK FindUnanswered(HWND window, LPARAM parameter)
{
    Search* search = (Search*)parameter;
    char kind[16] = "", caption[256] = "";
    GetClassNameA(window, kind, sizeof(kind));
    GetWindowTextA(window, caption, sizeof(caption));
    if (strcmp(kind, "#32770") || strcmp(caption, search->caption) || !IsWindowVisible(window))
        return TRUE;
    for (HWND done : *search->answered)
        if (done == window)
            return TRUE;
    search->found = window;
    return FALSE;
}

void CALLBACK AnswerPending(HWND, UINT, UINT_PTR, DWORD)
{
    if (!pending)
        return;
    if (pending->next < pending->answers->size())
    {
        Search search = {(*pending->answers)[pending->next].caption, &pending->answered, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), FindUnanswered, (LPARAM)&search);
        if (search.found)
        {
            pending->answered.push_back(search.found);
            const DialogAnswer& answer = (*pending->answers)[pending->next++];
            pending->ticksSinceAnswer = 0;
            answer.answer(search.found);
            return;
        }
    }
    // A window up 4 s after the last answer that is not the next one
    // expected: an answer was not taken, or a dialog came that nobody
    // expected. Cancel it (or say No) so that the test ends.
    if (++pending->ticksSinceAnswer >= 40)
    {
        HWND top = GetActiveWindow();
        if (top && top != app.Main().Handle() && top != app.Palette().Handle())
        {
            PressButton(top, IDCANCEL);
            PressButton(top, IDNO);
        }
        pending->ticksSinceAnswer = 0;
    }
}
} // namespace

size_t AnswerDialogs(const std::vector<DialogAnswer>& answers, const std::function<void()>& open)
{
    PendingAnswers state;
    state.answers = &answers;
    pending = &state;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerPending);
    open();
    KillTimer(nullptr, timer);
    pending = nullptr;
    return state.next;
}

bool AnswerDialog(const char* caption, const std::function<void(HWND)>& answer,
                  const std::function<void()>& open)
{
    return AnswerDialogs({{caption, answer}}, open) == 1;
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
