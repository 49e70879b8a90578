// The program's own text helpers, tested where they stand, in buffers filled
// with a sentinel so that a byte written past the end shows.
#include <string>

#include <gtest/gtest.h>

#include "../runtime/text.h"

namespace {

const char SENTINEL = (char)0xBD;

// A buffer of `size` bytes followed by guard bytes, all sentinels.
struct GuardedBuffer {
    explicit GuardedBuffer(unsigned size) : size(size), bytes(size + 8, SENTINEL) {}
    char *data() { return &bytes[0]; }
    bool GuardIntact() const { return bytes.find_first_not_of(SENTINEL, size) == std::string::npos; }
    unsigned size;
    std::string bytes;
};

} // namespace

TEST(TextHelpers, FormatTextFitsTheResultAndItsZeroOrLeavesTheEmptyText)
{
    const std::string s126(126, 'p'), s127(127, 'p'), s128(128, 'p');
    const struct {
        const char *what;
        unsigned size;
        const char *format;
        std::string argument;
        int fits;
        std::string result;
    } cases[] = {
        // what                               size format    argument fits result
        {"127 bytes in 128", 128, "%s", s127, 1, s127},
        {"128 bytes in 128: no room for the zero", 128, "%s", s128, 0, ""},
        {"126 and one more byte in 128", 128, "%sx", s126, 1, s126 + "x"},
        {"127 and one more byte in 128", 128, "%sx", s127, 0, ""},
        {"%% is one percent sign", 8, "a%%b", "", 1, "a%b"},
        {"a trailing % is copied", 8, "ab%", "", 1, "ab%"},
        {"other conversions are copied", 16, "%d %n %s", "x", 1, "%d %n x"},
        {"the empty text in a buffer of one", 1, "", "", 1, ""},
        {"one byte in a buffer of one", 1, "a", "", 0, ""},
        {"a buffer of none", 0, "", "", 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        GuardedBuffer buffer(c.size);
        EXPECT_EQ(c.fits, FormatText(buffer.data(), c.size, c.format, c.argument.c_str()));
        if (c.size > 0)
            EXPECT_EQ(c.result, std::string(buffer.data()));
        EXPECT_TRUE(buffer.GuardIntact()) << "written past the buffer";
    }
}

TEST(TextHelpers, SearchBytesLooksAtExactlyTheBytesItIsGiven)
{
    const std::string zero(1, '\0');
    const struct {
        const char *what;
        std::string bytes;
        unsigned count;
        const char *wanted;
        int at; // -1: not found
    } cases[] = {
        {"at the start", "abcabc", 6, "abc", 0},
        {"at the very end", "xxabc", 5, "abc", 2},
        {"across the count", "xxabc", 4, "abc", -1},
        {"behind zero bytes", "a" + zero + "b" + zero + "abc", 7, "abc", 4},
        {"case matters", "ABC", 3, "abc", -1},
        {"longer than the bytes", "ab", 2, "abc", -1},
        {"empty wanted", "ab", 2, "", 0},
        {"bytes 0x80 to 0xFF", "\x80\xFF\xFE", 3, "\xFF\xFE", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const char *found = SearchBytes(c.bytes.data(), c.count, c.wanted);
        EXPECT_EQ(c.at, found ? (int)(found - c.bytes.data()) : -1);
    }
}

TEST(TextHelpers, SearchTextEndsAtTheFirstZeroByte)
{
    const std::string zero(1, '\0');
    const struct {
        std::string text;
        const char *wanted;
        int at;
    } cases[] = {
        {"xxSQVSYNTH", "SQVSYNTH", 2},
        {"xx" + zero + "SQVSYNTH", "SQVSYNTH", -1},
        {"SQVSYNT", "SQVSYNTH", -1},
        {"", "", 0},
        {"abc", "", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const char *found = SearchText(c.text.c_str(), c.wanted);
        EXPECT_EQ(c.at, found ? (int)(found - c.text.c_str()) : -1);
    }
}

TEST(TextHelpers, UpperCasingChangesOnlyTheLettersAToZ)
{
    std::string all;
    for (int byte = 1; byte < 256; byte++)
        all += (char)byte;
    std::string expected = all;
    for (char &c : expected)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    std::string bytes = all + SENTINEL;
    UpperCaseBytes(&bytes[0], (unsigned)all.size());
    EXPECT_EQ(expected + SENTINEL, bytes);

    std::string text = "mixed Case 123 \xE4\xF6\xFC" + std::string(1, '\0') + "after";
    UpperCaseText(&text[0]);
    EXPECT_EQ("MIXED CASE 123 \xE4\xF6\xFC" + std::string(1, '\0') + "after", text) << "stops at the zero";
}
