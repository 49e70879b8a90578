#include "inf_removal.h"

#include "../runtime/buffers.h"
#include "../runtime/hardware_id.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"
#include "../runtime/text_file.h"

// Bytes of the previous chunk kept in front of the next one, so that a text
// of up to this length plus one that straddles two chunks is still found.
enum { CHUNK_CARRY_MAX = 127 };

// The fast search looks at the raw bytes six at a time, in blocks of 64 KB:
// it keeps pace with the platform's own file reading.
enum { WINDOW = 6, WINDOW_TABLE_SIZE = 4096, SCAN_BLOCK_SIZE = 65536 };

// The step's work area. Static, as every buffer of the program: without a
// run-time there is no stack probe, so no function may have a frame of
// kilobytes. The step is therefore not reentrant.
static struct {
    PathBuffer folderPath;
    TextFile infFile;
    // The carried tail of the previous chunk, then the chunk, then a zero byte.
    char chunkWindow[CHUNK_CARRY_MAX + LINE_BUFFER_SIZE + 1];
    // For each 12-bit fold of six bytes, the first place in the text whose
    // six bytes fold to it, plus one (0: none); for each place, the next
    // such place.
    unsigned char windowFirst[WINDOW_TABLE_SIZE];
    unsigned char windowNext[CHUNK_CARRY_MAX + 1];
    // The last bytes of the blocks so far and the first of the next block,
    // for a text that straddles two blocks.
    char straddle[2 * CHUNK_CARRY_MAX + 1];
    char scanBlock[SCAN_BLOCK_SIZE];
} Work;

// The search as text mode reads the file: chunks of 1,024 delivered bytes,
// each searched up to its first zero byte, with the tail of the previous
// chunk carried in front unless that chunk had a zero byte.
static int ChunksContainText(const char *fileName, const char *text)
{
    TextFile *file = &Work.infFile;
    char *const window = Work.chunkWindow;
    if (!OpenTextFile(file, fileName, 'r'))
        return 0;
    unsigned textLength = TextLength(text);
    unsigned carryLimit = textLength > 0 ? textLength - 1 : 0;
    if (carryLimit > CHUNK_CARRY_MAX)
        carryLimit = CHUNK_CARRY_MAX;
    unsigned carried = 0;
    int found = 0;
    for (;;) {
        char *chunk = window + carried;
        unsigned got = ReadTextBlock(file, chunk, LINE_BUFFER_SIZE);
        // The search of a chunk ends at its first zero byte.
        unsigned searched = 0;
        while (searched < got && chunk[searched] != 0)
            searched++;
        if (SearchBytes(window, carried + searched, text)) {
            found = 1;
            break;
        }
        if (got < LINE_BUFFER_SIZE)
            break;
        // Bytes behind a zero byte are never searched, so nothing is carried
        // past one.
        unsigned keep = searched < got ? 0 : carryLimit;
        for (unsigned i = 0; i < keep; i++)
            window[i] = chunk[got - keep + i];
        carried = keep;
    }
    CloseTextFile(file);
    return found;
}

// Whether the text suits the fast search of the raw bytes: 6 to
// CHUNK_CARRY_MAX + 1 bytes without CR, LF, zero byte or Ctrl-Z, such as the
// hardware ID. Text-mode reading only drops a CR before an LF and ends at the
// first Ctrl-Z, so such a text lies in what it delivers only where it lies
// in the raw bytes: a file whose raw bytes do not hold it does not hold it,
// and only the rare file whose raw bytes do is searched again in chunks.
static int SuitsRawSearch(const char *text, unsigned textLength)
{
    if (textLength < WINDOW || textLength > CHUNK_CARRY_MAX + 1)
        return 0;
    for (unsigned i = 0; i < textLength; i++)
        if (text[i] == '\r' || text[i] == '\n' || text[i] == 0 || text[i] == CTRL_Z)
            return 0;
    return 1;
}

// The fast search looks at six bytes in every textLength - 5: each place of
// the text covers textLength - 5 starts of six of its bytes, so one of them
// is looked at. Six bytes fold into a 12-bit index of a table small enough
// for the first-level cache of a 486 or Pentium (Work.windowFirst). Six
// bytes of an INF file that fold to the text's are rare (even "VEN_" and
// "&DEV_" are only parts of six; five would meet "&DEV_" on every line of a
// PCI list), so four looks at a time are joined and nearly every group costs
// a few instructions a look and no branch taken; only a group that finds
// something compares.

// Plain 32-bit arithmetic, which an 80386 has: two loads, and a fold that
// brings every bit into the index's 12 (shifts and adds, or one multiply
// where the compiler finds that cheaper). Inlined: it runs for every look.
static inline __attribute__((always_inline)) unsigned FoldWindow(const char *at)
{
    const unsigned char *bytes = (const unsigned char *)at;
    unsigned low = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | (unsigned)bytes[3] << 24;
    unsigned high = bytes[4] | bytes[5] << 8;
    unsigned folded = low ^ high << 11;
    return (folded + (folded << 11) + (folded << 20)) >> 20;
}

static void LearnWindows(const char *text, unsigned textLength)
{
    for (unsigned i = textLength - WINDOW + 1; i-- > 0;) {
        unsigned index = FoldWindow(text + i);
        Work.windowNext[i] = Work.windowFirst[index];
        Work.windowFirst[index] = (unsigned char)(i + 1);
    }
}

