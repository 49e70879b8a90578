// The whole uninstall on a prefix that holds the package's files: the filter
// modules' own unregistration, the INF and batch files, and what the next
// start of Windows does with WinInit.INI.
#include <string>
#include <vector>

#include "../cleanup/filter_unregistration.h"
#include "../uninstall/uninstall_sequence.h"
#include "file_fixture.h"
#include "import_patch.h"
#include "package_names.h"
#include "registry_fixture.h"

#include <shellapi.h>

namespace {

// Puts the stand-in filter modules, built beside this program, in the system
// directory.
void PutFilterModulesInSystemDirectory()
{
    for (const char *module : FILTER_MODULES)
        ASSERT_TRUE(CopyFileA((ThisProgramsFolder() + "\\" + module).c_str(),
                              (SystemDirectory() + "\\" + module).c_str(), FALSE))
            << module;
    RemovePath(MARKS_PATH);
}

// RegSvr32.EXE runs in processes of its own and is not waited for.
std::string WaitForBothMarks()
{
    std::string marks;
    for (int tries = 0; tries < 150; tries++) {
        marks = FileExists(MARKS_PATH) ? ReadBytes(MARKS_PATH) : "";
        if (marks.find("sqvvdec.ax") != std::string::npos &&
            marks.find("sqvrendr.ax") != std::string::npos)
            break;
        Sleep(100);
    }
    return marks;
}

void RemoveFilterModules()
{
    for (const char *module : FILTER_MODULES)
        RemovePath(SystemDirectory() + "\\" + module);
    RemovePath(MARKS_PATH);
}

// What the code under test asked of the shell, through this program's own
// import of ShellExecuteA; the real call goes on.
struct ShellRequest {
    std::string file, parameters, directory;
    int show;
};
std::vector<ShellRequest> g_shellRequests;
decltype(&ShellExecuteA) RealShellExecuteA;

HINSTANCE WINAPI RecordShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                     LPCSTR directory, INT show)
{
    g_shellRequests.push_back({file ? file : "", parameters ? parameters : "", directory ? directory : "", show});
    return RealShellExecuteA(window, verb, file, parameters, directory, show);
}

// Every test starts without the files that the uninstall changes, and
// tear-down removes what it made and puts DSOUND.DLL back.
class UninstallFiles : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        dsoundExisted = FileExists(dsound);
        if (dsoundExisted)
            originalDsound = ReadBytes(dsound);
        RemoveStepFiles();
    }
    void TearDown() override
    {
        FileTest::TearDown();
        RemoveCreatedRegistryEntries();
        RemoveFilterModules();
        RemoveStepFiles();
        RemovePath(WindowsDirectory() + "\\SQVFILES");
        RemovePath(WindowsDirectory() + "\\INF\\OTHER");
        RemovePath(SystemDirectory() + "\\MSDSOUND.DLL");
        if (dsoundExisted)
            WriteBytes(dsound, originalDsound);
    }
    static void RemoveStepFiles()
    {
        for (const std::string &path : {WinInitPath(), WindowsDirectory() + "\\DosStart.Bat", std::string("C:\\Autoexec.Bat")})
            RemovePath(path);
    }
    const std::string dsound = SystemDirectory() + "\\DSOUND.DLL";
    bool dsoundExisted = false;
    std::string originalDsound;
};

} // namespace

TEST_F(UninstallFiles, UnregisterFiltersHasBothModulesUnregisterThemselves)
{
    PutFilterModulesInSystemDirectory();
    static bool patched = PatchImport("SHELL32.dll", "ShellExecuteA", (void *)RecordShellExecuteA,
                                      (void **)&RealShellExecuteA);
    ASSERT_TRUE(patched);
    g_shellRequests.clear();
    UnregisterFilters();
    // Hidden, each module path quoted: a system directory may hold blanks.
    ASSERT_EQ(2u, g_shellRequests.size());
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ("RegSvr32.EXE", g_shellRequests[i].file);
        EXPECT_EQ("/u /s \"" + SystemDirectory() + "\\" + FILTER_MODULES[i] + "\"", g_shellRequests[i].parameters);
        EXPECT_EQ(SystemDirectory(), g_shellRequests[i].directory);
        EXPECT_EQ(SW_HIDE, g_shellRequests[i].show);
    }
    std::string marks = WaitForBothMarks();
    EXPECT_NE(std::string::npos, marks.find(SystemDirectory() + "\\sqvvdec.ax")) << marks;
    EXPECT_NE(std::string::npos, marks.find(SystemDirectory() + "\\sqvrendr.ax")) << marks;
}

