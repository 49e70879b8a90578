// The program as a user meets it: sqvunins.exe started in the prefix, its
// dialogs found by caption and read back from the screen, its buttons and
// keys pressed from this driver process, its exit code checked.
#include <string>
#include <vector>

#include "../resources/resource_ids.h"
#include "file_fixture.h"
#include "package_names.h"
#include "registry_fixture.h"
#include "session_watch.h"
#include "ui_driver.h"

namespace {

const char ABOUT_CAPTION[] = "About";
const char GERMAN_MAIN_CAPTION[] = "Halvane(tm) Treiber entfernen";
const char GERMAN_COMPLETE_CAPTION[] = "Halvane(tm) Deinstallation abgeschlossen";

// What the uninstall removes first: a device instance of the card and the
// driver class key its "Driver" value names.
const char INSTANCE_KEY[] = "Enum\\PCI\\VEN_5A3C&DEV_0C17\\BUS_00&DEV_0B&FUNC_00";
const char DRIVER_KEY[] = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0099";

enum ModuleKind { NO_MODULE, GERMAN_MODULE, NOT_A_MODULE, HOSTILE_DIALOGS, MAIN_DIALOG_FAILS, ABOUT_WITHOUT_VERSION };

class ProgramTest : public RegistryTest {
protected:
    void SetUp() override { PlantPackage(); }

    // The package's first entries, which the uninstall removes at once.
    void PlantPackage()
    {
        RemovePath(WinInitPath());
        CreateKeyPath(HKEY_LOCAL_MACHINE, DRIVER_KEY);
        SetTextValue(HKEY_LOCAL_MACHINE, INSTANCE_KEY, "DeviceID", "PCI\\VEN_5A3C&DEV_0C17");
        SetTextValue(HKEY_LOCAL_MACHINE, INSTANCE_KEY, "Driver", "MEDIA\\0099");
    }
    void TearDown() override
    {
        if (started)
            WaitForExitCode(process, 5000);
        RemovePath(WinInitPath());
        RegistryTest::TearDown();
    }

    // Starts a copy of the program in a folder of its own, with or without a
    // file named sqvnls.dll beside it.
    void Start(ModuleKind module, const std::string &arguments = "")
    {
        static const char *const FOLDERS[] = {
            "C:\\sqvunins-ui\\english",         "C:\\sqvunins-ui\\german",
            "C:\\sqvunins-ui\\not-a-module",    "C:\\sqvunins-ui\\about_and_completion",
            "C:\\sqvunins-ui\\main_fails",      "C:\\sqvunins-ui\\about_without_version_line"};
        std::string folder = FOLDERS[module];
        MakeFolders(folder);
        if (module == GERMAN_MODULE)
            ASSERT_TRUE(CopyFileA((ThisProgramsFolder() + "\\sqvnls.dll").c_str(),
                                  (folder + "\\sqvnls.dll").c_str(), FALSE));
        if (module >= HOSTILE_DIALOGS)
            ASSERT_TRUE(CopyFileA((ThisProgramsFolder() + "\\hostile" + folder.substr(folder.rfind('\\')) +
                                   "\\sqvnls.dll").c_str(),
                                  (folder + "\\sqvnls.dll").c_str(), FALSE));
        if (module == NOT_A_MODULE)
            WriteBytes(folder + "\\sqvnls.dll", "MZ but no module at all\r\n");
        ASSERT_TRUE(StartProgramIn(folder, arguments, process));
        started = true;
    }

    HWND Dialog(const char *caption)
    {
        HWND dialog = WaitForDialog(process.dwProcessId, caption);
        EXPECT_TRUE(dialog) << "no dialog \"" << caption << "\"";
        return dialog;
    }

    DWORD ExitCode()
    {
        started = false;
        return WaitForExitCode(process);
    }

    bool PackageStillThere()
    {
        return KeyExists(HKEY_LOCAL_MACHINE, INSTANCE_KEY) && KeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY) &&
               !FileExists(WinInitPath());
    }

