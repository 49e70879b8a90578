// Entry of the runtime-free check DLL: it only has to exist, so that the DLL
// links with -nostdlib and every unresolved C run-time call shows up.
#include <windows.h>

extern "C" BOOL WINAPI RuntimeFreeCheckEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
