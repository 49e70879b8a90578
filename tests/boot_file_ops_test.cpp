// WinInit.INI: the 37 boot-time lines, byte for byte, for a new file and for
// existing ones of every layout; and what the next start of Windows does
// with them (wineboot -r carries out the first [Rename] section).
#include <string>
#include <vector>

#include "../cleanup/boot_file_ops.h"
#include "../cleanup/wininit_layout.h"
#include "file_fixture.h"

namespace {

const std::vector<std::string> SYSTEM_FILES = {
    "SQVAUD16.DRV", "SQVAUD16.VXD", "SQVVDEC.AX",   "SQVRELAY.VXD", "SQVKERN.VXD",
    "SQVKERN3.VXD", "SQVMIXR.VXD",  "SQVRENDR.AX",  "SQVACOU.VXD",  "SQVACOU.VXD",
    "SQVRENDR.AX",  "SQJBUSCT.VXD", "SQJMIXR.DLL",  "SQJSTAT.DLL",  "SQJSTAT.VXD",
    "SQJBOOT.VXD",  "SQVNLS.DLL",   "SQVPNP.VXD"};
const std::vector<std::string> DATA_FILES = {
    "SQVLOCN.TPK",  "SQVCORE.TPK",  "SQVTB.TPK",    "IVORIES.DAT",  "SQVCDC.TPK",
    "SQVACOU.REG",  "SQVVDEC.TPK",  "EARCUES.WAV",  "SQVPRIM.SNB",  "SQVECHO.SNB",
    "SQVPINNA.DAT", "SQVSYNTH.EXE", "SQVROOM.SNB",  "SQVWRAPD.SNB", "SQVPHANT.SNB",
    "SQVTBRM.TPK",  "SQVTBWAV.DAT"};

// The 37 lines as they must reach the file.
std::string BootLines()
{
    std::string lines;
    for (const std::string &name : SYSTEM_FILES)
        lines += "NUL=" + SystemDirectory() + "\\" + name + "\r\n";
    for (const std::string &name : DATA_FILES)
        lines += "NUL=" + WindowsDirectory() + "\\SQVFILES\\" + name + "\r\n";
    lines += "NUL=" + WindowsDirectory() + "\\SQVFILES\r\n";
    lines += SystemDirectory() + "\\DSOUND.DLL=" + SystemDirectory() + "\\MSDSOUND.DLL\r\n";
    return lines;
}

class BootFileOps : public FileTest {
protected:
    void TearDown() override
    {
        FileTest::TearDown();
        RemovePath(WinInitPath());
    }
};

} // namespace

TEST_F(BootFileOps, AddsTheLinesToTheFirstRenameSectionOfEveryLayout)
{
    struct Case {
        const char *what;
        std::string before, after;
    };
    const std::string L = BootLines();
    const std::string NO_FILE = std::string("no file", 8); // with its zero byte: no file's content
    const Case cases[] = {
        {"no file", NO_FILE, "\r\n[Rename]\r\n" + L},
        {"ends in its [Rename] section", "[Rename]\r\nNUL=C:\\A.TMP\r\n",
         "[Rename]\r\nNUL=C:\\A.TMP\r\n" + L},
        {"LF-only lines are kept as they are", "[rename]\nNUL=C:\\A.TMP\n",
         "[rename]\nNUL=C:\\A.TMP\n" + L},
        {"no line end at the end", "[Rename]\r\nNUL=C:\\A.TMP", "[Rename]\r\nNUL=C:\\A.TMP\r\n" + L},
        {"no [Rename] section", "[Other]\r\na=b\r\n", "[Other]\r\na=b\r\n[Rename]\r\n" + L},
        {"empty file", "", "[Rename]\r\n" + L},
        {"cut at the first Ctrl-Z", "[Rename]\r\nA=B\r\n\x1A[Junk]\r\n", "[Rename]\r\nA=B\r\n" + L},
        {"Ctrl-Z right after a line", "[Rename]\r\nA=B\x1A", "[Rename]\r\nA=B\r\n" + L},
        {"another section follows", "  [RENAME] \r\nA=B\r\n[Other]\r\nx=y\r\n\x1Atail",
         "  [RENAME] \r\nA=B\r\n" + L + "[Other]\r\nx=y\r\n\x1Atail"},
        {"a second [Rename] section", "[Rename]\r\n[Other]\r\n[Rename]\r\nC=D\r\n",
         "[Rename]\r\n" + L + "[Other]\r\n[Rename]\r\nC=D\r\n"},
        {"a look-alike header", "[Renamed]\r\n", "[Renamed]\r\n[Rename]\r\n" + L},
    };
    const std::string packageFile = SystemDirectory() + "\\SQVPNP.VXD";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RemovePath(WinInitPath());
        if (c.before != NO_FILE)
            WriteBytes(WinInitPath(), c.before);
        WriteBytes(packageFile, "package file");
        ScheduleBootFileOps();
        EXPECT_EQ(c.after, ReadBytes(WinInitPath()));
        EXPECT_FALSE(FileExists(WindowsDirectory() + "\\WinInit.SQN"));
        EXPECT_FALSE(FileExists(WindowsDirectory() + "\\WinInit.SQO"));

        // The next start of Windows really carries the lines out.
        RunWinebootRestart();
        EXPECT_FALSE(FileExists(packageFile));
    }
    RemovePath(packageFile);
}

TEST_F(BootFileOps, ASecondRunAppendsTheLinesAgain)
{
    RemovePath(WinInitPath());
    ScheduleBootFileOps();
    ScheduleBootFileOps();
    EXPECT_EQ("\r\n[Rename]\r\n" + BootLines() + BootLines(), ReadBytes(WinInitPath()));
}

