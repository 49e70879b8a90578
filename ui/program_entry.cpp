// The program's own start-up code: Windows 95 brings no C run-time that the
// program may count on, so this entry does for WinMain what a run-time's would.
#include <windows.h>

#include "dialogs.h"

HINSTANCE g_hInstance;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_hInstance = instance;
    return ShowMainDialog();
}

// Skips the program name, quoted or not, and the blanks after it.
static LPSTR CommandLineAfterProgramName()
{
    char *text = GetCommandLineA();
    if (*text == '"') {
        for (++text; *text && *text != '"'; ++text) {
        }
        if (*text == '"')
            ++text;
    } else {
        while (*text && *text != ' ' && *text != '\t')
            ++text;
    }
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

extern "C" void WINAPI ProgramStart()
{
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    // Nothing of ours needs flushing or tearing down: the result is the exit code.
    ExitProcess(WinMain(GetModuleHandleA(0), 0, CommandLineAfterProgramName(), show));
}