    void ExpectPackageRemoved(const char *file = __builtin_FILE(), int line = __builtin_LINE())
    {
        CALLER_TRACE;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, DEVICE_KEY));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
        EXPECT_EQ(0u, ReadBytes(WinInitPath()).find("\r\n[Rename]\r\nNUL=")); // a new file
    }

    // Starts the uninstall the way `start` says and returns the completion
    // dialog. Meanwhile: the three buttons are disabled by the time the
    // uninstall deletes its first device key, and stay so while the
    // completion dialog is shown.
    HWND Uninstall(HWND main, void (*start)(HWND main), const char *completeCaption)
    {
        HWND buttons[] = {GetDlgItem(main, IDC_UNINSTALL), GetDlgItem(main, IDCANCEL), GetDlgItem(main, IDC_ABOUT)};
        HKEY pci = 0;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\PCI", 0, KEY_NOTIFY, &pci);
        HANDLE changed = CreateEventA(0, TRUE, FALSE, 0);
        EXPECT_EQ(ERROR_SUCCESS, RegNotifyChangeKeyValue(pci, TRUE, REG_NOTIFY_CHANGE_NAME, changed, TRUE));
        start(main);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(changed, 15000)) << "the uninstall did not start";
        for (HWND button : buttons)
            EXPECT_TRUE(IsWindow(button) && !IsWindowEnabled(button)) << "enabled while the uninstall runs";
        CloseHandle(changed);
        RegCloseKey(pci);
        HWND complete = Dialog(completeCaption);
        for (HWND button : buttons)
            EXPECT_TRUE(IsWindow(button) && !IsWindowEnabled(button)) << "enabled after the uninstall";
        return complete;
    }

    PROCESS_INFORMATION process = {};
    bool started = false;
};

void PressEnter(HWND main) { PressKey(main, VK_RETURN); }
void ClickUninstall(HWND main) { ClickButton(main, IDC_UNINSTALL); }

// The ways a user ends a dialog, by name. OK in the About dialog carries
// IDCANCEL, so it is clicked as Cancel is.
struct Way {
    const char *name;
    void (*end)(HWND dialog);
};
void ClickCancel(HWND dialog) { ClickButton(dialog, IDCANCEL); }
void PressEsc(HWND dialog) { PressKey(dialog, VK_ESCAPE); }
const Way CANCEL_WAYS[] = {
    {"the Cancel button", ClickCancel},
    {"Esc", PressEsc},
    {"Close in the system menu", CloseFromSystemMenu},
};

struct ExpectedControl {
    int id;
    const char *className;
    const char *text;
    DWORD style, extendedStyle;
    int x, y, cx, cy; // dialog units
};

// Every control in template order, at its place, with its text and styles.
void ExpectControls(HWND dialog, const std::vector<ExpectedControl> &expected, bool enabled,
                    const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    CALLER_TRACE;
    std::vector<ControlView> controls = ReadControls(dialog);
    ASSERT_EQ(expected.size(), controls.size());
    for (size_t i = 0; i < expected.size(); i++) {
        SCOPED_TRACE("control " + std::to_string(i) + ": " + expected[i].text);
        const ControlView &got = controls[i];
        EXPECT_EQ(expected[i].id, (short)got.id); // -1 whether stored in 16 or 32 bits
        EXPECT_STRCASEEQ(expected[i].className, got.className.c_str());
        EXPECT_EQ(expected[i].text, got.text);
        EXPECT_EQ(expected[i].style, got.style & ~(DWORD)WS_DISABLED);
        EXPECT_EQ(expected[i].extendedStyle, got.extendedStyle & ~(DWORD)WS_EX_NOPARENTNOTIFY);
        EXPECT_EQ(enabled, got.enabled);
        RECT place = DialogUnitsToPixels(expected[i].x, expected[i].y, expected[i].cx, expected[i].cy);
        EXPECT_EQ(place.left, got.rect.left);
        EXPECT_EQ(place.top, got.rect.top);
        if (!(expected[i].style & SS_BITMAP)) { // a picture takes its bitmap's size
            EXPECT_EQ(place.right, got.rect.right);
            EXPECT_EQ(place.bottom, got.rect.bottom);
        }
    }
}

void ExpectDialogFrame(HWND dialog, DWORD style, int cx, int cy, const char *file = __builtin_FILE(),
                       int line = __builtin_LINE())
{
    CALLER_TRACE;
    EXPECT_EQ(style, (DWORD)GetWindowLongA(dialog, GWL_STYLE) & ~(DWORD)(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK));
    RECT client, expected = DialogUnitsToPixels(0, 0, cx, cy);
    GetClientRect(dialog, &client);
    EXPECT_EQ(expected.right, client.right);
    EXPECT_EQ(expected.bottom, client.bottom);
    EXPECT_EQ(0, GetWindow(dialog, GW_OWNER)) << "dialogs have no owner";
}

