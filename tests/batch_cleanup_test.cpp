// Startup batch file cleanup on real files in the prefix's drive C.
#include <string>

#include "../cleanup/batch_cleanup.h"
#include "file_fixture.h"

namespace {

const std::string WORK = "C:\\batchtest";
const std::string BATCH = WORK + "\\Autoexec.Bat";
// The new copy and the backup, beside the file.
const std::string TEMPORARY = WORK + "\\Autoexec.SQN";
const std::string BACKUP = WORK + "\\Autoexec.SQO";

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

TEST_F(BatchCleanup, PutsRightWhatAnInterruptedRunLeft)
{
    struct Case {
        const char *what;
        const char *file, *newCopy, *backup; // 0: missing
        const char *after; // 0: no file
    };
    const Case cases[] = {
        {"a cut new copy beside the file", "a\r\nsqvsynth\r\n", "a\r", 0, "a\r\n"},
        {"the file renamed to its backup", 0, "b\r\n", "a\r\nsqvsynth\r\n", "a\r\n"},
        {"the backup's deletion missed", "a\r\n", 0, "a\r\nsqvsynth\r\n", "a\r\n"},
        {"that, and the file deleted since", 0, 0, "a\r\nsqvsynth\r\n", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RemovePath(BATCH);
        if (c.file)
            WriteBytes(BATCH, c.file);
        if (c.newCopy)
            WriteBytes(TEMPORARY, c.newCopy);
        if (c.backup)
            WriteBytes(BACKUP, c.backup);
        EXPECT_EQ(c.after ? 1 : 0, StripMarkedLines(BATCH.c_str(), "SQVSYNTH"));
        EXPECT_EQ(c.after != 0, FileExists(BATCH)) << "an old backup brought back";
        if (c.after)
            EXPECT_EQ(c.after, ReadBytes(BATCH));
        EXPECT_FALSE(FileExists(TEMPORARY));
        EXPECT_FALSE(FileExists(BACKUP));
    }
}

TEST_F(BatchCleanup, LeavesTheFileAloneWhenNoNewCopyCanBeMade)
{
    MakeFolders(TEMPORARY); // a folder in the new copy's place
    WriteBytes(BATCH, "a\nsqvsynth\n");
    EXPECT_EQ(0, StripMarkedLines(BATCH.c_str(), "SQVSYNTH"));
    EXPECT_EQ("a\nsqvsynth\n", ReadBytes(BATCH));
    EXPECT_EQ(0, StripMarkedLines((WORK + "\\missing.bat").c_str(), "SQVSYNTH"));
    EXPECT_FALSE(FileExists(WORK + "\\missing.bat"));
    // A file whose own extension is the new copy's is never its own copy.
    WriteBytes(WORK + "\\odd.SQN", "sqvsynth\n");
    EXPECT_EQ(0, StripMarkedLines((WORK + "\\odd.SQN").c_str(), "SQVSYNTH"));
    EXPECT_EQ("sqvsynth\n", ReadBytes(WORK + "\\odd.SQN"));
}

TEST_F(BatchCleanup, CleansDosStartEvenWithoutAutoexec)
{
    const std::string dosStart = WindowsDirectory() + "\\DosStart.Bat";
    RemovePath("C:\\Autoexec.Bat");
    WriteBytes(dosStart, "SQVSYNTH /X\nMSCDEX\n");
    EXPECT_EQ(1, CleanStartupBatchFiles());
    EXPECT_EQ("MSCDEX\r\n", ReadBytes(dosStart));
    EXPECT_FALSE(FileExists("C:\\Autoexec.Bat"));
    EXPECT_FALSE(FileExists(WindowsDirectory() + "\\DosStart.SQN"));
    RemovePath(dosStart);
}
