// Watches for a request to end the Windows session. Under Wine,
// ExitWindowsEx starts "wineboot.exe --end-session", adding "--shutdown"
// unless a restart is asked for and "--kill" or "--force" for the force
// flags; wineboot then asks every top-level window with
// WM_QUERYENDSESSION. A window of ours records who asked and how, and
// refuses, so that the prefix's session goes on.
#ifndef SQV_TESTS_SESSION_WATCH_H
#define SQV_TESTS_SESSION_WATCH_H

#include <windows.h>

#include <string>

struct SessionEndRequest {
    bool asked;                 // WM_QUERYENDSESSION arrived
    DWORD requesterId;          // the process that started wineboot
    std::string commandLine;    // wineboot's command line
    bool dialogVisibleWhenAsked; // the watched dialog, at that moment
};

// Creates the watching window; `dialog` is the window whose visibility is
// recorded when the question arrives.
void StartSessionWatch(HWND dialog);
// Handles this thread's messages for `milliseconds`, or until asked.
const SessionEndRequest &WaitForSessionEndRequest(DWORD milliseconds);
void StopSessionWatch();

#endif
