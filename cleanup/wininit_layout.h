// What matters of an existing WinInit.INI for adding lines to its first
// [Rename] section, the only one Windows carries out at its next start.
#ifndef SQV_CLEANUP_WININIT_LAYOUT_H
#define SQV_CLEANUP_WININIT_LAYOUT_H

#include <windows.h>

#include "../runtime/buffers.h"
#include "../runtime/text_file.h"

// No section header follows the first [Rename] section.
enum { NO_INSERT_POINT = 0xFFFFFFFFu };

struct WinInitLayout {
    DWORD keptLength;     // bytes before the first Ctrl-Z (all, without one)
    int hasCtrlZ;
    int endsWithLineFeed; // the last kept byte is LF
    int hasRename;        // a [Rename] section header
    DWORD insertAt;       // start of the section header after the first
                          // [Rename] section, or NO_INSERT_POINT
};

// Reads the open file to its first Ctrl-Z or its end as raw bytes, through
// `block`, and describes it in `layout`. Section headers are found in any
// case of letters and with blanks around them. 0 when a read failed.
int ScanWinInitLayout(TextFile *file, LineBuffer &block, WinInitLayout *layout);

#endif
