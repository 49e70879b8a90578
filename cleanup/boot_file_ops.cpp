#include "boot_file_ops.h"

#include <windows.h>

#include "../runtime/buffers.h"
#include "../runtime/file_replacement.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"
#include "../runtime/text_file.h"

#define CTRL_Z 0x1A
#define NOWHERE 0xFFFFFFFFu

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

// What matters of an existing WinInit.INI, read as raw bytes.
struct WinInitLayout {
    DWORD keptLength;     // bytes before the first Ctrl-Z (all, without one)
    int hasCtrlZ;
    int endsWithLineFeed; // the last kept byte is LF
    int hasRename;        // a [Rename] section header
    DWORD insertAt;       // start of the section header after the first
                          // [Rename] section, or NOWHERE
};

static PathBuffer WindowsDirectoryBuffer;
static PathBuffer SystemDirectoryBuffer;
static PathBuffer WinInitPathBuffer;
static PathBuffer NewWinInitPathBuffer;
static PathBuffer OldWinInitPathBuffer;
static LineBuffer BootLineBuffer;
static LineBuffer CopyBuffer;
static TextFile WinInitFile;
static TextFile NewWinInitFile;
static WinInitLayout Layout;

// Each line ends with LF, which text-mode writing stores as CR LF. A line
// that would not fit its buffer is left out rather than cut.
static void WriteBootLines(TextFile *file)
{
    for (unsigned i = 0; i < sizeof BootLines / sizeof BootLines[0]; i++) {
        const char *directory =
            BootLines[i].inWindowsDirectory ? WindowsDirectoryBuffer : SystemDirectoryBuffer;
        if (FormatText(BootLineBuffer, sizeof BootLineBuffer, BootLines[i].format, directory,
                       directory)) {
            WriteText(file, BootLineBuffer, TextLength(BootLineBuffer));
            WriteText(file, "\n", 1);
        }
    }
}

// Looks at one line: `head` holds its first bytes after leading blanks,
// `significant` its length up to its last byte that is no blank or CR.
static void ClassifyLine(char *head, unsigned significant, DWORD lineStart)
{
    if (significant == 0 || head[0] != '[')
        return;
    UpperCaseBytes(head, significant < 8 ? significant : 8);
    int isRename = significant == 8 && SearchBytes(head, 8, "[RENAME]") == head;
    if (!Layout.hasRename)
        Layout.hasRename = isRename;
    else if (Layout.insertAt == NOWHERE)
        Layout.insertAt = lineStart;
}

// Reads the whole file as raw bytes and fills Layout. 0 when a read failed.
static int ScanWinInit(TextFile *file)
{
    char head[8];
    unsigned headLength = 0, significant = 0;
    DWORD offset = 0, lineStart = 0;
    int lastByte = -1;
    Layout.hasCtrlZ = 0;
    Layout.hasRename = 0;
    Layout.insertAt = NOWHERE;
    unsigned got;
    while (!Layout.hasCtrlZ && (got = ReadRawBlock(file, CopyBuffer, sizeof CopyBuffer)) != 0) {
        for (unsigned i = 0; i < got; i++, offset++) {
            char byte = CopyBuffer[i];
            if (byte == CTRL_Z) {
                Layout.hasCtrlZ = 1;
                break;
            }
            lastByte = (unsigned char)byte;
            if (byte == '\n') {
                ClassifyLine(head, significant, lineStart);
                headLength = significant = 0;
                lineStart = offset + 1;
                continue;
            }
            if (headLength == 0 && (byte == ' ' || byte == '\t'))
                continue;
            if (headLength < sizeof head)
                head[headLength] = byte;
            headLength++;
            if (byte != ' ' && byte != '\t' && byte != '\r')
                significant = headLength;
        }
    }
    ClassifyLine(head, significant, lineStart);
    Layout.keptLength = offset;
    Layout.endsWithLineFeed = lastByte == '\n';
    return !file->failed;
}

// What goes after the kept bytes when the lines are added at the end: a line
// break so that the first line stands on its own, and a header when the file
// has no [Rename] section yet.
static void WriteEndRepairs(TextFile *file)
{
    if (Layout.keptLength > 0 && !Layout.endsWithLineFeed)
        WriteText(file, "\n", 1);
    if (!Layout.hasRename)
        WriteText(file, "[Rename]\n", 9);
}

