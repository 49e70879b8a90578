// The text-file rules on real files: what reading delivers and what writing
// stores, byte for byte.
#include <cstring>
#include <string>
#include <vector>

#include "../runtime/text_file.h"
#include "file_fixture.h"

namespace {

const std::string PATH = "C:\\textfile.tst";

std::string ReadAllAsText(const std::string &path)
{
    TextFile file;
    EXPECT_EQ(1, OpenTextFile(&file, path.c_str(), 'r'));
    std::string text;
    for (int c; (c = ReadTextChar(&file)) >= 0;)
        text += (char)c;
    EXPECT_EQ(-1, ReadTextChar(&file)) << "the end stays the end";
    EXPECT_EQ(1, CloseTextFile(&file));
    return text;
}

} // namespace

using TextFileRules = FileTest;

TEST_F(TextFileRules, ReadingTurnsCrLfIntoLfAndEndsAtTheFirstCtrlZ)
{
    struct Case {
        std::string stored, delivered;
    };
    const std::string crAtBufferEnd = std::string(TEXT_FILE_BUFFER_SIZE - 1, 'a') + "\r\nb";
    const Case cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"lone\rcr\r", "lone\rcr\r"},
        {"\r\r\n\n", "\r\n\n"},
        {"text\x1Amore\r\n", "text"},
        {"cr before\r\x1A", "cr before\r"},
        {std::string("zero\0byte\xFF\x80", 11), std::string("zero\0byte\xFF\x80", 11)},
        {"", ""},
        {crAtBufferEnd, std::string(TEXT_FILE_BUFFER_SIZE - 1, 'a') + "\nb"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored.substr(0, 40)));
        WriteBytes(PATH, c.stored);
        EXPECT_EQ(c.delivered, ReadAllAsText(PATH));

        // Block reads deliver the same, whatever the block size.
        TextFile file;
        ASSERT_EQ(1, OpenTextFile(&file, PATH.c_str(), 'r'));
        std::string blocks;
        char block[7];
        unsigned got;
        while ((got = ReadTextBlock(&file, block, sizeof block)) > 0)
            blocks.append(block, got);
        CloseTextFile(&file);
        EXPECT_EQ(c.delivered, blocks);
    }
    RemovePath(PATH);
}

TEST_F(TextFileRules, WritingStoresLfAsCrLfAndAppendingGoesAfterTheLastByte)
{
    TextFile file;
    ASSERT_EQ(1, OpenTextFile(&file, PATH.c_str(), 'w'));
    WriteText(&file, "one\ntwo\r\n", 9);
    WriteRaw(&file, "raw\n\x1A", 5);
    EXPECT_EQ(1, CloseTextFile(&file));
    EXPECT_EQ("one\r\ntwo\r\r\nraw\n\x1A", ReadBytes(PATH));

    ASSERT_EQ(1, OpenTextFile(&file, PATH.c_str(), 'a'));
    WriteText(&file, "end\n", 4);
    EXPECT_EQ(1, CloseTextFile(&file));
    EXPECT_EQ("one\r\ntwo\r\r\nraw\n\x1A" "end\r\n", ReadBytes(PATH));

    ASSERT_EQ(1, OpenTextFile(&file, PATH.c_str(), 'w'));
    EXPECT_EQ(1, CloseTextFile(&file));
    EXPECT_EQ("", ReadBytes(PATH)) << "'w' empties the file";
    RemovePath(PATH);
}

TEST_F(TextFileRules, MissingFilesAndFoldersDoNotOpenForReading)
{
    TextFile file;
    EXPECT_EQ(0, OpenTextFile(&file, "C:\\no such file.txt", 'r'));
    EXPECT_EQ(0, OpenTextFile(&file, "C:\\windows", 'r'));
    EXPECT_FALSE(FileExists("C:\\no such file.txt"));
}

// Lines as the batch cleanup reads them: each with its LF, a line too long
// for the 1,024-byte buffer in pieces, the buffer never written past.
TEST_F(TextFileRules, ReadTextLineDeliversLinesAndPiecesOfLongOnes)
{
    struct Piece {
        std::string text;
        int whole;
    };
    const std::string a1022(1022, 'a'), a1023(1023, 'a'), a1024(1024, 'a');
    const struct {
        const char *what;
        std::string stored;
        std::vector<Piece> pieces;
    } cases[] = {
        {"CR LF and LF lines", "one\r\ntwo\nthree", {{"one\n", 1}, {"two\n", 1}, {"three", 1}}},
        {"1,022 characters and LF fill the buffer", a1022 + "\r\nb", {{a1022 + "\n", 1}, {"b", 1}}},
        {"1,023 characters and LF come in two pieces", a1023 + "\r\n", {{a1023, 0}, {"\n", 1}}},
        {"1,023 characters at the end fit", a1023, {{a1023, 1}}},
        {"1,024 characters at the end come in two pieces", a1024, {{a1023, 0}, {"a", 1}}},
        {"zero bytes stay in the line", std::string("a\0b\n", 4), {{std::string("a\0b\n", 4), 1}}},
        {"an empty file has no line", "", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(PATH, c.stored);
        TextFile file;
        ASSERT_EQ(1, OpenTextFile(&file, PATH.c_str(), 'r'));
        LineBuffer line;
        const char SENTINEL = (char)0xBD;
        for (const Piece &want : c.pieces) {
            memset(line, SENTINEL, sizeof line);
            unsigned length = 0;
            int whole = -1;
            ASSERT_EQ(1, ReadTextLine(&file, line, &length, &whole));
            EXPECT_EQ(want.text, std::string(line, length));
            EXPECT_EQ(0, line[length]) << "the piece is zero-terminated";
            EXPECT_EQ(want.whole, whole);
        }
        unsigned length;
        int whole;
        EXPECT_EQ(0, ReadTextLine(&file, line, &length, &whole)) << "no further line";
        CloseTextFile(&file);
    }
    RemovePath(PATH);
}
