// INF file removal in the prefix's real INF folders.
#include <string>
#include <vector>

#include "../cleanup/inf_removal.h"
#include "../runtime/hardware_id.h"
#include "file_fixture.h"

namespace {

const std::string ID = HARDWARE_ID;

// Text whose hardware ID starts at `offset` of the text as delivered, each
// line before it ended by CR LF (which is delivered as one byte).
std::string IdAtDeliveredOffset(size_t offset)
{
    std::string text;
    size_t delivered = 0;
    while (delivered + 20 <= offset) {
        text += std::string(18, 'x') + "\r\n";
        delivered += 19;
    }
    return text + std::string(offset - delivered, 'y') + ID + "\r\n";
}

struct InfCase {
    const char *name;
    std::string content;
    bool deleted;
};

class InfRemoval : public FileTest {
protected:
    std::string inf = WindowsDirectory() + "\\INF";
    std::string other = inf + "\\OTHER";
    void TearDown() override
    {
        FileTest::TearDown();
        RemovePath(other);
        RemovePath(inf + "\\SQVTEST1.INF");
        RemovePath(inf + "\\SQVTEST2.INF");
    }
};

} // namespace

TEST_F(InfRemoval, DeletesExactlyTheInfFilesThatNameTheHardwareId)
{
    const std::string utf16("[\0V\0E\0N\0_\0", 10);
    const InfCase cases[] = {
        {"FIRST.INF", "[Strings]\r\nHW=\"PCI\\" + ID + "\"\r\n", true},
        {"LOWER.INF", "pci\\ven_5a3c&dev_0c17\r\n", false},
        {"STRADDLE.INF", IdAtDeliveredOffset(1020), true},
        {"LASTBYTES.INF", IdAtDeliveredOffset(2048 - 19), true},
        {"EXACT2048.INF", std::string(2048, 'q'), false},
        {"EMPTY.INF", "", false},
        {"CTRLZ.INF", "[Version]\r\n\x1A" + ID, false},
        {"UTF16.INF", utf16 + std::string("5\0A\0", 4), false},
        {"ZEROFIRST.INF", std::string("a\0", 2) + ID, false},
        {"ZEROBEFORE.INF", std::string(1000, 'a') + std::string(1, '\0') + std::string(23, 'b') + ID, true},
        {"LONGLINE.INF", "; " + std::string(4998, 'l') + "\r\nHW=" + ID + "\r\n", true},
        {"LONELYCR.INF", std::string(3000, '\r') + ID, true},
        {"SQVDRV.TXT", ID, false},
    };
    MakeFolders(other);
    for (const InfCase &c : cases)
        WriteBytes(other + "\\" + c.name, c.content);
    MakeFolders(other + "\\FOLDER.INF");
    WriteBytes(inf + "\\SQVTEST1.INF", ID);
    WriteBytes(inf + "\\SQVTEST2.INF", "nothing");

    RemoveDeviceInfFiles();

    for (const InfCase &c : cases)
        EXPECT_EQ(c.deleted, !FileExists(other + "\\" + c.name)) << c.name;
    EXPECT_TRUE(FolderExists(other + "\\FOLDER.INF"));
    EXPECT_FALSE(FileExists(inf + "\\SQVTEST1.INF"));
    EXPECT_TRUE(FileExists(inf + "\\SQVTEST2.INF"));
    EXPECT_STRCASEEQ(other.c_str(), CurrentDirectory().c_str()) << "INF\\OTHER stays current";
}

TEST_F(InfRemoval, WithoutAnOtherFolderTheInfFolderStaysCurrent)
{
    RemovePath(other);
    WriteBytes(inf + "\\SQVTEST1.INF", ID);
    RemoveDeviceInfFiles();
    EXPECT_FALSE(FileExists(inf + "\\SQVTEST1.INF"));
    EXPECT_STRCASEEQ(inf.c_str(), CurrentDirectory().c_str());
}

