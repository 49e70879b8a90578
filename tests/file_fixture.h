// Files for tests under Wine, on the prefix's drive C: written and read back
// byte for byte through the Win32 file API, not through the code under test.
#ifndef SQV_TESTS_FILE_FIXTURE_H
#define SQV_TESTS_FILE_FIXTURE_H

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "caller_trace.h"

void WriteBytes(const std::string &path, const std::string &bytes);
// The file's bytes; a missing file fails the test and gives "" (check
// FileExists first where a file may be missing).
std::string ReadBytes(const std::string &path);

// Passes when the two are the same bytes; otherwise says where they part,
// with both sides around that place and both sizes (whole files are too
// long to print).
::testing::AssertionResult SameBytes(const std::string &want, const std::string &got);

bool FileExists(const std::string &path);
bool FolderExists(const std::string &path);
void MakeFolders(const std::string &path);
// Deletes a file or a whole folder, read-only ones included.
void RemovePath(const std::string &path);

std::string WindowsDirectory();
// The folder of the running test program, where the build put the program,
// the language modules and the filter modules beside it.
std::string ThisProgramsFolder();
std::string SystemDirectory();
std::string CurrentDirectory();

std::string WinInitPath();

// Runs a program to its end; returns its exit code, or -1 when it could not
// be started or did not end within `timeoutMs` (then the last error says
// why: the start's error, WAIT_TIMEOUT, or the wait's error).
DWORD RunAndWait(const std::string &commandLine, DWORD timeoutMs = 60000);

// Carries out WinInit.INI as the next start of Windows would.
void RunWinebootRestart();

// Keeps the process's current directory, which the INF step changes.
class FileTest : public ::testing::Test {
protected:
    void SetUp() override { savedDirectory = CurrentDirectory(); }
    void TearDown() override { SetCurrentDirectoryA(savedDirectory.c_str()); }
    std::string savedDirectory;
};

#endif
