#include "system_paths.h"

#include <windows.h>

#include "buffers.h"

static PathBuffer WindowsDirectoryBuffer;
static PathBuffer SystemDirectoryBuffer;

// Both calls return the length without the zero byte when it fits, else the
// size needed (or 0 on failure).
const char *FetchWindowsDirectory()
{
    UINT length = GetWindowsDirectoryA(WindowsDirectoryBuffer, sizeof WindowsDirectoryBuffer);
    return length != 0 && length < sizeof WindowsDirectoryBuffer ? WindowsDirectoryBuffer : 0;
}

const char *FetchSystemDirectory()
{
    UINT length = GetSystemDirectoryA(SystemDirectoryBuffer, sizeof SystemDirectoryBuffer);
    return length != 0 && length < sizeof SystemDirectoryBuffer ? SystemDirectoryBuffer : 0;
}
