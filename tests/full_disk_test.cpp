// A full disk while files are rewritten. The files are made by the Prepare
// test; the other tests run with the file size limited (see CMakeLists.txt),
// so that every write past the limit fails as on a full disk.
#include <string>

#include "../cleanup/batch_cleanup.h"
#include "../cleanup/boot_file_ops.h"
#include "file_fixture.h"

namespace {

const std::string WORK = "C:\\fulldisk";

// 64 KB of lines, far past the limit once written back.
std::string BigBatchFile()
{
    std::string text;
    for (int line = 0; text.size() < 65536; line++)
        text += (line % 7 == 0 ? "LH SQVSYNTH " : "SET VAR=") + std::to_string(line) + "\n";
    return text;
}

std::string BigWinInit()
{
    return "[Rename]\r\nNUL=C:\\OLD.TMP\r\n[Other]\r\n" + std::string(65536, 'x') + "\r\n";
}

// Its [Rename] section last, a few hundred bytes short of the limit: the
// appended lines would cross it.
std::string NearlyFullWinInit()
{
    std::string text = "[Rename]\r\n";
    for (int line = 0; text.size() < 16 * 1024 - 400; line++)
        text += "NUL=C:\\OTHER\\FILE" + std::to_string(line) + ".TMP\r\n";
    return text;
}

} // namespace

TEST(FullDisk, PrepareFiles)
{
    MakeFolders(WORK);
    WriteBytes(WORK + "\\Autoexec.Bat", BigBatchFile());
    WriteBytes(WORK + "\\Big.INI", BigWinInit());
    WriteBytes(WORK + "\\Nearly.INI", NearlyFullWinInit());
}

TEST(FullDisk, BatchFileStaysAsItWas)
{
    SetCurrentDirectoryA(WORK.c_str());
    StripMarkedLines((WORK + "\\Autoexec.Bat").c_str(), "SQVSYNTH");
    EXPECT_TRUE(SameBytes(BigBatchFile(), ReadBytes(WORK + "\\Autoexec.Bat"))) << "the batch file changed";
    EXPECT_FALSE(FileExists(WORK + "\\Autoexec.SQN"));
    SetCurrentDirectoryA("C:\\");
}

// Rewritten (its [Rename] section is not the last) and appended to: either
// way all lines or none, never a cut line.
TEST(FullDisk, WinInitStaysAsItWas)
{
    const std::pair<const char *, std::string> files[] = {{"Big.INI", BigWinInit()},
                                                          {"Nearly.INI", NearlyFullWinInit()}};
    for (const auto &file : files) {
        SCOPED_TRACE(file.first);
        const std::string &before = file.second;
        // Renamed into place: writing it would cross the limit.
        RemovePath(WinInitPath());
        ASSERT_TRUE(MoveFileA((WORK + "\\" + file.first).c_str(), WinInitPath().c_str()));
        ScheduleBootFileOps();
        EXPECT_TRUE(SameBytes(before, ReadBytes(WinInitPath()))) << "WinInit.INI changed";
        EXPECT_FALSE(FileExists(WindowsDirectory() + "\\WinInit.SQN"));
    }
    RemovePath(WinInitPath());
    RemovePath(WORK);
}
