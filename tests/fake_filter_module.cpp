// Stands in for one of the package's filter modules: a COM server whose
// unregistration leaves a mark, a line naming the module in a file on C:,
// so that a test sees RegSvr32.EXE really called it.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)&DllUnregisterServer, &self);
    char line[MAX_PATH + 2];
    DWORD length = GetModuleFileNameA(self, line, MAX_PATH);
    line[length++] = '\r';
    line[length++] = '\n';
    HANDLE marks = CreateFileA("C:\\filters-unregistered.txt", FILE_APPEND_DATA, FILE_SHARE_READ, 0,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    DWORD written;
    WriteFile(marks, line, length, &written, 0);
    CloseHandle(marks);
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    return S_OK;
}
