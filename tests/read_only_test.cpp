// Read-only files are left exactly as they are: the batch file, an INF file
// naming the card, and WinInit.INI. Run without root's permission override
// (see scripts/test.sh), as Wine as root writes even read-only files.
#include <string>

#include "../cleanup/batch_cleanup.h"
#include "../cleanup/boot_file_ops.h"
#include "../cleanup/inf_removal.h"
#include "file_fixture.h"
#include "package_names.h"

namespace {

class ReadOnlyFile : public FileTest {
protected:
    void TearDown() override
    {
        for (const std::string &path : made)
            RemovePath(path);
        FileTest::TearDown();
    }
    // Writes `bytes` to `path` and makes the file read-only.
    void MakeReadOnly(const std::string &path, const std::string &bytes)
    {
        made.push_back(path);
        WriteBytes(path, bytes);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, OPEN_EXISTING, 0, 0);
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        ASSERT_EQ(INVALID_HANDLE_VALUE, probe)
            << "a read-only file can be written here: run without CAP_DAC_OVERRIDE (scripts/test.sh does)";
    }
    bool IsReadOnly(const std::string &path)
    {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }
    std::vector<std::string> made;
};

TEST_F(ReadOnlyFile, BatchFileStaysAsItWas)
{
    const std::string batch = "@ECHO OFF\r\nC:\\SQV\\SQVSYNTH.EXE /L\r\nPATH C:\\DOS\r\n";
    ASSERT_NO_FATAL_FAILURE(MakeReadOnly("C:\\Autoexec.Bat", batch));
    made.push_back(WindowsDirectory() + "\\DosStart.Bat");
    WriteBytes(WindowsDirectory() + "\\DosStart.Bat", "SQVSYNTH\r\nMOUSE\r\n");
    CleanStartupBatchFiles();
    EXPECT_EQ(batch, ReadBytes("C:\\Autoexec.Bat"));
    EXPECT_TRUE(IsReadOnly("C:\\Autoexec.Bat"));
    EXPECT_EQ("MOUSE\r\n", ReadBytes(WindowsDirectory() + "\\DosStart.Bat")) << "the writable one is cleaned";
    EXPECT_FALSE(FileExists("C:\\Autoexec.SQN"));
    EXPECT_FALSE(FileExists("C:\\Autoexec.SQO"));
}

TEST_F(ReadOnlyFile, InfFileStays)
{
    const std::string other = WindowsDirectory() + "\\INF\\OTHER";
    MakeFolders(other);
    const std::string content = std::string("[Models]\r\nHW=PCI\\") + ID + "\r\n";
    ASSERT_NO_FATAL_FAILURE(MakeReadOnly(other + "\\SQVLOCKED.INF", content));
    made.push_back(other + "\\SQVOPEN.INF");
    WriteBytes(other + "\\SQVOPEN.INF", content);
    RemoveDeviceInfFiles();
    EXPECT_EQ(content, ReadBytes(other + "\\SQVLOCKED.INF"));
    EXPECT_FALSE(FileExists(other + "\\SQVOPEN.INF")) << "the writable one is deleted";
}

TEST_F(ReadOnlyFile, WinInitStaysAsItWas)
{
    const std::string winInit = WindowsDirectory() + "\\WinInit.INI";
    for (const std::string &before : {std::string("[Rename]\r\nA=B\r\n"), std::string("[Rename]\r\nA=B\r\n[Other]\r\n")}) {
        SCOPED_TRACE(before);
        made.push_back(WindowsDirectory() + "\\WinInit.SQN");
        made.push_back(WindowsDirectory() + "\\WinInit.SQO");
        ASSERT_NO_FATAL_FAILURE(MakeReadOnly(winInit, before));
        ScheduleBootFileOps();
        EXPECT_EQ(before, ReadBytes(winInit));
        EXPECT_TRUE(IsReadOnly(winInit));
        EXPECT_FALSE(FileExists(WindowsDirectory() + "\\WinInit.SQN"));
        EXPECT_FALSE(FileExists(WindowsDirectory() + "\\WinInit.SQO"));
        RemovePath(winInit);
    }
}

} // namespace
