// Drives sqvunins.exe from another process, as a user would: finds its
// dialogs by caption, reads what is on the screen, presses buttons and keys,
// and takes pictures of the dialogs.
#ifndef SQV_TESTS_UI_DRIVER_H
#define SQV_TESTS_UI_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

// Starts `program` with `arguments`; false when it cannot be started.
bool StartProgram(const std::string &program, const std::string &arguments, PROCESS_INFORMATION &process);

// Copies sqvunins.exe, built beside the running program, into `folder` and
// starts it there, where it looks for its language module first.
bool StartProgramIn(const std::string &folder, const std::string &arguments, PROCESS_INFORMATION &process);

// The visible dialog of `processId` with `caption`, or 0 after `timeoutMs`.
HWND WaitForDialog(DWORD processId, const std::string &caption, DWORD timeoutMs = 15000);

// Whether `window` is destroyed within `timeoutMs`.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 5000);

// The process's exit code; a process still running after `timeoutMs` is
// ended and STILL_ACTIVE is returned. Closes both handles.
DWORD WaitForExitCode(PROCESS_INFORMATION &process, DWORD timeoutMs = 30000);

// Waits until the program has handled everything sent to `dialog` so far.
void WaitUntilIdle(HWND dialog);

// Has the window painted afresh and waits until it is on the display.
void WaitUntilPainted(HWND window);

void ClickButton(HWND dialog, int id);      // a mouse click on the button
void PressKey(HWND dialog, WPARAM key);     // VK_RETURN, VK_ESCAPE
void CloseFromSystemMenu(HWND dialog);

std::string WindowText(HWND window);

// One control as the user sees it; `rect` is in pixels, relative to the
// dialog's client area.
struct ControlView {
    int id;
    std::string className;
    std::string text;
    DWORD style;
    DWORD extendedStyle;
    bool enabled;
    RECT rect;
};
// The dialog's controls in their order (the template order).
std::vector<ControlView> ReadControls(HWND dialog);

// A rectangle in dialog units of an 8-point "MS Sans Serif" dialog, in pixels.
RECT DialogUnitsToPixels(int x, int y, int cx, int cy);

// Pixels of the screen, top-down, as 0x00RRGGBB.
std::vector<unsigned> CaptureScreen(const RECT &area);

// Saves a picture of the window as it is on the screen; an empty `path`
// saves nothing. Returns false when the picture could not be saved.
bool SaveScreenshot(HWND window, const std::string &path);

// The folder named by SQV_SCREENSHOT_DIR (a Unix path) as a Windows path
// ending in a backslash, or empty when the variable is not set.
std::string ScreenshotFolder();

// A Unix path as Wine's drive Z: shows it.
std::string UnixPathToWindows(const char *path);

#endif
