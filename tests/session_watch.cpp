#include "session_watch.h"

#include <tlhelp32.h>
#include <winternl.h>

namespace {

HWND g_watcher;
HWND g_watchedDialog;
SessionEndRequest g_request;

// The command line of another process, read from its process parameters.
std::string CommandLineOf(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return "";
    std::string text;
    PROCESS_BASIC_INFORMATION basic;
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS parameters;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, 0) == 0 &&
        ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, 0) &&
        ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, 0)) {
        std::wstring wide(parameters.CommandLine.Length / sizeof(WCHAR), L'\0');
        if (ReadProcessMemory(process, parameters.CommandLine.Buffer, &wide[0], parameters.CommandLine.Length, 0))
            for (WCHAR c : wide)
                text += (char)c;
    }
    CloseHandle(process);
    return text;
}

void RecordRequest()
{
    g_request.asked = true;
    g_request.dialogVisibleWhenAsked = IsWindow(g_watchedDialog) && IsWindowVisible(g_watchedDialog);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "wineboot.exe") == 0) {
            std::string line = CommandLineOf(entry.th32ProcessID);
            if (line.find("--end-session") != std::string::npos || line.find("--kill") != std::string::npos) {
                g_request.requesterId = entry.th32ParentProcessID;
                g_request.commandLine = line;
            }
        }
    CloseHandle(snapshot);
}

LRESULT CALLBACK WatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        if (!g_request.asked)
            RecordRequest();
        return FALSE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void StartSessionWatch(HWND dialog)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WatcherProc;
    windowClass.hInstance = GetModuleHandleA(0);
    windowClass.lpszClassName = "SqvSessionWatch";
    RegisterClassA(&windowClass);
    g_request = SessionEndRequest();
    g_watchedDialog = dialog;
    g_watcher = CreateWindowA("SqvSessionWatch", "session watch", WS_OVERLAPPED, 0, 0, 10, 10, 0, 0,
                              GetModuleHandleA(0), 0);
}

const SessionEndRequest &WaitForSessionEndRequest(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!g_request.asked && GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, 0, FALSE, 20, QS_ALLINPUT);
    }
    return g_request;
}

void StopSessionWatch()
{
    DestroyWindow(g_watcher);
    g_watcher = 0;
}
