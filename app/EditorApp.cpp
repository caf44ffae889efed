// The application object, start-up, the main loop and the frame.
#include "app/EditorApp.h"

#include <mmsystem.h>
#include <stdio.h>
#include <stdlib.h>

#include "app/EditCommands.h"
#include "app/MainLayout.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "app/ViewWindow.h"
#include "app/UserMessages.h"
#include "app/PaletteDialog.h"
#include "app/PointerEditing.h"
#include "app/ShellFiles.h"
#include "resource.h"

EditorApp app;
HINSTANCE instanceHandle = nullptr;
bool windowActive = false;

namespace
{
const char kStartupHeightmap[] = "..\\maps\\area1.bmp";
const char kStatusFontName[] = "Tahoma";
const char kLabelFontName[] = "tahoma";
const float kFarPlane = 1000.0f;
const D3DCOLOR kStatusTextColour = 0xFFFF0000; // opaque red
} // namespace

EditorApp::~EditorApp()
{
    // The rest of the teardown order follows from the member order (header).
    initialised = false;
}

bool EditorApp::Initialise()
{
    if (CreateDevice(viewWindow, kFarPlane) != 0)
        return false;
    fonts.SetOwner(device);
    document.Init(images, kStartupHeightmap);
    // Asked before the status text asks for "Tahoma", so this creates the
    // entry that both then share.
    view.labelFont = fonts.FindOrRegister(kLabelFontName);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    backgroundBlue = 255;
    textFont = fonts.FindOrRegister(kStatusFontName);
    initialised = true;
    srand(timeGetTime());
    return true;
}

void EditorApp::Tick()
{
    timer.Tick();
    frameTime = timer.frameTime;
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    ScreenToClient(viewWindow, &pointer); // may lie outside the client area
    if (rightButtonDown)
        EditAtPointer(pointer.x, pointer.y, PointerMode::Scroll);
    DrawFrame();
}

void EditorApp::DrawFrame()
{
    // A lost device draws nothing until it is given back and reset.
    if (!RecoverDevice(fonts))
        return;
    const FrameBand band = {banding, bandX0, bandY0, bandX1, bandY1};
    const KeptFrame::Plan plan = keptFrame.Compare(*this, fonts, textFont, view, document, band);
    if (plan.redraw == KeptFrame::Nothing && ShowKeptFrame())
        return;
    if (plan.redraw == KeptFrame::Part)
    {
        ViewArea parts[KeptFrame::MostParts];
        for (int i = 0; i < plan.partCount; ++i)
            parts[i] = {(float)plan.parts[i].left, (float)plan.parts[i].top,
                        (float)plan.parts[i].right, (float)plan.parts[i].bottom};
        DrawScene(parts, plan.partCount);
        if (EndPartFrame(plan.parts, plan.partCount))
        {
            keptFrame.Keep(*this, fonts, textFont, view, document, band);
            return;
        }
    }
    DrawScene(nullptr, 0);
    EndFrame();
    // A frame shown by Present leaves no picture to keep.
    if (pictureKept)
        keptFrame.Keep(*this, fonts, textFont, view, document, band);
    else
        keptFrame.Forget();
}

void EditorApp::DrawScene(const ViewArea* parts, int partCount)
{
    BeginFrame();
    view.DrawMap(*this, document);
    view.DrawObjects(*this, fonts, document, parts, partCount);
    if (banding)
        view.DrawRubberBand(*this, (float)bandX0, (float)bandY0, (float)bandX1, (float)bandY1);
    if (FontEntry* status = fonts.Entry(textFont))
        status->Print(0.0f, 0.0f, false, kStatusTextColour, "Objects: %d", document.ObjectCount());
}

void SaveProgramDirectory()
{
    // A directory longer than the buffer is not written: it stays empty and
    // restoring it later changes nothing.
    GetCurrentDirectoryA(sizeof(app.programDirectory), app.programDirectory);
}

