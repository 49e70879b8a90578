#include "boot_file_ops.h"

#include <windows.h>

#include "../runtime/buffers.h"
#include "../runtime/file_replacement.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"
#include "../runtime/text_file.h"
#include "wininit_layout.h"

struct BootLine {
    const char *format;
    int inWindowsDirectory; // else the system directory
};

// Lines 8 and 11, and 9 and 10, are the same: both are written.
static const BootLine BootLines[] = {
    {"NUL=%s\\SQVAUD16.DRV", 0},  {"NUL=%s\\SQVAUD16.VXD", 0},   {"NUL=%s\\SQVVDEC.AX", 0},
    {"NUL=%s\\SQVRELAY.VXD", 0},  {"NUL=%s\\SQVKERN.VXD", 0},    {"NUL=%s\\SQVKERN3.VXD", 0},
    {"NUL=%s\\SQVMIXR.VXD", 0},   {"NUL=%s\\SQVRENDR.AX", 0},    {"NUL=%s\\SQVACOU.VXD", 0},
    {"NUL=%s\\SQVACOU.VXD", 0},   {"NUL=%s\\SQVRENDR.AX", 0},    {"NUL=%s\\SQJBUSCT.VXD", 0},
    {"NUL=%s\\SQJMIXR.DLL", 0},   {"NUL=%s\\SQJSTAT.DLL", 0},    {"NUL=%s\\SQJSTAT.VXD", 0},
    {"NUL=%s\\SQJBOOT.VXD", 0},   {"NUL=%s\\SQVNLS.DLL", 0},     {"NUL=%s\\SQVPNP.VXD", 0},
    {"NUL=%s\\SQVFILES\\SQVLOCN.TPK", 1},  {"NUL=%s\\SQVFILES\\SQVCORE.TPK", 1},
    {"NUL=%s\\SQVFILES\\SQVTB.TPK", 1},    {"NUL=%s\\SQVFILES\\IVORIES.DAT", 1},
    {"NUL=%s\\SQVFILES\\SQVCDC.TPK", 1},   {"NUL=%s\\SQVFILES\\SQVACOU.REG", 1},
    {"NUL=%s\\SQVFILES\\SQVVDEC.TPK", 1},  {"NUL=%s\\SQVFILES\\EARCUES.WAV", 1},
    {"NUL=%s\\SQVFILES\\SQVPRIM.SNB", 1},  {"NUL=%s\\SQVFILES\\SQVECHO.SNB", 1},
    {"NUL=%s\\SQVFILES\\SQVPINNA.DAT", 1}, {"NUL=%s\\SQVFILES\\SQVSYNTH.EXE", 1},
    {"NUL=%s\\SQVFILES\\SQVROOM.SNB", 1},  {"NUL=%s\\SQVFILES\\SQVWRAPD.SNB", 1},
    {"NUL=%s\\SQVFILES\\SQVPHANT.SNB", 1}, {"NUL=%s\\SQVFILES\\SQVTBRM.TPK", 1},
    {"NUL=%s\\SQVFILES\\SQVTBWAV.DAT", 1}, {"NUL=%s\\SQVFILES", 1},
    {"%s\\DSOUND.DLL=%s\\MSDSOUND.DLL", 0},
};

// The step's work area. Static, as every buffer of the program: without a
// run-time there is no stack probe, so no function may have a frame of
// kilobytes. The step is therefore not reentrant.
static struct {
    PathBuffer winInitPath;
    PathBuffer newCopyPath; // the new file, beside the old one
    PathBuffer backupPath;  // the old file, in the instant of the swap
    LineBuffer line;
    LineBuffer block;       // raw bytes on their way from the old file
    TextFile winInit;
    TextFile newCopy;
    WinInitLayout layout;
} Work;

// The directories that the lines name.
struct Directories {
    const char *windows;
    const char *system;
};

// Each line ends with LF, which text-mode writing stores as CR LF. A line
// that would not fit its buffer is left out rather than cut.
static void WriteBootLines(TextFile *file, const Directories &directories, LineBuffer &line)
{
    for (unsigned i = 0; i < sizeof BootLines / sizeof BootLines[0]; i++) {
        const char *directory = BootLines[i].inWindowsDirectory ? directories.windows : directories.system;
        if (FormatText(line, sizeof line, BootLines[i].format, directory, directory)) {
            WriteText(file, line, TextLength(line));
            WriteText(file, "\n", 1);
        }
    }
}

// What goes after the kept bytes when the lines are added at the end: a line
// break so that the first line stands on its own, and a header when the file
// has no [Rename] section yet.
static void WriteEndRepairs(TextFile *file, const WinInitLayout &layout)
{
    if (layout.keptLength > 0 && !layout.endsWithLineFeed)
        WriteText(file, "\n", 1);
    if (!layout.hasRename)
        WriteText(file, "[Rename]\n", 9);
}

