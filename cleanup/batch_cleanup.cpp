#include "batch_cleanup.h"

#include <windows.h>

#include "../runtime/buffers.h"
#include "../runtime/file_replacement.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"
#include "../runtime/text_file.h"

#define MARKER "SQVSYNTH"

// The step's work area. Static, as every buffer of the program: without a
// run-time there is no stack probe, so no function may have a frame of
// kilobytes. The step is therefore not reentrant.
static struct {
    PathBuffer dosStartPath;
    PathBuffer newCopyPath; // the file's new content, beside it
    PathBuffer backupPath;  // the file itself, in the instant of the swap
    PathBuffer upperCaseMarker;
    TextFile batchFile;
    TextFile newCopy;
    LineBuffer line;
    LineBuffer upperCaseLine;
} Work;

// 1 when the line holds `upperCaseMarker` in any case of letters.
static int LineIsMarked(const char *line, unsigned length, LineBuffer &upperCaseLine,
                        const char *upperCaseMarker)
{
    for (unsigned i = 0; i < length; i++)
        upperCaseLine[i] = line[i];
    UpperCaseBytes(upperCaseLine, length);
    return SearchBytes(upperCaseLine, length, upperCaseMarker) != 0;
}

// Copies every line of `from` that is not marked to `to`. A line longer
// than the buffer is kept whole and unchanged: it is never split and never
// partly removed.
static void CopyUnmarkedLines(TextFile *from, TextFile *to, const char *upperCaseMarker)
{
    unsigned length;
    int whole;
    int insideLongLine = 0;
    while (ReadTextLine(from, Work.line, &length, &whole)) {
        int keep = insideLongLine || !whole ||
                   !LineIsMarked(Work.line, length, Work.upperCaseLine, upperCaseMarker);
        insideLongLine = !whole;
        if (keep)
            WriteText(to, Work.line, length);
    }
}

int StripMarkedLines(const char *fileName, const char *marker)
{
    if (!FormatText(Work.upperCaseMarker, sizeof Work.upperCaseMarker, "%s", marker) ||
        !FormSiblingPath(Work.newCopyPath, fileName, "SQN") ||
        !FormSiblingPath(Work.backupPath, fileName, "SQO"))
        return 0;
    // What an earlier run left when it stopped halfway is put right first.
    if (!RecoverReplacement(fileName, Work.newCopyPath, Work.backupPath))
        return 0;
    if (!OpenTextFile(&Work.batchFile, fileName, 'r'))
        return 0;
    if (!OpenTextFile(&Work.newCopy, Work.newCopyPath, 'w')) {
        CloseTextFile(&Work.batchFile);
        return 0;
    }
    UpperCaseText(Work.upperCaseMarker);
    CopyUnmarkedLines(&Work.batchFile, &Work.newCopy, Work.upperCaseMarker);
    int readWhole = CloseTextFile(&Work.batchFile);
    int writtenWhole = CloseTextFile(&Work.newCopy);
    // Only a complete copy may replace the file, and only a file that may be
    // written is replaced: after a failed read, a full disk, or with a
    // read-only file, the file keeps its old content.
    if (readWhole && writtenWhole && FileIsWritable(fileName))
        ReplaceWithNewCopy(fileName, Work.newCopyPath, Work.backupPath);
    else
        DeleteFileA(Work.newCopyPath);
    return 1;
}

int CleanStartupBatchFiles()
{
    StripMarkedLines("C:\\Autoexec.Bat", MARKER);
    const char *windowsDirectory = FetchWindowsDirectory();
    if (windowsDirectory &&
        FormatText(Work.dosStartPath, sizeof Work.dosStartPath, "%s\\DosStart.Bat", windowsDirectory))
        StripMarkedLines(Work.dosStartPath, MARKER);
    return 1;
}