const std::vector<ExpectedControl> MAIN_CONTROLS = {
    {IDC_UNINSTALL, "Button", "Uninstall Halvane(tm) Driver", 0x50010001, 0, 7, 62, 139, 17},
    {IDCANCEL, "Button", "Cancel", 0x50010000, 0, 8, 84, 139, 17},
    {IDC_ABOUT, "Button", "About", 0x50010000, 0, 7, 106, 139, 17},
    // The text is the bitmap's ordinal, 1001. The template's WS_BORDER and
    // SS_SUNKEN become edges when the platform creates the control.
    {-1, "Static", "\xFF\xE9\x03", 0x5000100E, WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 7, 7, 139, 50},
};

const std::vector<ExpectedControl> COMPLETE_CONTROLS = {
    {IDC_SHUTDOWN, "Button", "Shutdown", 0x50010000, 0, 5, 32, 63, 14},
    {IDC_RESTART, "Button", "Restart", 0x50010000, 0, 76, 32, 63, 14},
    {IDCANCEL, "Button", "Cancel", 0x50010000, 0, 147, 32, 63, 14},
    {-1, "Static",
     "The uninstall is complete and will take effect the next time you start Windows 95.  "
     "Please re-boot your machine now.",
     0x50020000, 0, 8, 7, 204, 25},
};

const std::vector<ExpectedControl> ABOUT_CONTROLS = {
    {IDCANCEL, "Button", "OK", 0x50010001, 0, 59, 45, 50, 14},
    {-1, "Static", "Halvane(tm) Uninstall Utility", 0x50020000, 0, 7, 13, 165, 10},
    {-1, "Static", "Copyright (C) 1998 Halvane Audio Systems", 0x50020000, 0, 7, 23, 165, 10},
    {IDC_VERSION_LINE, "Static", "Version 1.11", 0x50020000, 0, 7, 33, 165, 10},
};

// The logo as the user sees it in the picture control: the program's own
// bitmap 1001, read from the screen. Wine stretches a picture to the
// control's client area, which its edges make smaller than the bitmap, so the
// bitmap is drawn the same way here before the pixels are compared.
void ExpectProgramsLogo(HWND dialog, const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    CALLER_TRACE;
    HWND picture = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < 3 && picture; i++)
        picture = GetWindow(picture, GW_HWNDNEXT);
    ASSERT_TRUE(picture);
    WaitUntilPainted(dialog);
    HMODULE program = LoadLibraryExA((ThisProgramsFolder() + "\\sqvunins.exe").c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP logo = (HBITMAP)LoadImageA(program, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    FreeLibrary(program);
    ASSERT_TRUE(logo);
    BITMAP size;
    GetObjectA(logo, sizeof size, &size);
    EXPECT_EQ(200, size.bmWidth);
    EXPECT_EQ(73, size.bmHeight);

    RECT client;
    GetClientRect(picture, &client);
    MapWindowPoints(picture, 0, (POINT *)&client, 2);
    int width = client.right - client.left, height = client.bottom - client.top;
    ASSERT_GT(width, 180);
    ASSERT_GT(height, 60);
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32};
    void *bits = 0;
    HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
    HBITMAP drawn = CreateDIBSection(to, &format, DIB_RGB_COLORS, &bits, 0, 0);
    HGDIOBJ oldFrom = SelectObject(from, logo), oldTo = SelectObject(to, drawn);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    GdiFlush();
    std::vector<unsigned> expected((unsigned *)bits, (unsigned *)bits + (size_t)width * height);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteObject(drawn);
    DeleteObject(logo);
    DeleteDC(from);
    DeleteDC(to);

    std::vector<unsigned> shown = CaptureScreen(client);
    int wrong = 0;
    for (size_t i = 0; i < shown.size(); i++)
        wrong += shown[i] != (expected[i] & 0xFFFFFF);
    EXPECT_EQ(0, wrong) << "pixels of the logo that differ from bitmap 1001";
}

std::string Screenshot(const char *name)
{
    std::string folder = ScreenshotFolder();
    return folder.empty() ? "" : folder + name;
}