static void ForgetWindows(const char *text, unsigned textLength)
{
    for (unsigned i = 0; i + WINDOW <= textLength; i++)
        Work.windowFirst[FoldWindow(text + i)] = 0;
}

// Whether the text lies wholly inside the block at a place whose six bytes
// at `at` fold to one of the text's.
static int LookHoldsText(const char *block, unsigned count, unsigned at, const char *text, unsigned textLength)
{
    for (unsigned place = Work.windowFirst[FoldWindow(block + at)]; place != 0; place = Work.windowNext[place - 1]) {
        if (place - 1 > at)
            break; // later places would start before the block too
        const char *start = block + at - (place - 1);
        if (start + textLength > block + count || start[textLength - 1] != text[textLength - 1])
            continue;
        unsigned matched = 0;
        while (matched < textLength && start[matched] == text[matched])
            matched++;
        if (matched == textLength)
            return 1;
    }
    return 0;
}

// Whether the text lies wholly inside the `count` bytes of the block.
static int BlockHoldsText(const char *block, unsigned count, const char *text, unsigned textLength)
{
    if (count < WINDOW)
        return 0;
    const unsigned stride = textLength - WINDOW + 1, last = count - WINDOW;
    const unsigned char *first = Work.windowFirst;
    unsigned at = 0;
    for (; at + 3 * stride <= last; at += 4 * stride) {
        const char *look = block + at;
        if ((first[FoldWindow(look)] | first[FoldWindow(look + stride)] | first[FoldWindow(look + 2 * stride)] |
             first[FoldWindow(look + 3 * stride)]) == 0)
            continue;
        for (unsigned i = 0; i < 4; i++)
            if (LookHoldsText(block, count, at + i * stride, text, textLength))
                return 1;
    }
    for (; at <= last; at += stride)
        if (LookHoldsText(block, count, at, text, textLength))
            return 1;
    return 0;
}

// Whether the raw bytes of the open file hold the text anywhere: 0 when not,
// else how many were read when it was found (its end lies within them).
static DWORD RawBytesHoldText(TextFile *file, const char *text, unsigned textLength)
{
    const unsigned keep = textLength - 1;
    char *const straddle = Work.straddle, *const block = Work.scanBlock;
    unsigned tailLength = 0; // the last bytes of the blocks so far, in straddle
    DWORD read = 0;
    for (;;) {
        unsigned count = ReadRawBlock(file, block, SCAN_BLOCK_SIZE);
        if (!count)
            return 0;
        read += count;
        // A text that began in the blocks before and ends in this one.
        unsigned joint = tailLength;
        for (unsigned i = 0; i < count && i < keep; i++)
            straddle[joint++] = block[i];
        if (tailLength && SearchBytes(straddle, joint, text))
            return read;
        if (BlockHoldsText(block, count, text, textLength))
            return read;
        // Only the last block is short: a disk file delivers less only at
        // its end.
        if (count < SCAN_BLOCK_SIZE)
            return 0;
        for (unsigned i = 0; i < keep; i++)
            straddle[i] = block[count - keep + i];
        tailLength = keep;
    }
}

// Whether a zero byte or a Ctrl-Z lies among the first `length` raw bytes of
// the file, or they cannot all be read.
static int StopByteAmong(const char *fileName, DWORD length)
{
    TextFile *file = &Work.infFile;
    char *const block = Work.scanBlock;
    if (!OpenTextFile(file, fileName, 'r'))
        return 1;
    int found = 0;
    for (DWORD checked = 0; !found && checked < length;) {
        unsigned wanted = SCAN_BLOCK_SIZE;
        if (length - checked < wanted)
            wanted = length - checked;
        unsigned count = ReadRawBlock(file, block, wanted), clean = 0;
        while (clean < count && block[clean] != 0 && block[clean] != CTRL_Z)
            clean++;
        found = clean < wanted;
        checked += count;
    }
    CloseTextFile(file);
    return found;
}

int FileContainsText(const char *fileName, const char *text)
{
    unsigned textLength = TextLength(text);
    if (!SuitsRawSearch(text, textLength))
        return ChunksContainText(fileName, text);
    if (!OpenTextFile(&Work.infFile, fileName, 'r'))
        return 0;
    LearnWindows(text, textLength);
    DWORD heldWithin = RawBytesHoldText(&Work.infFile, text, textLength);
    ForgetWindows(text, textLength);
    CloseTextFile(&Work.infFile);
    if (!heldWithin)
        return 0;
    // Up to the first zero byte or Ctrl-Z, text-mode reading delivers the raw
    // bytes but for a CR before an LF, and the chunks are searched whole: a
    // text that ends before one is there as text too. Behind one, the
    // chunked search gives the text-mode answer.
    return StopByteAmong(fileName, heldWithin) ? ChunksContainText(fileName, text) : 1;
}

void DeleteFilesContaining(const char *pattern, const char *text)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            FileContainsText(entry.cFileName, text))
            DeleteFileA(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

static void SearchFolder(const char *format, const char *windowsDirectory)
{
    if (FormatText(Work.folderPath, sizeof Work.folderPath, format, windowsDirectory) &&
        SetCurrentDirectoryA(Work.folderPath))
        DeleteFilesContaining("*.INF", HARDWARE_ID);
}

void RemoveDeviceInfFiles()
{
    const char *windowsDirectory = FetchWindowsDirectory();
    if (!windowsDirectory)
        return;
    SearchFolder("%s\\INF", windowsDirectory);
    SearchFolder("%s\\INF\\OTHER", windowsDirectory);
}
