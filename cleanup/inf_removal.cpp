#include "inf_removal.h"

#include "../runtime/buffers.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"
#include "../runtime/text_file.h"

#define HARDWARE_ID "VEN_5A3C&DEV_0C17"

// Bytes of the previous chunk kept in front of the next one, so that a text
// of up to this length plus one that straddles two chunks is still found.
enum { CHUNK_CARRY_MAX = 127 };

#define CTRL_Z 0x1A

static PathBuffer WindowsDirectoryBuffer;
static PathBuffer FolderPathBuffer;
static TextFile InfFile;
// The carried tail of the previous chunk, then the chunk, then a zero byte.
static char ChunkWindow[CHUNK_CARRY_MAX + LINE_BUFFER_SIZE + 1];

// The search as text mode reads the file: chunks of 1,024 delivered bytes,
// each searched up to its first zero byte, with the tail of the previous
// chunk carried in front unless that chunk had a zero byte.
static int ChunksContainText(const char *fileName, const char *text)
{
    if (!OpenTextFile(&InfFile, fileName, 'r'))
        return 0;
    unsigned textLength = TextLength(text);
    unsigned carryLimit = textLength > 0 ? textLength - 1 : 0;
    if (carryLimit > CHUNK_CARRY_MAX)
        carryLimit = CHUNK_CARRY_MAX;
    unsigned carried = 0;
    int found = 0;
    for (;;) {
        char *chunk = ChunkWindow + carried;
        unsigned got = ReadTextBlock(&InfFile, chunk, LINE_BUFFER_SIZE);
        // The search of a chunk ends at its first zero byte.
        unsigned searched = 0;
        while (searched < got && chunk[searched] != 0)
            searched++;
        if (SearchBytes(ChunkWindow, carried + searched, text)) {
            found = 1;
            break;
        }
        if (got < LINE_BUFFER_SIZE)
            break;
        // Bytes behind a zero byte are never searched, so nothing is carried
        // past one.
        unsigned keep = searched < got ? 0 : carryLimit;
        for (unsigned i = 0; i < keep; i++)
            ChunkWindow[i] = chunk[got - keep + i];
        carried = keep;
    }
    CloseTextFile(&InfFile);
    return found;
}

// Whether the fast search gives the same answer as the chunked one: true for
// a text of 1 to CHUNK_CARRY_MAX + 1 bytes without CR, LF, zero byte or
// Ctrl-Z, such as the hardware ID.
static int SuitsRawSearch(const char *text, unsigned textLength)
{
    if (textLength == 0 || textLength > CHUNK_CARRY_MAX + 1)
        return 0;
    for (unsigned i = 0; i < textLength; i++)
        if (text[i] == '\r' || text[i] == '\n' || text[i] == 0 || text[i] == CTRL_Z)
            return 0;
    return 1;
}

// The fast search, on the raw bytes read in large blocks, without line-end
// translation: such a text lies in the raw bytes before the first Ctrl-Z
// exactly where it lies in what text mode delivers. Found before any zero
// byte, it is found by the chunked search too; behind a zero byte only the
// chunked search can tell, so then the answer is NEEDS_CHUNKS.
enum { NOT_FOUND, FOUND, NEEDS_CHUNKS };
static char Straddle[2 * CHUNK_CARRY_MAX + 1];
// Large reads: the search keeps pace with the platform's own file reading.
static char ScanBuffer[65536];

static int ScanRawBytes(const char *text, unsigned textLength)
{
    const char first = text[0];
    unsigned tailLength = 0; // the last bytes of the runs so far, in Straddle
    for (;;) {
        const char *run = ScanBuffer;
        unsigned count = ReadRawBlock(&InfFile, ScanBuffer, sizeof ScanBuffer);
        if (!count)
            return NOT_FOUND;
        // A text that began in the runs before and ends in this one.
        unsigned joint = tailLength;
        for (unsigned i = 0; i < count && i + 1 < textLength && run[i] != 0 && run[i] != CTRL_Z; i++)
            Straddle[joint++] = run[i];
        if (tailLength && SearchBytes(Straddle, joint, text))
            return FOUND;
        for (unsigned i = 0; i < count; i++) {
            char byte = run[i];
            if (byte == first) {
                if (i + textLength <= count) {
                    unsigned matched = 1;
                    while (matched < textLength && run[i + matched] == text[matched])
                        matched++;
                    if (matched == textLength)
                        return FOUND;
                }
            } else if (byte == 0) {
                return NEEDS_CHUNKS;
            } else if (byte == CTRL_Z) {
                return NOT_FOUND;
            }
        }
        // Keep the last textLength - 1 bytes for the next run.
        unsigned keep = textLength - 1;
        if (count >= keep) {
            for (unsigned i = 0; i < keep; i++)
                Straddle[i] = run[count - keep + i];
            tailLength = keep;
        } else {
            // A short run lies whole in Straddle behind the old tail.
            unsigned drop = joint > keep ? joint - keep : 0;
            for (unsigned i = drop; i < joint; i++)
                Straddle[i - drop] = Straddle[i];
            tailLength = joint - drop;
        }
    }
}

int FileContainsText(const char *fileName, const char *text)
{
    unsigned textLength = TextLength(text);
    if (!SuitsRawSearch(text, textLength))
        return ChunksContainText(fileName, text);
    if (!OpenTextFile(&InfFile, fileName, 'r'))
        return 0;
    int result = ScanRawBytes(text, textLength);
    CloseTextFile(&InfFile);
    return result == NEEDS_CHUNKS ? ChunksContainText(fileName, text) : result == FOUND;
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

static void SearchFolder(const char *format)
{
    if (FormatText(FolderPathBuffer, sizeof FolderPathBuffer, format, WindowsDirectoryBuffer) &&
        SetCurrentDirectoryA(FolderPathBuffer))
        DeleteFilesContaining("*.INF", HARDWARE_ID);
}

void RemoveDeviceInfFiles()
{
    if (!GetWindowsDirectoryInto(WindowsDirectoryBuffer))
        return;
    SearchFolder("%s\\INF");
    SearchFolder("%s\\INF\\OTHER");
}