TEST_F(ProgramTest, MainDialogShowsItsTemplate)
{
    Start(NO_MODULE);
    HWND dialog = Dialog(MAIN_CAPTION);
    ASSERT_TRUE(dialog);
    ExpectDialogFrame(dialog, 0x80C808C0, 153, 130);
    ExpectControls(dialog, MAIN_CONTROLS, true);
    DWORD_PTR defaultId = 0;
    SendMessageTimeoutA(dialog, DM_GETDEFID, 0, 0, SMTO_NORMAL, 5000, &defaultId);
    EXPECT_EQ(MAKELONG(IDC_UNINSTALL, DC_HASDEFID), defaultId);
    ExpectProgramsLogo(dialog);
    SaveScreenshot(dialog, Screenshot("main-dialog.png"));
    ClickButton(dialog, IDCANCEL);
    EXPECT_EQ(1u, ExitCode());
}

// Cancel, Esc and Close all end the program with 1 and remove nothing;
// arguments on the command line change nothing.
TEST_F(ProgramTest, CancelEscAndCloseEndWithoutChanges)
{
    const struct {
        Way way;
        const char *arguments;
    } cases[] = {
        {CANCEL_WAYS[0], ""},
        {CANCEL_WAYS[1], ""},
        {CANCEL_WAYS[2], ""},
        {CANCEL_WAYS[0], "/uninstall /s now"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.way.name) + ", arguments \"" + c.arguments + "\"");
        Start(NO_MODULE, c.arguments);
        HWND dialog = Dialog(MAIN_CAPTION);
        ASSERT_TRUE(dialog);
        c.way.end(dialog);
        EXPECT_EQ(1u, ExitCode());
        EXPECT_TRUE(PackageStillThere());
    }
}

// OK, Enter and Esc close the About dialog; it can be opened again and again,
// shows the same each time, and leaves the main dialog as it was.
TEST_F(ProgramTest, AboutDialogOpensRepeatedlyAndClosesEveryWay)
{
    Start(NO_MODULE);
    HWND main = Dialog(MAIN_CAPTION);
    ASSERT_TRUE(main);
    const Way ways[] = {{"OK", ClickCancel}, {"Enter", PressEnter}, {"Esc", PressEsc}, {"OK again", ClickCancel}};
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        ClickButton(main, IDC_ABOUT);
        HWND about = Dialog(ABOUT_CAPTION);
        ASSERT_TRUE(about);
        ExpectDialogFrame(about, 0x80C808C0, 186, 66);
        ExpectControls(about, ABOUT_CONTROLS, true);
        // No owner: the main dialog stays usable while the About dialog is open.
        EXPECT_TRUE(IsWindowEnabled(main));
        if (&way == &ways[0])
            SaveScreenshot(about, Screenshot("about-dialog.png"));
        way.end(about);
        EXPECT_TRUE(WaitForWindowGone(about));
        WaitUntilIdle(main);
        ExpectControls(main, MAIN_CONTROLS, true);
    }
    ClickButton(main, IDCANCEL);
    EXPECT_EQ(1u, ExitCode());
    EXPECT_TRUE(PackageStillThere());
}

// Enter starts the uninstall at once (no question); the completion dialog
// follows, and its Cancel ends the program with 1.
TEST_F(ProgramTest, EnterRunsTheUninstallAndTheCompletionDialogFollows)
{
    Start(NO_MODULE);
    HWND main = Dialog(MAIN_CAPTION);
    ASSERT_TRUE(main);
    HWND complete = Uninstall(main, PressEnter, COMPLETE_CAPTION);
    ASSERT_TRUE(complete);
    ExpectDialogFrame(complete, 0x80C808C2, 220, 54);
    ExpectControls(complete, COMPLETE_CONTROLS, true);
    SaveScreenshot(complete, Screenshot("completion-dialog.png"));
    ClickButton(complete, IDCANCEL);
    EXPECT_EQ(1u, ExitCode());
    ExpectPackageRemoved();
}

// The calls of EndDialog and ExitWindowsEx that the program made, in order,
// from Wine's relay trace ("Call user32.ExitWindowsEx(00000001,00000000)").
std::string SessionCallsTraced(size_t from)
{
    std::string log = ReadBytes(UnixPathToWindows(getenv("SQV_WINE_DEBUG_LOG")));
    std::string calls;
    for (size_t at = log.find("Call user32.", from); at != std::string::npos; at = log.find("Call user32.", at + 1)) {
        size_t end = log.find(')', at);
        calls += log.substr(at + 12, end - at - 11);
        calls += ' ';
    }
    return calls;
}