// Copies exactly `count` raw bytes; 1 when that many were there.
static int CopyRawBytes(TextFile *from, TextFile *to, DWORD count, LineBuffer &block)
{
    DWORD copied = 0;
    while (copied < count) {
        DWORD wanted = count - copied < sizeof block ? count - copied : sizeof block;
        unsigned got = ReadRawBlock(from, block, wanted);
        if (got == 0)
            break;
        WriteRaw(to, block, got);
        copied += got;
    }
    return copied == count;
}

// Copies every raw byte that is left.
static void CopyRestOfFile(TextFile *from, TextFile *to, LineBuffer &block)
{
    unsigned got;
    while ((got = ReadRawBlock(from, block, sizeof block)) != 0)
        WriteRaw(to, block, got);
}

// Writes the new file in full beside the old one, then puts it in the old
// one's place. After any failure the old file stays as it was.
static void RewriteWinInit(const Directories &directories)
{
    const WinInitLayout &layout = Work.layout;
    // A file that could not be appended to is not replaced either.
    if (!FileIsWritable(Work.winInitPath))
        return;
    if (!OpenTextFile(&Work.winInit, Work.winInitPath, 'r'))
        return;
    if (!OpenTextFile(&Work.newCopy, Work.newCopyPath, 'w')) {
        CloseTextFile(&Work.winInit);
        return;
    }
    int complete;
    if (layout.insertAt != NO_INSERT_POINT) {
        complete = CopyRawBytes(&Work.winInit, &Work.newCopy, layout.insertAt, Work.block);
        WriteBootLines(&Work.newCopy, directories, Work.line);
        CopyRestOfFile(&Work.winInit, &Work.newCopy, Work.block);
    } else {
        // Text-mode readers stop at the first Ctrl-Z: the file is cut there.
        complete = CopyRawBytes(&Work.winInit, &Work.newCopy, layout.keptLength, Work.block);
        WriteEndRepairs(&Work.newCopy, layout);
        WriteBootLines(&Work.newCopy, directories, Work.line);
    }
    complete = CloseTextFile(&Work.winInit) && complete;
    complete = CloseTextFile(&Work.newCopy) && complete;
    if (complete)
        ReplaceWithNewCopy(Work.winInitPath, Work.newCopyPath, Work.backupPath);
    else
        DeleteFileA(Work.newCopyPath);
}

// All lines or none: an append is written in one piece and cut back when
// that write fails.
static void AppendToWinInit(const Directories &directories)
{
    if (!OpenTextFile(&Work.winInit, Work.winInitPath, 'a'))
        return;
    WriteEndRepairs(&Work.winInit, Work.layout);
    WriteBootLines(&Work.winInit, directories, Work.line);
    CloseTextFile(&Work.winInit);
}

// The new file is written under its own name first: a file cut short by a
// failure or a sudden stop never stands as WinInit.INI.
static void CreateWinInit(const Directories &directories)
{
    if (!OpenTextFile(&Work.newCopy, Work.newCopyPath, 'w'))
        return;
    WriteText(&Work.newCopy, "\n[Rename]\n", 10);
    WriteBootLines(&Work.newCopy, directories, Work.line);
    if (CloseTextFile(&Work.newCopy))
        ReplaceWithNewCopy(Work.winInitPath, Work.newCopyPath, Work.backupPath);
    else
        DeleteFileA(Work.newCopyPath);
}

// The three paths of the step, formed from the Windows directory.
static int FormPaths(const char *windowsDirectory)
{
    return FormatText(Work.winInitPath, sizeof Work.winInitPath, "%s\\WinInit.INI", windowsDirectory) &&
           FormatText(Work.newCopyPath, sizeof Work.newCopyPath, "%s\\WinInit.SQN", windowsDirectory) &&
           FormatText(Work.backupPath, sizeof Work.backupPath, "%s\\WinInit.SQO", windowsDirectory);
}

void ScheduleBootFileOps()
{
    // The two directories live in buffers of their own (runtime/system_paths).
    Directories directories = {FetchWindowsDirectory(), FetchSystemDirectory()};
    if (!directories.windows || !directories.system || !FormPaths(directories.windows))
        return;
    // What an earlier run left when it stopped halfway is put right first;
    // the old file's lines must not be lost to a new file.
    if (!RecoverReplacement(Work.winInitPath, Work.newCopyPath, Work.backupPath))
        return;
    if (!OpenTextFile(&Work.winInit, Work.winInitPath, 'r')) {
        // A file that is there but cannot be read is not emptied.
        if (!PathExists(Work.winInitPath))
            CreateWinInit(directories);
        return;
    }
    int scanned = ScanWinInitLayout(&Work.winInit, Work.block, &Work.layout);
    CloseTextFile(&Work.winInit);
    if (!scanned)
        return;
    // The lines must land in the first [Rename] section, which Windows alone
    // carries out, and after the file's first Ctrl-Z nothing is read.
    if (Work.layout.insertAt != NO_INSERT_POINT || Work.layout.hasCtrlZ)
        RewriteWinInit(directories);
    else
        AppendToWinInit(directories);
}
