// The whole system on the sample machine: sqvunins.exe run from end to end
// by the dialog driver, the registry compared key by key and value by value
// before and after, every file compared byte for byte, and the next start of
// Windows carried out. The tests run in this order, in one process: each
// builds on the state the one before left.
#include <algorithm>
#include <string>
#include <vector>

#include "../resources/resource_ids.h"
#include "file_fixture.h"
#include "package_names.h"
#include "sample_machine.h"
#include "ui_driver.h"

namespace {

// The user starts the program, presses Enter, and closes the completion
// dialog with Cancel.
void RunProgramToTheEnd()
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartProgramIn("C:\\sqvunins-system", "", process));
    HWND main = WaitForDialog(process.dwProcessId, MAIN_CAPTION);
    EXPECT_TRUE(main);
    PressKey(main, VK_RETURN);
    HWND complete = WaitForDialog(process.dwProcessId, COMPLETE_CAPTION);
    EXPECT_TRUE(complete);
    ClickButton(complete, IDCANCEL);
    EXPECT_EQ(1u, WaitForExitCode(process));
}

// Each RegSvr32.EXE run is a process of its own that nobody waits for.
std::string WaitForMarks(size_t lines)
{
    std::string marks;
    for (int tries = 0; tries < 250; tries++) {
        marks = FileExists(MARKS_PATH) ? ReadBytes(MARKS_PATH) : "";
        if ((size_t)std::count(marks.begin(), marks.end(), '\n') >= lines)
            break;
        Sleep(40);
    }
    Sleep(200); // and no more come
    return FileExists(MARKS_PATH) ? ReadBytes(MARKS_PATH) : "";
}

std::string Joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    return text;
}

std::string Expected(const char *name) { return ReadBytes(SampleFolder() + "\\expected\\" + name); }

std::string BaseName(const std::string &path) { return path.substr(path.rfind('\\') + 1); }

// The run's Windows, as every program started in it sees it: Windows 95,
// 98 or Me (tests/in-windows-version.sh).
TEST(SampleMachine, PlatformReportsTheWindowsUnderTest)
{
    struct Windows {
        const char *name;
        unsigned major, minor;
    };
    const Windows versions[] = {{"win95", 4, 0}, {"win98", 4, 10}, {"winme", 4, 90}};
    char name[16] = "win95";
    GetEnvironmentVariableA("SQV_WINDOWS_VERSION", name, sizeof name);
    const Windows *want = nullptr;
    for (const Windows &windows : versions)
        if (std::string(windows.name) == name)
            want = &windows;
    ASSERT_TRUE(want) << "unknown Windows " << name;
    DWORD version = GetVersion();
    EXPECT_TRUE(version & 0x80000000) << "not a Windows 9x";
    EXPECT_EQ(want->major, LOBYTE(LOWORD(version)));
    EXPECT_EQ(want->minor, HIBYTE(LOWORD(version)));
}

RegistrySnapshot g_withNeighbours, g_withPackage, g_afterUninstall;
std::vector<std::pair<std::string, std::string>> g_files;

TEST(SampleMachine, RunOnACleanPrefixChangesNothingButWinInit)
{
    ASSERT_FALSE(SampleFolder().empty()) << "SQV_SAMPLE_DIR is not set";
    for (const std::string &path : {WinInitPath(), std::string("C:\\Autoexec.Bat"),
                                     WindowsDirectory() + "\\DosStart.Bat", std::string(MARKS_PATH)})
        RemovePath(path);
    RegistrySnapshot before = TakeRegistrySnapshot();
    RunProgramToTheEnd();
    RegistryDifference difference = CompareSnapshots(before, TakeRegistrySnapshot());
    EXPECT_EQ("", Joined(difference.removed));
    EXPECT_EQ("", Joined(difference.added));
    EXPECT_EQ("", Joined(difference.changed));
    EXPECT_EQ(Expected("WININIT.INI"), ReadBytes(WinInitPath()));
    EXPECT_FALSE(FileExists("C:\\Autoexec.Bat"));
    EXPECT_FALSE(FileExists(WindowsDirectory() + "\\DosStart.Bat"));
    RemovePath(WinInitPath());
}