// How much Wine has traced so far: the calls after it are the next program's.
size_t TraceLength()
{
    return ReadBytes(UnixPathToWindows(getenv("SQV_WINE_DEBUG_LOG"))).size();
}

// Has Wine trace the EndDialog and ExitWindowsEx calls of the programs
// started from now on, or stop tracing them.
void TraceSessionCalls(bool on)
{
    if (on) {
        CreateKeyPath(HKEY_CURRENT_USER, "Software\\Wine\\Debug");
        SetTextValue(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayInclude",
                     "user32.EndDialog;user32.ExitWindowsEx");
    }
    SetEnvironmentVariableA("WINEDEBUG", on ? "+relay" : 0);
}

std::string EndDialogCall(HWND dialog)
{
    char call[64];
    snprintf(call, sizeof call, "EndDialog(%08lx,00000001) ", (unsigned long)(ULONG_PTR)dialog);
    return call;
}

// Cancel, Esc and Close end the completion dialog, and the program asks
// nothing of the session: its relay trace holds the two dialogs' ends and no
// ExitWindowsEx.
TEST_F(ProgramTest, CompletionDialogEndsWithoutEndingTheSession)
{
    ASSERT_TRUE(getenv("SQV_WINE_DEBUG_LOG"));
    TraceSessionCalls(true);
    for (const Way &way : CANCEL_WAYS) {
        SCOPED_TRACE(way.name);
        PlantPackage();
        size_t traceStart = TraceLength();
        Start(NO_MODULE);
        HWND main = Dialog(MAIN_CAPTION);
        ASSERT_TRUE(main);
        HWND complete = Uninstall(main, ClickUninstall, COMPLETE_CAPTION);
        ASSERT_TRUE(complete);
        way.end(complete);
        EXPECT_EQ(1u, ExitCode());
        EXPECT_EQ(EndDialogCall(main) + EndDialogCall(complete), SessionCallsTraced(traceStart));
        ExpectPackageRemoved();
    }
    TraceSessionCalls(false);
}

// Shutdown and Restart end the completion dialog first, then the program
// asks for the end of the session, without force: running programs are
// asked, and this one refuses. The program still ends with 1. Seen twice:
// in the relay trace of the program's calls, and by a window of ours that
// the platform asks whether the session may end.
TEST_F(ProgramTest, ShutdownAndRestartAskToEndTheSession)
{
    ASSERT_TRUE(getenv("SQV_WINE_DEBUG_LOG"));
    TraceSessionCalls(true);
    const struct {
        int button;
        bool shutdown;
    } cases[] = {{IDC_SHUTDOWN, true}, {IDC_RESTART, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shutdown ? "Shutdown" : "Restart");
        PlantPackage();
        size_t traceStart = TraceLength();
        Start(NO_MODULE);
        HWND main = Dialog(MAIN_CAPTION);
        ASSERT_TRUE(main);
        HWND complete = Uninstall(main, PressEnter, COMPLETE_CAPTION);
        ASSERT_TRUE(complete);
        DWORD programId = process.dwProcessId;
        StartSessionWatch(complete);
        ClickButton(complete, c.button);
        const SessionEndRequest &request = WaitForSessionEndRequest(15000);
        EXPECT_TRUE(request.asked) << "nobody asked to end the session";
        EXPECT_FALSE(request.dialogVisibleWhenAsked) << "the completion dialog had not ended";
        EXPECT_EQ(programId, request.requesterId) << request.commandLine;
        EXPECT_NE(std::string::npos, request.commandLine.find("--end-session")) << request.commandLine;
        EXPECT_EQ(c.shutdown, request.commandLine.find("--shutdown") != std::string::npos) << request.commandLine;
        EXPECT_EQ(std::string::npos, request.commandLine.find("--kill")) << request.commandLine;
        EXPECT_EQ(std::string::npos, request.commandLine.find("--force")) << request.commandLine;
        EXPECT_EQ(1u, ExitCode());
        StopSessionWatch();
        // The main dialog ends, then the completion dialog, then the request.
        char exitCall[64];
        snprintf(exitCall, sizeof exitCall, "ExitWindowsEx(%08x,00000000) ", c.shutdown ? EWX_SHUTDOWN : EWX_REBOOT);
        EXPECT_EQ(EndDialogCall(main) + EndDialogCall(complete) + exitCall, SessionCallsTraced(traceStart));
    }
    TraceSessionCalls(false);
}

