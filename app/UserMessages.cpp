// Message boxes of the editor and the log lines that go with them.
#include "app/UserMessages.h"

#include "document/MessageText.h"
#include "text/DiagnosticLog.h"

const char kMessageCaption[] = "Map Editor 1.4a";

void ShowProblems(HWND owner, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    std::string text;
    for (const std::string& line : lines)
    {
        AppendLogLine(line.c_str());
        text += (text.empty() ? "" : "\n") + line;
    }
    ShowNotice(owner, text);
}

void ShowProblem(HWND owner, const std::string& line)
{
    ShowProblems(owner, std::vector<std::string>{line});
}

void ShowNotice(HWND owner, const std::string& text)
{
    MessageBoxA(owner, ShortenLongWords(text).c_str(), kMessageCaption, MB_OK | MB_ICONWARNING);
}

int AskToSaveChanges(HWND owner, const std::string& name)
{
    const std::string question = "Save changes to " + name + "?";
    return MessageBoxA(owner, question.c_str(), kMessageCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
}
