#include "ui_driver.h"

#include "file_fixture.h"
#include "png_file.h"

bool StartProgram(const std::string &program, const std::string &arguments, PROCESS_INFORMATION &process)
{
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {sizeof startup};
    std::string folder = program.substr(0, program.rfind('\\'));
    return CreateProcessA(program.c_str(), &commandLine[0], 0, 0, FALSE, 0, 0, folder.c_str(),
                          &startup, &process) != 0;
}

bool StartProgramIn(const std::string &folder, const std::string &arguments, PROCESS_INFORMATION &process)
{
    MakeFolders(folder);
    return CopyFileA((ThisProgramsFolder() + "\\sqvunins.exe").c_str(), (folder + "\\sqvunins.exe").c_str(),
                     FALSE) &&
           StartProgram(folder + "\\sqvunins.exe", arguments, process);
}

namespace {

struct DialogSearch {
    DWORD processId;
    const std::string *caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    DialogSearch &search = *(DialogSearch *)parameter;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64];
    if (owner == search.processId && IsWindowVisible(window) &&
        GetClassNameA(window, className, sizeof className) && lstrcmpA(className, "#32770") == 0 &&
        WindowText(window) == *search.caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WaitForDialog(DWORD processId, const std::string &caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        DialogSearch search = {processId, &caption, 0};
        EnumWindows(MatchDialog, (LPARAM)&search);
        if (search.found) {
            WaitUntilIdle(search.found);
            return search.found;
        }
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return 0;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < timeoutMs)
        Sleep(20);
    return !IsWindow(window);
}

DWORD WaitForExitCode(PROCESS_INFORMATION &process, DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void WaitUntilIdle(HWND dialog)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

void WaitUntilPainted(HWND window)
{
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WaitUntilIdle(window);
    Sleep(300); // Wine puts what was painted on the display a moment later
}

void ClickButton(HWND dialog, int id)
{
    // Posted: the click may start a nested modal loop that never returns to us.
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PressKey(HWND dialog, WPARAM key)
{
    // The dialog manager's loop turns the key into a command, as for a typed key.
    PostMessageA(dialog, WM_KEYDOWN, key, 1);
    PostMessageA(dialog, WM_KEYUP, key, 0xC0000001);
}

void CloseFromSystemMenu(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_NORMAL, 5000, &length);
    return text;
}

std::vector<ControlView> ReadControls(HWND dialog)
{
    std::vector<ControlView> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlView view;
        view.id = (int)GetWindowLongPtrA(child, GWLP_ID);
        char className[64] = "";
        GetClassNameA(child, className, sizeof className);
        view.className = className;
        view.text = WindowText(child);
        view.style = (DWORD)GetWindowLongA(child, GWL_STYLE);
        view.extendedStyle = (DWORD)GetWindowLongA(child, GWL_EXSTYLE);
        view.enabled = IsWindowEnabled(child) != 0;
        GetWindowRect(child, &view.rect);
        MapWindowPoints(0, dialog, (POINT *)&view.rect, 2);
        controls.push_back(view);
    }
    return controls;
}

static INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy)
{
    // A dialog of our own with the same font maps the units as the program's does.
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, caption, pointSize;
        WCHAR face[14];
    } blank = {{WS_POPUP | DS_SETFONT, 0, 0, 0, 0, 10, 10}, 0, 0, 0, 8, L"MS Sans Serif"};
    HWND reference = CreateDialogIndirectParamA(GetModuleHandleA(0), &blank.header, 0, IgnoreEverything, 0);
    // Place and size are mapped one by one, as the dialog manager does.
    RECT units = {x, y, cx, cy};
    MapDialogRect(reference, &units);
    DestroyWindow(reference);
    RECT rect = {units.left, units.top, units.left + units.right, units.top + units.bottom};
    return rect;
}

std::vector<unsigned> CaptureScreen(const RECT &area)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void *bits = 0;
    HDC screen = GetDC(0);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, 0, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<unsigned> pixels((unsigned *)bits, (unsigned *)bits + (size_t)width * height);
    for (unsigned &pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(0, screen);
    return pixels;
}

bool SaveScreenshot(HWND window, const std::string &path)
{
    if (path.empty())
        return false;
    WaitUntilPainted(window);
    RECT area;
    GetWindowRect(window, &area);
    return WritePng(path, area.right - area.left, area.bottom - area.top, CaptureScreen(area));
}

std::string ScreenshotFolder()
{
    char folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("SQV_SCREENSHOT_DIR", folder, sizeof folder);
    if (!length || length >= sizeof folder)
        return "";
    std::string path = UnixPathToWindows(folder);
    if (path.back() != '\\')
        path += '\\';
    CreateDirectoryA(path.c_str(), 0);
    return path;
}

std::string UnixPathToWindows(const char *path)
{
    std::string windows = std::string("Z:") + (path ? path : "");
    for (char &c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}