void CreateEditorWindows(HINSTANCE instance)
{
    instanceHandle = instance;
    app.mainWindow =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    app.viewWindow = CreateViewWindow(instance, app.mainWindow);
    app.statusBar = CreateStatusBar(instance, app.mainWindow);
    app.paletteWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_OBJECTDIALOG),
                                           app.mainWindow, PaletteDialogProc, 0);
    // Docked at the main window's right edge, as wide as its dialog.
    RECT palette = {0, 0, 0, 0};
    GetWindowRect(app.paletteWindow, &palette);
    app.paletteWidth = palette.right - palette.left;
    DockPalette(true);
    app.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    // Files dropped anywhere on the main window (the view and the docked
    // palette take none themselves, so their drops come here).
    DragAcceptFiles(app.mainWindow, TRUE);
}

bool TranslateEditorAccelerator(MSG* message)
{
    // The shortcuts work whichever of the main window and the palette (or
    // one of its controls) has the keyboard; the commands go to the main
    // window. Other windows (choosers, message boxes) run their own loops.
    HWND target = message->hwnd;
    if (!app.accelerators || !target)
        return false;
    const bool ours = target == app.mainWindow || target == app.paletteWindow ||
                      IsChild(app.mainWindow, target) || IsChild(app.paletteWindow, target);
    return ours && TranslateAcceleratorA(app.mainWindow, app.accelerators, message);
}

int RunMainLoop()
{
    MSG message;
    for (;;)
    {
        // Scrolling with the right button draws continuously; everything
        // else draws when it asks for a frame, and the loop waits meanwhile.
        const bool scrolling = windowActive && app.rightButtonDown;
        if (scrolling)
        {
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            {
                app.Tick();
                continue;
            }
            if (message.message == WM_QUIT)
                return 1;
        }
        else if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            return 1; // WM_QUIT (or a broken queue)
        if (TranslateEditorAccelerator(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int ReportDeviceFailure(HWND owner, const char* failedStep)
{
    char text[256];
    snprintf(text, sizeof(text),
             "The Direct3D 8 device could not be created (%s failed).\n"
             "Map Editor 1.4a needs Direct3D 8 and will now close.",
             failedStep ? failedStep : "device creation");
    MessageBoxA(owner, text, "Map Editor 1.4a", MB_OK | MB_ICONERROR);
    return 2;
}

void OfferRecovery()
{
    for (const std::string& folder : app.autosave.Leftovers())
    {
        const std::string question =
            "Map Editor 1.4a did not close properly, and unsaved changes were kept.\n"
            "Restore them? (No discards them.)";
        if (MessageBoxA(app.mainWindow, question.c_str(), kMessageCaption,
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
        {
            Autosave::Remove(folder);
            continue;
        }
        std::vector<std::string> problems;
        if (Autosave::Restore(folder, &app.document, app.files, app.images, &problems))
        {
            RebuildPaletteList();
            Autosave::Remove(folder);
            ShowProblems(app.mainWindow, problems);
            break;
        }
        problems.insert(problems.begin(), "The unsaved changes could not be restored.");
        ShowProblems(app.mainWindow, problems);
    }
    RefreshEditMenu(app.mainWindow);
}

int RunEditor(HINSTANCE instance)
{
    // Relative names on the command line are the caller's: resolved before
    // anything may change the current directory.
    const std::vector<std::string> given = CommandLineFiles(GetCommandLineW());
    SaveProgramDirectory();
    CreateEditorWindows(instance);
    ShowWindow(app.mainWindow, SW_SHOWMAXIMIZED);
    if (!app.Initialise())
    {
        // Nothing may touch the missing device: tell the user and end here.
        const int status = ReportDeviceFailure(app.mainWindow, app.failedStep);
        DestroyWindow(app.paletteWindow);
        DestroyWindow(app.mainWindow);
        return status;
    }
    RefreshEditMenu(app.mainWindow); // the title names the (untitled) map
    app.autosave.Start();
    OfferRecovery();
    LoadRecentMaps();
    SetTimer(app.mainWindow, kAutosaveTimer, kAutosaveCheckMilliseconds, nullptr);
    if (!given.empty())
    {
        // The file opens over the first frame, as if chosen from the menu.
        RedrawWindow(app.mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        OpenGivenFiles(app.mainWindow, given);
        RefreshEditMenu(app.mainWindow);
    }
    return RunMainLoop();
}
