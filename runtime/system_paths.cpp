#include "system_paths.h"

#include <windows.h>

// Both calls return the length without the zero byte when it fits, else the
// size needed (or 0 on failure).
int GetWindowsDirectoryInto(PathBuffer &directory)
{
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    return length != 0 && length < sizeof directory;
}

int GetSystemDirectoryInto(PathBuffer &directory)
{
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    return length != 0 && length < sizeof directory;
}
