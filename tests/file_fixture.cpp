#include "file_fixture.h"

void WriteBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "creating " << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, 0);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written) << "writing " << path;
}

std::string ReadBytes(const std::string &path)
{
    // Shared for writing: another process may still be appending to it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "expected a file " << path << ", but it cannot be opened (error " << GetLastError() << ")";
        return "";
    }
    std::string bytes;
    char block[65536];
    DWORD got;
    while (ReadFile(file, block, sizeof block, &got, 0) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

static std::string Excerpt(const std::string &bytes, size_t at)
{
    std::string shown;
    for (size_t i = at; i < bytes.size() && i < at + 40; i++) {
        unsigned char c = (unsigned char)bytes[i];
        char escaped[8];
        if (c >= 0x20 && c < 0x7F && c != '\\')
            shown += (char)c;
        else {
            snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    return "\"" + shown + "\"";
}

::testing::AssertionResult SameBytes(const std::string &want, const std::string &got)
{
    if (want == got)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < want.size() && at < got.size() && want[at] == got[at])
        at++;
    return ::testing::AssertionFailure() << "expected " << want.size() << " bytes, got " << got.size()
                                         << "; they part at byte " << at << ": expected " << Excerpt(want, at)
                                         << ", got " << Excerpt(got, at);
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::string &path)
{
    for (size_t end = path.find('\\', 3); ; end = path.find('\\', end + 1)) {
        CreateDirectoryA(path.substr(0, end).c_str(), 0);
        if (end == std::string::npos)
            break;
    }
}

void RemovePath(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name != "." && name != "..")
                RemovePath(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

std::string WindowsDirectory()
{
    char directory[MAX_PATH];
    GetWindowsDirectoryA(directory, sizeof directory);
    return directory;
}

std::string SystemDirectory()
{
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, sizeof directory);
    return directory;
}

std::string CurrentDirectory()
{
    char directory[MAX_PATH];
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

std::string ThisProgramsFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(0, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

std::string WinInitPath()
{
    return WindowsDirectory() + "\\WinInit.INI";
}

DWORD RunAndWait(const std::string &commandLine, DWORD timeoutMs)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessA(0, &line[0], 0, 0, FALSE, 0, 0, 0, &startup, &process))
        return (DWORD)-1;
    DWORD code = (DWORD)-1, error = NO_ERROR;
    DWORD waited = WaitForSingleObject(process.hProcess, timeoutMs);
    if (waited == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        error = waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetLastError(error);
    return code;
}

void RunWinebootRestart()
{
    ASSERT_NE((DWORD)-1, RunAndWait(SystemDirectory() + "\\wineboot.exe -r"))
        << "wineboot -r did not run to its end";
}