TEST_F(BootFileOps, TheNextStartOfWindowsRemovesTheFilesAndReplacesDsound)
{
    const std::string system = SystemDirectory(), data = WindowsDirectory() + "\\SQVFILES";
    const std::string dsound = system + "\\DSOUND.DLL";
    const bool hadDsound = FileExists(dsound);
    const std::string originalDsound = hadDsound ? ReadBytes(dsound) : "";
    MakeFolders(data);
    for (const std::string &name : SYSTEM_FILES)
        WriteBytes(system + "\\" + name, "package file");
    for (const std::string &name : DATA_FILES)
        WriteBytes(data + "\\" + name, "package file");
    WriteBytes(system + "\\MSDSOUND.DLL", "the system's own sound library");
    // An existing file whose [Rename] section is followed by another one.
    WriteBytes(WinInitPath(), "[Rename]\r\n[CombineVxDs]\r\n");

    ScheduleBootFileOps();
    RunWinebootRestart();

    for (const std::string &name : SYSTEM_FILES)
        EXPECT_FALSE(FileExists(system + "\\" + name)) << name;
    for (const std::string &name : DATA_FILES)
        EXPECT_FALSE(FileExists(data + "\\" + name)) << name;
    // Wine's boot-time processing deletes only files: the emptied folder
    // named by the last NUL= line stays under Wine.
    EXPECT_EQ("the system's own sound library", ReadBytes(dsound));
    EXPECT_FALSE(FileExists(system + "\\MSDSOUND.DLL"));

    if (hadDsound)
        WriteBytes(dsound, originalDsound);
    RemovePath(data);
}

// The layout scan alone, on a table of files: where the first [Rename]
// section ends, whether the file ends with a line break, and its Ctrl-Z.
TEST_F(BootFileOps, LayoutScanFindsTheEndOfTheFirstRenameSection)
{
    const DWORD NONE = NO_INSERT_POINT;
    const struct {
        const char *what;
        std::string content;
        DWORD keptLength;
        int hasCtrlZ, endsWithLineFeed, hasRename;
        DWORD insertAt;
    } cases[] = {
        // what                              content                             kept ^Z LF [R] insert
        {"empty", "", 0, 0, 0, 0, NONE},
        {"[Rename] last", "[Rename]\r\nA=B\r\n", 15, 0, 1, 1, NONE},
        {"another section after it", "[Rename]\r\nA=B\r\n[Other]\r\n", 24, 0, 1, 1, 15},
        {"blanks and any case", "  [rEnAmE] \r\n\t[x]\n", 18, 0, 1, 1, 13},
        {"only other sections", "[Other]\r\nX=1", 12, 0, 0, 0, NONE},
        {"Ctrl-Z ends it", "[Rename]\r\n\x1A[Other]\r\n", 10, 1, 1, 1, NONE},
        {"a [Rename] line with text after it", "[Rename] x\r\n[Other]\r\n", 21, 0, 1, 0, NONE},
        {"a second [Rename] ends the first", "[Rename]\n[RENAME]\n", 18, 0, 1, 1, 9},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(WinInitPath(), c.content);
        TextFile file;
        ASSERT_EQ(1, OpenTextFile(&file, WinInitPath().c_str(), 'r'));
        LineBuffer block;
        WinInitLayout layout;
        EXPECT_EQ(1, ScanWinInitLayout(&file, block, &layout));
        CloseTextFile(&file);
        EXPECT_EQ(c.keptLength, layout.keptLength);
        EXPECT_EQ(c.hasCtrlZ, layout.hasCtrlZ);
        EXPECT_EQ(c.endsWithLineFeed, layout.endsWithLineFeed);
        EXPECT_EQ(c.hasRename, layout.hasRename);
        EXPECT_EQ(c.insertAt, layout.insertAt);
    }
}

// What an earlier run left, put right before the lines are added: the old
// file comes back from its backup only when the stop came between the two
// renames (its new copy still there); a backup alone is what a finished run
// left when only its deletion failed, and Windows may have carried out and
// removed WinInit.INI since: its old lines must not come back.
TEST_F(BootFileOps, PutsRightWhatAnInterruptedRunLeft)
{
    const std::string L = BootLines(), OLD = "[Rename]\r\nNUL=C:\\OLD.TMP\r\n";
    const std::string newCopy = WindowsDirectory() + "\\WinInit.SQN", backup = WindowsDirectory() + "\\WinInit.SQO";
    const struct {
        const char *what;
        const char *file, *newCopy, *backup; // 0: missing
        std::string after;
    } cases[] = {
        {"stopped between the two renames", 0, "[Rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=", OLD.c_str(), OLD + L},
        {"a cut new copy beside the file", OLD.c_str(), "[Ren", 0, OLD + L},
        {"a backup left beside the new file", "[Rename]\r\n", 0, OLD.c_str(), "[Rename]\r\n" + L},
        {"a backup left, the file carried out since", 0, 0, OLD.c_str(), "\r\n[Rename]\r\n" + L},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string &path : {WinInitPath(), newCopy, backup})
            RemovePath(path);
        if (c.file)
            WriteBytes(WinInitPath(), c.file);
        if (c.newCopy)
            WriteBytes(newCopy, c.newCopy);
        if (c.backup)
            WriteBytes(backup, c.backup);
        ScheduleBootFileOps();
        EXPECT_EQ(c.after, ReadBytes(WinInitPath()));
        EXPECT_FALSE(FileExists(newCopy));
        EXPECT_FALSE(FileExists(backup));
    }
}