TEST(SampleMachine, InstallsWithEveryPackageEntry)
{
    ASSERT_TRUE(ImportRegFile(SampleFolder() + "\\neighbours.reg"));
    g_withNeighbours = TakeRegistrySnapshot();
    ASSERT_TRUE(ImportRegFile(SampleFolder() + "\\package.reg"));
    ASSERT_TRUE(InstallFilterModules(ThisProgramsFolder()));
    g_files = CopySampleFiles();
    g_withPackage = TakeRegistrySnapshot();
    RegistryDifference installed = CompareSnapshots(g_withNeighbours, g_withPackage);
    EXPECT_EQ("", Joined(installed.removed));
    EXPECT_EQ("", Joined(installed.changed));
    // Every value of the package is new; its keys are new or were there already.
    for (const std::string &entry : EntriesOfRegFile(SampleFolder() + "\\package.reg"))
        EXPECT_TRUE(entry.find('\t') == std::string::npos
                        ? g_withPackage.count(entry) != 0
                        : std::find(installed.added.begin(), installed.added.end(), entry) != installed.added.end())
            << entry << " was not installed";
    // The filter modules' own registration wrote their class keys.
    for (const char *clsid : {"{6C1D2A95-4E3B-11D0-8E47-5A2F0C6B7D10}", "{2E94B7C3-51A8-11D0-9D06-3B7E41F2A085}"})
        for (const char *root : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\CLSID\\", "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\FILTER\\"})
            EXPECT_TRUE(g_withPackage.count(root + std::string(clsid))) << root << clsid;
}

// Exactly the package's entries leave the registry: the registry is again
// what it was before the package came, key by key and value by value.
TEST(SampleMachine, UninstallRemovesThePackageAndNothingElse)
{
    RemovePath(MARKS_PATH);
    RunProgramToTheEnd();
    g_afterUninstall = TakeRegistrySnapshot();
    RegistryDifference left = CompareSnapshots(g_withNeighbours, g_afterUninstall);
    EXPECT_EQ("", Joined(left.removed)) << "entries of other software removed";
    EXPECT_EQ("", Joined(left.added)) << "entries of the package left";
    EXPECT_EQ("", Joined(left.changed)) << "entries changed";

    // Files before the next start: the batch files without their marked
    // lines, the two INF files of the card gone, everything else as it was.
    for (const auto &file : g_files) {
        SCOPED_TRACE(file.second);
        SampleFileKind kind = ClassifySampleFile(file.first);
        if (kind == BATCH_FILE)
            EXPECT_EQ(Expected(BaseName(file.first).c_str()), ReadBytes(file.second));
        else if (kind == INF_NAMING_THE_CARD)
            EXPECT_FALSE(FileExists(file.second));
        else
            EXPECT_EQ(ReadBytes(file.first), ReadBytes(file.second));
    }
    EXPECT_EQ(Expected("WININIT.INI"), ReadBytes(WinInitPath()));
    for (const std::string &temporary : {std::string("C:\\Autoexec.SQN"), std::string("C:\\Autoexec.SQO"),
                                         WindowsDirectory() + "\\DosStart.SQN", WindowsDirectory() + "\\DosStart.SQO",
                                         WindowsDirectory() + "\\WinInit.SQN", WindowsDirectory() + "\\WinInit.SQO"})
        EXPECT_FALSE(FileExists(temporary)) << temporary;
    // Both filter modules were asked to unregister, in place, in any order:
    // the two RegSvr32.EXE processes run side by side.
    std::string marks = WaitForMarks(2);
    std::string vdec = SystemDirectory() + "\\sqvvdec.ax\r\n", rendr = SystemDirectory() + "\\sqvrendr.ax\r\n";
    EXPECT_TRUE(marks == vdec + rendr || marks == rendr + vdec) << marks;
}

// A second run before the restart finds nothing more to remove and appends
// the boot-time lines once more.
TEST(SampleMachine, SecondRunBeforeTheRestartOnlyAppendsTheLinesAgain)
{
    std::string autoexec = ReadBytes("C:\\Autoexec.Bat");
    RemovePath(MARKS_PATH);
    RunProgramToTheEnd();
    RegistryDifference difference = CompareSnapshots(g_afterUninstall, TakeRegistrySnapshot());
    EXPECT_EQ("", Joined(difference.removed));
    EXPECT_EQ("", Joined(difference.added));
    EXPECT_EQ("", Joined(difference.changed));
    std::string lines = Expected("WININIT.INI").substr(std::string("\r\n[Rename]\r\n").size());
    EXPECT_EQ(Expected("WININIT.INI") + lines, ReadBytes(WinInitPath()));
    EXPECT_EQ(autoexec, ReadBytes("C:\\Autoexec.Bat"));
    WaitForMarks(2);
}

// The next start of Windows deletes the package's files and puts
// MSDSOUND.DLL in the place of DSOUND.DLL; every other file stays.
TEST(SampleMachine, NextStartOfWindowsDeletesThePackagesFiles)
{
    RunWinebootRestart();
    for (const auto &file : g_files) {
        SCOPED_TRACE(file.second);
        SampleFileKind kind = ClassifySampleFile(file.first);
        if (kind == REPLACEMENT_OF_DSOUND) {
            EXPECT_FALSE(FileExists(file.second));
            EXPECT_EQ(ReadBytes(file.first), ReadBytes(SystemDirectory() + "\\DSOUND.DLL"));
        } else if (kind == PACKAGE_FILE || kind == INF_NAMING_THE_CARD) {
            EXPECT_FALSE(FileExists(file.second));
        } else if (kind == OTHER_FILE) {
            EXPECT_EQ(ReadBytes(file.first), ReadBytes(file.second));
        }
    }
    for (const char *module : FILTER_MODULES)
        EXPECT_FALSE(FileExists(SystemDirectory() + "\\" + module));
}

} // namespace
