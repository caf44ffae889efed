// Start-up, recovery of unsaved work and the main loop (see EditorMain.h).
#include "app/EditorMain.h"

#include <stdio.h>

#include "app/CommandRouter.h"
#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/ShellFiles.h"
#include "app/UserMessages.h"

int RunMainLoop(EditorApp& editor)
{
    MSG message;
    for (;;)
    {
        // Scrolling with the right button draws continuously, and a frame
        // drawn in slices goes on whenever no message waits; everything
        // else draws when it asks for a frame, and the loop waits meanwhile.
        const bool scrolling = editor.Main().Active() && editor.View().Scrolling();
        const bool drawing = editor.View().FrameInProgress();
        if (scrolling || drawing)
        {
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            {
                if (scrolling)
                    editor.View().Tick();
                else
                    editor.View().ContinueFrame();
                continue;
            }
            if (message.message == WM_QUIT)
                return 1;
        }
        else if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            return 1; // WM_QUIT (or a broken queue)
        if (editor.Main().TranslateShortcut(&message) ||
            editor.Main().TranslatePaletteKeys(&message))
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

void ReportStartupProblems(EditorApp& editor)
{
    std::vector<std::string> problems = editor.StartupProblems();
    if (problems.empty())
        return;
    problems.insert(problems.begin(), "Not all of the start-up map's files could be read "
                                      "(names are taken from " +
                                          std::string(editor.ProgramDirectory()) + "):");
    ShowProblems(editor.Main().Handle(), problems);
}

void OfferRecovery(EditorApp& editor)
{
    HWND main = editor.Main().Handle();
    for (const std::string& folder : editor.Copies().Leftovers())
    {
        const std::string question =
            "Map Editor 1.4a did not close properly, and unsaved changes were kept.\n"
            "Restore them? (No discards them.)";
        if (MessageBoxA(main, question.c_str(), kMessageCaption, MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
        {
            Autosave::Remove(folder);
            continue;
        }
        std::vector<std::string> problems;
        if (Autosave::Restore(folder, &editor.Document(), editor.Files(), editor.Images(),
                              &problems))
        {
            editor.Palette().RebuildList();
            Autosave::Remove(folder);
            ShowProblems(main, problems);
            break;
        }
        problems.insert(problems.begin(), "The unsaved changes could not be restored.");
        ShowProblems(main, problems);
    }
    RefreshEditMenu(editor);
}

int RunEditor(HINSTANCE instance)
{
    // Relative names on the command line are the caller's: resolved before
    // anything may change the current directory.
    const std::vector<std::string> given = CommandLineFiles(GetCommandLineW());
    CommandRouter router;
    EditorApp editor(router);
    router.Attach(editor);
    // Every relative name of the editor (the start-up images, the object
    // types, debug.txt) is taken from the executable's own folder, whatever
    // folder a shortcut, a file association or a prompt started it in.
    editor.UseProgramDirectory(EditorApp::ExecutableFolder());
    editor.CreateWindows(instance);
    HWND main = editor.Main().Handle();
    ShowWindow(main, SW_SHOWMAXIMIZED);
    if (!editor.Initialise())
    {
        // Nothing may touch the missing device: tell the user and end here.
        const int status = ReportDeviceFailure(main, editor.Graphics().FailedStep());
        DestroyWindow(editor.Palette().Handle());
        DestroyWindow(main);
        return status;
    }
    RefreshEditMenu(editor); // the title names the (untitled) map
    ReportStartupProblems(editor);
    // Whole frames of many objects are drawn between messages, so that the
    // editor answers input while they draw.
    editor.View().SliceFrames(kFrameSliceMilliseconds);
    editor.Copies().Start();
    OfferRecovery(editor);
    editor.Recent().Load(main);
    SetTimer(main, kAutosaveTimer, kAutosaveCheckMilliseconds, nullptr);
    if (!given.empty())
    {
        // The file opens over the first frame, as if chosen from the menu.
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        OpenGivenFiles(editor, main, given);
        RefreshEditMenu(editor);
    }
    return RunMainLoop(editor);
}