// Copies `count` raw bytes, or all that are left when `count` is NOWHERE.
// 1 when exactly that many were copied.
static int CopyRawBytes(TextFile *from, TextFile *to, DWORD count)
{
    DWORD copied = 0;
    while (copied < count) {
        DWORD wanted = count - copied < sizeof CopyBuffer ? count - copied : sizeof CopyBuffer;
        unsigned got = ReadRawBlock(from, CopyBuffer, wanted);
        if (got == 0)
            break;
        WriteRaw(to, CopyBuffer, got);
        copied += got;
    }
    return count == NOWHERE || copied == count;
}

// Writes the new file in full beside the old one, then puts it in the old
// one's place. After any failure the old file stays as it was.
static void RewriteWinInit()
{
    // A file that could not be appended to is not replaced either.
    if (!FileIsWritable(WinInitPathBuffer))
        return;
    if (!OpenTextFile(&WinInitFile, WinInitPathBuffer, 'r'))
        return;
    if (!OpenTextFile(&NewWinInitFile, NewWinInitPathBuffer, 'w')) {
        CloseTextFile(&WinInitFile);
        return;
    }
    int complete;
    if (Layout.insertAt != NOWHERE) {
        complete = CopyRawBytes(&WinInitFile, &NewWinInitFile, Layout.insertAt);
        WriteBootLines(&NewWinInitFile);
        complete = complete && CopyRawBytes(&WinInitFile, &NewWinInitFile, NOWHERE);
    } else {
        // Text-mode readers stop at the first Ctrl-Z: the file is cut there.
        complete = CopyRawBytes(&WinInitFile, &NewWinInitFile, Layout.keptLength);
        WriteEndRepairs(&NewWinInitFile);
        WriteBootLines(&NewWinInitFile);
    }
    complete = CloseTextFile(&WinInitFile) && complete;
    complete = CloseTextFile(&NewWinInitFile) && complete;
    if (complete)
        ReplaceWithNewCopy(WinInitPathBuffer, NewWinInitPathBuffer, OldWinInitPathBuffer);
    else
        DeleteFileA(NewWinInitPathBuffer);
}

// All lines or none: an append is written in one piece and cut back when
// that write fails.
static void AppendToWinInit()
{
    if (!OpenTextFile(&WinInitFile, WinInitPathBuffer, 'a'))
        return;
    WriteEndRepairs(&WinInitFile);
    WriteBootLines(&WinInitFile);
    CloseTextFile(&WinInitFile);
}

// The new file is written under its own name first: a file cut short by a
// failure or a sudden stop never stands as WinInit.INI.
static void CreateWinInit()
{
    if (!OpenTextFile(&NewWinInitFile, NewWinInitPathBuffer, 'w'))
        return;
    WriteText(&NewWinInitFile, "\n[Rename]\n", 10);
    WriteBootLines(&NewWinInitFile);
    if (CloseTextFile(&NewWinInitFile))
        ReplaceWithNewCopy(WinInitPathBuffer, NewWinInitPathBuffer, OldWinInitPathBuffer);
    else
        DeleteFileA(NewWinInitPathBuffer);
}

void ScheduleBootFileOps()
{
    if (!GetWindowsDirectoryInto(WindowsDirectoryBuffer) ||
        !GetSystemDirectoryInto(SystemDirectoryBuffer) ||
        !FormatText(WinInitPathBuffer, sizeof WinInitPathBuffer, "%s\\WinInit.INI",
                    WindowsDirectoryBuffer) ||
        !FormatText(NewWinInitPathBuffer, sizeof NewWinInitPathBuffer, "%s\\WinInit.SQN",
                    WindowsDirectoryBuffer) ||
        !FormatText(OldWinInitPathBuffer, sizeof OldWinInitPathBuffer, "%s\\WinInit.SQO",
                    WindowsDirectoryBuffer))
        return;
    // What an earlier run left when it stopped halfway is put right first;
    // the old file's lines must not be lost to a new file.
    if (!RecoverReplacement(WinInitPathBuffer, NewWinInitPathBuffer, OldWinInitPathBuffer))
        return;
    if (!OpenTextFile(&WinInitFile, WinInitPathBuffer, 'r')) {
        // A file that is there but cannot be read is not emptied.
        if (!PathExists(WinInitPathBuffer))
            CreateWinInit();
        return;
    }
    int scanned = ScanWinInit(&WinInitFile);
    CloseTextFile(&WinInitFile);
    if (!scanned)
        return;
    // The lines must land in the first [Rename] section, which Windows alone
    // carries out, and after the file's first Ctrl-Z nothing is read.
    if (Layout.insertAt != NOWHERE || Layout.hasCtrlZ)
        RewriteWinInit();
    else
        AppendToWinInit();
}
