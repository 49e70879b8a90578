#include "batch_cleanup.h"

#include <windows.h>

#include "../runtime/file_replacement.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"

#define MARKER "SQVSYNTH"

static TextFile BatchFile;
static TextFile TemporaryFile;
static LineBuffer LineRead;
static LineBuffer UpperCaseLine;
static PathBuffer UpperCaseMarker;
static PathBuffer WindowsDirectoryBuffer;
static PathBuffer DosStartPathBuffer;
static PathBuffer NewCopyPathBuffer;
static PathBuffer BackupPathBuffer;

int ReadTextLine(TextFile *file, LineBuffer &line, unsigned *length, int *whole)
{
    unsigned stored = 0;
    int character = ReadTextChar(file);
    if (character < 0)
        return 0;
    *whole = 1;
    for (;;) {
        line[stored++] = (char)character;
        if (character == '\n')
            break;
        character = ReadTextChar(file);
        if (character < 0)
            break;
        if (stored == sizeof line - 1) {
            // No room left: this piece ends here, the rest comes next.
            UnreadTextChar(file, character);
            *whole = 0;
            break;
        }
    }
    line[stored] = 0;
    *length = stored;
    return 1;
}

int StripMarkedLines(const char *fileName, const char *marker)
{
    if (!FormatText(UpperCaseMarker, sizeof UpperCaseMarker, "%s", marker) ||
        !FormSiblingPath(NewCopyPathBuffer, fileName, "SQN") ||
        !FormSiblingPath(BackupPathBuffer, fileName, "SQO"))
        return 0;
    // What an earlier run left when it stopped halfway is put right first.
    if (!RecoverReplacement(fileName, NewCopyPathBuffer, BackupPathBuffer))
        return 0;
    if (!OpenTextFile(&BatchFile, fileName, 'r'))
        return 0;
    if (!OpenTextFile(&TemporaryFile, NewCopyPathBuffer, 'w')) {
        CloseTextFile(&BatchFile);
        return 0;
    }
    UpperCaseText(UpperCaseMarker);
    unsigned length;
    int whole;
    int insideLongLine = 0;
    while (ReadTextLine(&BatchFile, LineRead, &length, &whole)) {
        // A line longer than the buffer is kept whole and unchanged: it is
        // never split and never partly removed.
        int keep = insideLongLine || !whole;
        insideLongLine = !whole;
        if (!keep) {
            for (unsigned i = 0; i < length; i++)
                UpperCaseLine[i] = LineRead[i];
            UpperCaseBytes(UpperCaseLine, length);
            keep = SearchBytes(UpperCaseLine, length, UpperCaseMarker) == 0;
        }
        if (keep)
            WriteText(&TemporaryFile, LineRead, length);
    }
    int readWhole = CloseTextFile(&BatchFile);
    int writtenWhole = CloseTextFile(&TemporaryFile);
    // Only a complete copy may replace the file, and only a file that may be
    // written is replaced: after a failed read, a full disk, or with a
    // read-only file, the file keeps its old content.
    if (readWhole && writtenWhole && FileIsWritable(fileName))
        ReplaceWithNewCopy(fileName, NewCopyPathBuffer, BackupPathBuffer);
    else
        DeleteFileA(NewCopyPathBuffer);
    return 1;
}

int CleanStartupBatchFiles()
{
    StripMarkedLines("C:\\Autoexec.Bat", MARKER);
    if (GetWindowsDirectoryInto(WindowsDirectoryBuffer) &&
        FormatText(DosStartPathBuffer, sizeof DosStartPathBuffer, "%s\\DosStart.Bat",
                   WindowsDirectoryBuffer))
        StripMarkedLines(DosStartPathBuffer, MARKER);
    return 1;
}
