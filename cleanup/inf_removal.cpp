#include "inf_removal.h"

#include "../runtime/buffers.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"
#include "../runtime/text_file.h"

#define HARDWARE_ID "VEN_5A3C&DEV_0C17"

// Bytes of the previous chunk kept in front of the next one, so that a text
// of up to this length plus one that straddles two chunks is still found.
enum { CHUNK_CARRY_MAX = 127 };

static PathBuffer WindowsDirectoryBuffer;
static PathBuffer FolderPathBuffer;
static TextFile InfFile;
// The carried tail of the previous chunk, then the chunk, then a zero byte.
static char ChunkWindow[CHUNK_CARRY_MAX + LINE_BUFFER_SIZE + 1];

int FileContainsText(const char *fileName, const char *text)
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