// The hardware ID is looked for in the raw bytes first; the answer must be
// the one that 1,024-byte text-mode chunks give, zero bytes included.
TEST_F(InfRemoval, RawSearchAgreesWithTheChunkedSearch)
{
    const std::string zero(1, '\0');
    const std::string crlfLines = IdAtDeliveredOffset(8000); // raw and delivered offsets differ
    const struct {
        const char *what;
        std::string content;
        bool found;
    } cases[] = {
        {"zero byte after the ID", ID + zero, true},
        {"zero byte before it in the same chunk", std::string(10, 'a') + zero + std::string(89, 'b') + ID, false},
        {"zero byte in an earlier chunk", std::string(10, 'a') + zero + std::string(1989, 'b') + ID, true},
        {"zero byte before a straddling ID", std::string(1000, 'a') + zero + std::string(19, 'b') + ID, false},
        {"ID across the 8 KB read buffer", std::string(8185, 'a') + ID, true},
        {"ID across it after CR LF lines", crlfLines + std::string(8192 - (crlfLines.size() % 8192) - 6, 'c') + ID, true},
        {"last read shorter than the ID", std::string(8192 - 12, 'a') + ID, true},
        {"shorter than the ID", "VEN_5A3C", false},
        {"ID cut by a line end", "VEN_5A3C\r\n&DEV_0C17", false},
        {"ID cut by a zero byte", "VEN_5A3C" + zero + "&DEV_0C17", false},
        {"ID after a Ctrl-Z", "abc\x1A" + ID, false},
        // 2,048 bytes with a zero byte: the chunked search, whose third read
        // is empty.
        {"2,048 bytes, zero byte, ID ending the second chunk",
         zero + std::string(2048 - 1 - ID.size(), 'd') + ID, true},
        {"2,048 bytes, zero byte, no ID", zero + std::string(2047, 'd'), false},
        // The raw scan reads 64 KB blocks.
        {"ID across the 64 KB raw block", std::string(65536 - 8, 'a') + ID, true},
        {"ID ending the 64 KB raw block", std::string(65536 - ID.size(), 'a') + ID, true},
        {"ID across the 64 KB raw block after CR LF lines",
         crlfLines + std::string(65536 - crlfLines.size() - 9, 'c') + ID, true},
        // A zero byte or Ctrl-Z in an earlier raw block still counts.
        {"Ctrl-Z in the first raw block, ID in the second", "abc\x1A" + std::string(70000, 'e') + ID, false},
        {"zero byte before the ID in its chunk, in the second raw block",
         std::string(65536 + 10, 'e') + zero + std::string(5, 'e') + ID, false},
    };
    const std::string path = "C:\\rawsearch.tst";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.content);
        EXPECT_EQ(c.found, FileContainsText(path.c_str(), ID.c_str()) == 1);
    }
    RemovePath(path);
}

// The fast search looks at six bytes in every textLength - 5: a text must be
// found wherever it starts, in the first 64 KB block and across the next.
// Six bytes are the shortest text it takes (a look at every byte), seven the
// next (every second byte); five go to the chunked search.
TEST_F(InfRemoval, FindsTheTextAtEveryOffset)
{
    const struct {
        std::string text;
        const char *filler;
    } cases[] = {
        {ID, "VEN_5A3C&DEV_0C1"}, // parts of the ID all around it: most looks compare
        {"&DEV_0", "&"},
        {"&DEV_0C", "&"},
        {"DEV_0", "&"},
    };
    const std::string path = "C:\\offsets.tst";
    std::vector<size_t> offsets;
    for (size_t offset = 0; offset <= 40; offset++)
        offsets.push_back(offset);
    for (size_t offset = 65536 - 20; offset <= 65536 + 3; offset++)
        offsets.push_back(offset);
    for (const auto &c : cases) {
        for (size_t offset : offsets) {
            SCOPED_TRACE(c.text + " at " + std::to_string(offset));
            std::string before;
            while (before.size() < offset)
                before += c.filler;
            before.resize(offset);
            WriteBytes(path, before + c.text + "x");
            EXPECT_EQ(1, FileContainsText(path.c_str(), c.text.c_str()));
            WriteBytes(path, before + c.text.substr(0, c.text.size() - 1) + "x");
            EXPECT_EQ(0, FileContainsText(path.c_str(), c.text.c_str()));
        }
    }
    RemovePath(path);
}

TEST_F(InfRemoval, FileContainsTextSeesOnlyWhatTextReadingDelivers)
{
    const std::string path = "C:\\contains.tst";
    WriteBytes(path, "a\r\nVEN_5A3C&DEV_0C17");
    EXPECT_EQ(1, FileContainsText(path.c_str(), "\nVEN"));
    EXPECT_EQ(0, FileContainsText(path.c_str(), "\r\nVEN"));
    EXPECT_EQ(0, FileContainsText("C:\\missing.tst", "a"));
    RemovePath(path);
}