TEST_F(UninstallFiles, RunUninstallThenTheNextStartLeaveNothingOfThePackage)
{
    const std::string windows = WindowsDirectory(), system = SystemDirectory();
    const std::string inf = windows + "\\INF", other = inf + "\\OTHER";
    const std::string data = windows + "\\SQVFILES";
    const char *const systemFiles[] = {"SQVAUD16.DRV", "SQVKERN.VXD", "SQVNLS.DLL", "SQVPNP.VXD"};
    const char *const dataFiles[] = {"SQVLOCN.TPK", "EARCUES.WAV", "SQVSYNTH.EXE"};

    PutFilterModulesInSystemDirectory();
    for (const char *name : systemFiles)
        WriteBytes(system + "\\" + name, "package file");
    MakeFolders(data);
    for (const char *name : dataFiles)
        WriteBytes(data + "\\" + name, "package file");
    WriteBytes(system + "\\MSDSOUND.DLL", "the system's own sound library");
    RemovePath(windows + "\\WinInit.INI");
    MakeFolders(other);
    WriteBytes(inf + "\\SQVPCI.INF", "[Strings]\r\nHW=PCI\\VEN_5A3C&DEV_0C17\r\n");
    WriteBytes(other + "\\SQV0001.INF", "PCI\\VEN_5A3C&DEV_0C17");
    WriteBytes(other + "\\OTHERCARD.INF", "PCI\\VEN_1234&DEV_0001");
    WriteBytes("C:\\Autoexec.Bat", "@ECHO OFF\r\nC:\\SQV\\SQVSYNTH.EXE /R\r\nPATH C:\\DOS\n");
    WriteBytes(windows + "\\DosStart.Bat", "sqvsynth\r\nMSCDEX /D:X\r\n");
    SetTextValue(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_5A3C&DEV_0C17\\0000", "Driver", "MEDIA\\0000");

    EXPECT_EQ(1, RunUninstall());

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, DEVICE_KEY));
    EXPECT_STRCASEEQ(other.c_str(), CurrentDirectory().c_str());
    EXPECT_FALSE(FileExists("C:\\Autoexec.SQN"));
    EXPECT_FALSE(FileExists(windows + "\\DosStart.SQN"));
    EXPECT_FALSE(FileExists(inf + "\\SQVPCI.INF"));
    EXPECT_FALSE(FileExists(other + "\\SQV0001.INF"));
    EXPECT_TRUE(FileExists(other + "\\OTHERCARD.INF"));
    EXPECT_EQ("@ECHO OFF\r\nPATH C:\\DOS\r\n", ReadBytes("C:\\Autoexec.Bat"));
    EXPECT_EQ("MSCDEX /D:X\r\n", ReadBytes(windows + "\\DosStart.Bat"));
    WaitForBothMarks();
    EXPECT_NE(std::string::npos, ReadBytes(MARKS_PATH).find("sqvrendr.ax"));
    for (const char *module : FILTER_MODULES)
        EXPECT_TRUE(FileExists(system + "\\" + module)) << "deleted only at the next start";

    RunWinebootRestart();

    for (const char *name : systemFiles)
        EXPECT_FALSE(FileExists(system + "\\" + name)) << name;
    for (const char *name : dataFiles)
        EXPECT_FALSE(FileExists(data + "\\" + name)) << name;
    for (const char *module : FILTER_MODULES)
        EXPECT_FALSE(FileExists(system + "\\" + module)) << module;
    EXPECT_EQ("the system's own sound library", ReadBytes(dsound));

}

TEST_F(UninstallFiles, TheBatchFilesNewCopyIsMadeBesideIt)
{
    MakeFolders("C:\\Autoexec.SQN"); // a folder: no file of that name can be made there
    WriteBytes("C:\\Autoexec.Bat", "SQVSYNTH\n");

    RunUninstall();

    EXPECT_EQ("SQVSYNTH\n", ReadBytes("C:\\Autoexec.Bat"));
    RemovePath("C:\\Autoexec.SQN");
}
