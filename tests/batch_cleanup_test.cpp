// Startup batch file cleanup on real files in the prefix's drive C.
#include <string>

#include "../cleanup/batch_cleanup.h"
#include "file_fixture.h"

namespace {

const std::string WORK = "C:\\batchtest";
const std::string BATCH = WORK + "\\Autoexec.Bat";
const std::string TEMPORARY = WORK + "\\EraseMe.Now";

class BatchCleanup : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        RemovePath(WORK);
        MakeFolders(WORK);
        SetCurrentDirectoryA(WORK.c_str());
    }
    void TearDown() override
    {
        FileTest::TearDown();
        RemovePath(WORK);
    }
};

} // namespace

TEST_F(BatchCleanup, RewritesTheFileWithoutItsMarkedLines)
{
    struct Case {
        const char *what;
        std::string before, after;
    };
    const std::string longMarked = "REM " + std::string(1500, 'x') + " sqvsynth\r\n";
    const std::string exactlyFull = std::string(1022, 'y') + "\r\n";
    const std::string longLast = std::string(1023, 'z') + "SQVSYNTH";
    const std::string longest = "SQVSYNTH" + std::string(4992, 'w') + "\r\n"; // 5,000 characters
    const Case cases[] = {
        {"marked lines in any case",
         "@ECHO OFF\r\nC:\\SQV\\SQVSYNTH.EXE /L\r\nPATH C:\\DOS\r\nsqvSynth\r\nLH SQVSYNTHX\r\n",
         "@ECHO OFF\r\nPATH C:\\DOS\r\n"},
        {"marked last line without line end", "PATH C:\\DOS\r\nsqvsynth", "PATH C:\\DOS\r\n"},
        {"LF only becomes CR LF", "a\nb\r\nc\n", "a\r\nb\r\nc\r\n"},
        {"Ctrl-Z and what follows are gone", "a\r\n\x1AREM sqv\r\n", "a\r\n"},
        {"unmarked last line without line end", "a\r\nb", "a\r\nb"},
        {"empty file", "", ""},
        {"lone CR stays", "a\rb\r\nSQVSYNTH\r\n", "a\rb\r\n"},
        {"zero byte does not cut a line", std::string("a\0b\r\nc\0SQVSYNTH\r\n", 16),
         std::string("a\0b\r\n", 5)},
        {"a long line is kept whole", longMarked + "sqvsynth\r\n", longMarked},
        {"a line that fills the buffer", exactlyFull + "SQVSYNTH\r\n", exactlyFull},
        {"a long last line without line end", longLast, longLast},
        {"a 5,000-character line between marked ones", "SQVSYNTH 1\r\n" + longest + "SQVSYNTH 2\r\nend\r\n",
         longest + "end\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(BATCH, c.before);
        EXPECT_EQ(1, StripMarkedLines(BATCH.c_str(), "SQVSYNTH"));
        EXPECT_EQ(c.after, ReadBytes(BATCH));
        EXPECT_FALSE(FileExists(TEMPORARY));
    }
}

TEST_F(BatchCleanup, UsesAnExistingTemporaryFileAndLeavesNoneBehind)
{
    WriteBytes(TEMPORARY, "old temporary content\r\n");
    WriteBytes(BATCH, "a\r\nsqvsynth\r\n");
    EXPECT_EQ(1, StripMarkedLines(BATCH.c_str(), "SQVSYNTH"));
    EXPECT_EQ("a\r\n", ReadBytes(BATCH));
    EXPECT_FALSE(FileExists(TEMPORARY));
}

TEST_F(BatchCleanup, LeavesTheFileAloneWhenNoTemporaryFileCanBeMade)
{
    MakeFolders(TEMPORARY); // a folder in the temporary file's place
    WriteBytes(BATCH, "a\nsqvsynth\n");
    EXPECT_EQ(0, StripMarkedLines(BATCH.c_str(), "SQVSYNTH"));
    EXPECT_EQ("a\nsqvsynth\n", ReadBytes(BATCH));
    EXPECT_EQ(0, StripMarkedLines((WORK + "\\missing.bat").c_str(), "SQVSYNTH"));
    EXPECT_FALSE(FileExists(WORK + "\\missing.bat"));
}

TEST_F(BatchCleanup, CleansDosStartEvenWithoutAutoexec)
{
    const std::string dosStart = WindowsDirectory() + "\\DosStart.Bat";
    RemovePath("C:\\Autoexec.Bat");
    WriteBytes(dosStart, "SQVSYNTH /X\nMSCDEX\n");
    EXPECT_EQ(1, CleanStartupBatchFiles());
    EXPECT_EQ("MSCDEX\r\n", ReadBytes(dosStart));
    EXPECT_FALSE(FileExists("C:\\Autoexec.Bat"));
    EXPECT_FALSE(FileExists(TEMPORARY));
    RemovePath(dosStart);
}
