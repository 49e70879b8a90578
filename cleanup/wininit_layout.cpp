#include "wininit_layout.h"

#include "../runtime/text.h"

// Looks at one line: `head` holds its first bytes after leading blanks,
// `significant` its length up to its last byte that is no blank or CR.
static void ClassifyLine(char *head, unsigned significant, DWORD lineStart, WinInitLayout *layout)
{
    if (significant == 0 || head[0] != '[')
        return;
    UpperCaseBytes(head, significant < 8 ? significant : 8);
    int isRename = significant == 8 && SearchBytes(head, 8, "[RENAME]") == head;
    if (!layout->hasRename)
        layout->hasRename = isRename;
    else if (layout->insertAt == NO_INSERT_POINT)
        layout->insertAt = lineStart;
}

int ScanWinInitLayout(TextFile *file, LineBuffer &block, WinInitLayout *layout)
{
    char head[8];
    unsigned headLength = 0, significant = 0;
    DWORD offset = 0, lineStart = 0;
    int lastByte = -1;
    layout->hasCtrlZ = 0;
    layout->hasRename = 0;
    layout->insertAt = NO_INSERT_POINT;
    unsigned got;
    while (!layout->hasCtrlZ && (got = ReadRawBlock(file, block, sizeof block)) != 0) {
        for (unsigned i = 0; i < got; i++, offset++) {
            char byte = block[i];
            if (byte == CTRL_Z) {
                layout->hasCtrlZ = 1;
                break;
            }
            lastByte = (unsigned char)byte;
            if (byte == '\n') {
                ClassifyLine(head, significant, lineStart, layout);
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
    ClassifyLine(head, significant, lineStart, layout);
    layout->keptLength = offset;
    layout->endsWithLineFeed = lastByte == '\n';
    return !file->failed;
}
