// Stands in for one of the package's filter modules: a COM server whose
// registration writes its class and filter keys, as the real module's does,
// and whose unregistration leaves a mark, a line naming the module in a file
// on C:, so that a test sees RegSvr32.EXE really called it. SQV_FILTER_CLSID
// and SQV_FILTER_NAME tell the two modules apart.
#include <windows.h>

#include "package_names.h"

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)&DllUnregisterServer, &self);
    char line[MAX_PATH + 2];
    DWORD length = GetModuleFileNameA(self, line, MAX_PATH);
    line[length++] = '\r';
    line[length++] = '\n';
    // The two RegSvr32.EXE processes run side by side: the file is shared
    // for writing, each line goes out in one appending write, and an open
    // that still meets the other module is tried again.
    HANDLE marks = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && marks == INVALID_HANDLE_VALUE; attempt++) {
        marks = CreateFileA(MARKS_PATH, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, 0);
        if (marks == INVALID_HANDLE_VALUE)
            Sleep(20);
    }
    if (marks == INVALID_HANDLE_VALUE)
        return E_FAIL;
    DWORD written;
    WriteFile(marks, line, length, &written, 0);
    CloseHandle(marks);
    return S_OK;
}

static bool SetDefaultValue(const char *path, const char *text)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, 0, 0, KEY_SET_VALUE, 0, &key, 0) != ERROR_SUCCESS)
        return false;
    bool set = RegSetValueExA(key, 0, 0, REG_SZ, (const BYTE *)text, lstrlenA(text) + 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)&DllRegisterServer, &self);
    char path[MAX_PATH];
    GetModuleFileNameA(self, path, MAX_PATH);
    bool done = SetDefaultValue("CLSID\\" SQV_FILTER_CLSID, SQV_FILTER_NAME) &&
                SetDefaultValue("CLSID\\" SQV_FILTER_CLSID "\\InprocServer32", path) &&
                SetDefaultValue("Filter\\" SQV_FILTER_CLSID, SQV_FILTER_NAME);
    return done ? S_OK : E_FAIL;
}
