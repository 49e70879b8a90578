// The Windows and system directories, without a trailing backslash.
#ifndef SQV_RUNTIME_SYSTEM_PATHS_H
#define SQV_RUNTIME_SYSTEM_PATHS_H

#include "buffers.h"

// 0 when the platform fails or the directory does not fit the buffer, so that
// no path is ever formed from a cut or undefined directory.
int GetWindowsDirectoryInto(PathBuffer &directory);
int GetSystemDirectoryInto(PathBuffer &directory);

#endif
