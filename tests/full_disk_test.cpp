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

} // namespace

TEST(FullDisk, PrepareFiles)
{
    MakeFolders(WORK);
    WriteBytes(WORK + "\\Autoexec.Bat", BigBatchFile());
    WriteBytes(WindowsDirectory() + "\\WinInit.INI", BigWinInit());
}

TEST(FullDisk, BatchFileStaysAsItWas)
{
    SetCurrentDirectoryA(WORK.c_str());
    StripMarkedLines((WORK + "\\Autoexec.Bat").c_str(), "SQVSYNTH");
    EXPECT_TRUE(BigBatchFile() == ReadBytes(WORK + "\\Autoexec.Bat")) << "the batch file changed";
    EXPECT_FALSE(FileExists(WORK + "\\EraseMe.Now"));
    SetCurrentDirectoryA("C:\\");
    RemovePath(WORK);
}

TEST(FullDisk, WinInitStaysAsItWas)
{
    ScheduleBootFileOps();
    EXPECT_TRUE(BigWinInit() == ReadBytes(WindowsDirectory() + "\\WinInit.INI"))
        << "WinInit.INI changed";
    EXPECT_FALSE(FileExists(WindowsDirectory() + "\\WinInit.SQN"));
    RemovePath(WindowsDirectory() + "\\WinInit.INI");
}