// With the sample module: German main and completion dialogs, the program's
// own logo in the translated main dialog, and the English About dialog,
// which the module lacks.
TEST_F(ProgramTest, LanguageModuleTranslatesTheDialogsItHolds)
{
    Start(GERMAN_MODULE);
    HWND main = Dialog(GERMAN_MAIN_CAPTION);
    ASSERT_TRUE(main);
    EXPECT_EQ("Abbrechen", WindowText(GetDlgItem(main, IDCANCEL)));
    ExpectProgramsLogo(main);
    SaveScreenshot(main, Screenshot("main-dialog-german.png"));
    ClickButton(main, IDC_ABOUT);
    HWND about = Dialog(ABOUT_CAPTION);
    ASSERT_TRUE(about);
    ExpectControls(about, ABOUT_CONTROLS, true);
    PressKey(about, VK_ESCAPE);
    HWND complete = Uninstall(main, PressEnter, GERMAN_COMPLETE_CAPTION);
    ASSERT_TRUE(complete);
    EXPECT_EQ("Herunterfahren", WindowText(GetDlgItem(complete, IDC_SHUTDOWN)));
    SaveScreenshot(complete, Screenshot("completion-dialog-german.png"));
    ClickButton(complete, IDCANCEL);
    EXPECT_EQ(1u, ExitCode());
    ExpectPackageRemoved();
}

// A file named sqvnls.dll that is no module is passed over: English dialogs.
TEST_F(ProgramTest, FileThatIsNoModuleIsPassedOver)
{
    Start(NOT_A_MODULE);
    HWND main = Dialog(MAIN_CAPTION);
    ASSERT_TRUE(main);
    ExpectControls(main, MAIN_CONTROLS, true);
    ClickButton(main, IDC_ABOUT);
    HWND about = Dialog(ABOUT_CAPTION);
    ASSERT_TRUE(about);
    ExpectControls(about, ABOUT_CONTROLS, true);
    ClickButton(about, IDCANCEL);
    HWND complete = Uninstall(main, PressEnter, COMPLETE_CAPTION);
    ASSERT_TRUE(complete);
    ClickButton(complete, IDCANCEL);
    EXPECT_EQ(1u, ExitCode());
}

// A module's version line with other conversions and 300 characters: only
// 255 are read, only two "%d" and "%%" are expanded, nothing crashes. Its
// main dialog lacks Cancel, which the uninstall then does not disable, and
// its completion dialog cannot be created: the program ends with 1 without it.
TEST_F(ProgramTest, HostileLanguageModuleCannotCrashTheProgram)
{
    Start(HOSTILE_DIALOGS);
    HWND main = Dialog("Hostile main dialog");
    ASSERT_TRUE(main);
    for (int round = 0; round < 2; round++) {
        ClickButton(main, IDC_ABOUT);
        HWND about = Dialog("Hostile About");
        ASSERT_TRUE(about);
        EXPECT_EQ("%s%n 1.11.%d %x % " + std::string(235, 'x'), WindowText(GetDlgItem(about, IDC_VERSION_LINE)));
        PressKey(about, VK_ESCAPE);
        WaitForWindowGone(about);
    }
    PressKey(main, VK_RETURN);
    EXPECT_EQ(1u, ExitCode());
    ExpectPackageRemoved();
}

// A main dialog that cannot be created from the module ends the program with
// -1 at once: no fallback to the program's own template, nothing removed.
TEST_F(ProgramTest, MainDialogThatCannotBeCreatedEndsWithMinusOne)
{
    Start(MAIN_DIALOG_FAILS);
    EXPECT_EQ((DWORD)-1, ExitCode());
    EXPECT_TRUE(PackageStillThere());
}

// An About dialog without the version line comes up and closes as usual.
TEST_F(ProgramTest, AboutDialogWithoutVersionLineStillWorks)
{
    Start(ABOUT_WITHOUT_VERSION);
    HWND main = Dialog(MAIN_CAPTION);
    ASSERT_TRUE(main);
    ClickButton(main, IDC_ABOUT);
    HWND about = Dialog("About without version");
    ASSERT_TRUE(about);
    EXPECT_EQ("No version line here", WindowText(GetDlgItem(about, 1012)));
    ClickButton(about, IDCANCEL);
    WaitForWindowGone(about);
    ClickButton(main, IDCANCEL);
    EXPECT_EQ(1u, ExitCode());
    EXPECT_TRUE(PackageStillThere());
}

} // namespace
