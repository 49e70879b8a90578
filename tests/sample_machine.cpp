#include "sample_machine.h"

#include <algorithm>

#include "file_fixture.h"
#include "package_names.h"
#include "ui_driver.h"

std::string SampleFolder()
{
    char folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("SQV_SAMPLE_DIR", folder, sizeof folder);
    return length && length < sizeof folder ? UnixPathToWindows(folder) : "";
}

bool ImportRegFile(const std::string &path)
{
    return RunAndWait(WindowsDirectory() + "\\regedit.exe /S \"" + path + "\"") == 0;
}

static void CopyTree(const std::string &from, const std::string &to,
                     std::vector<std::pair<std::string, std::string>> &copied)
{
    MakeFolders(to);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + "\\" + name, to + "\\" + name, copied);
        } else {
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
            copied.push_back({from + "\\" + name, to + "\\" + name});
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::vector<std::pair<std::string, std::string>> CopySampleFiles()
{
    std::vector<std::pair<std::string, std::string>> copied;
    std::string files = SampleFolder() + "\\files";
    CopyTree(files + "\\ROOT", "C:", copied);
    CopyTree(files + "\\WINDOWS", WindowsDirectory(), copied);
    CopyTree(files + "\\SYSTEM", SystemDirectory(), copied);
    return copied;
}

bool InstallFilterModules(const std::string &programFolder)
{
    for (const char *module : FILTER_MODULES) {
        std::string installed = SystemDirectory() + "\\" + module;
        if (!CopyFileA((programFolder + "\\" + module).c_str(), installed.c_str(), FALSE) ||
            RunAndWait(SystemDirectory() + "\\regsvr32.exe /s \"" + installed + "\"") != 0)
            return false;
    }
    return true;
}

static std::string UpperCase(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return text;
}

// `skipped`: names of subkeys left out (the current user's, snapshot apart).
static void SnapshotKey(HKEY key, const std::string &path, RegistrySnapshot &snapshot,
                        const char *skipped = 0)
{
    std::string upperPath = UpperCase(path);
    // Wine's own records: the system parameters changed in this session, and
    // the display adapters that its desktop writes when the first window of
    // a prefix appears.
    if (upperPath == "HKEY_CURRENT_USER\\SOFTWARE\\WINE\\TEMPORARY SYSTEM PARAMETERS" ||
        upperPath == "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\CONTROL\\VIDEO")
        return;
    snapshot[upperPath] = "";
    char name[16384];
    static BYTE data[1 << 20];
    for (DWORD index = 0;; index++) {
        DWORD nameLength = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, 0, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        std::string text;
        static const char HEX[] = "0123456789abcdef";
        for (DWORD i = 0; i < dataSize; i++) {
            text += HEX[data[i] >> 4];
            text += HEX[data[i] & 15];
        }
        snapshot[upperPath + "\t" + name] = std::to_string(type) + "\t" + text;
    }
    for (DWORD index = 0;; index++) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameLength, 0, 0, 0, 0) != ERROR_SUCCESS)
            break;
        HKEY subkey;
        if (skipped && std::string(name).compare(0, lstrlenA(skipped), skipped) == 0)
            continue;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            SnapshotKey(subkey, path + "\\" + name, snapshot);
            RegCloseKey(subkey);
        }
    }
}

RegistrySnapshot TakeRegistrySnapshot()
{
    RegistrySnapshot snapshot;
    SnapshotKey(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", snapshot);
    SnapshotKey(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", snapshot);
    SnapshotKey(HKEY_USERS, "HKEY_USERS", snapshot, "S-1-5-21-");
    SnapshotKey(HKEY_DYN_DATA, "HKEY_DYN_DATA", snapshot);
    return snapshot;
}

RegistryDifference CompareSnapshots(const RegistrySnapshot &before, const RegistrySnapshot &after)
{
    RegistryDifference difference;
    for (const auto &entry : before) {
        auto found = after.find(entry.first);
        if (found == after.end())
            difference.removed.push_back(entry.first);
        else if (found->second != entry.second)
            difference.changed.push_back(entry.first);
    }
    for (const auto &entry : after)
        if (!before.count(entry.first))
            difference.added.push_back(entry.first);
    return difference;
}

std::vector<std::string> EntriesOfRegFile(const std::string &path)
{
    std::string text = ReadBytes(path);
    std::vector<std::string> entries;
    std::string key;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        start = end + 1;
        if (line.size() > 2 && line[0] == '[') {
            key = UpperCase(line.substr(1, line.size() - 2));
            entries.push_back(key);
        } else if (line.compare(0, 2, "@=") == 0) {
            entries.push_back(key + "\t");
        } else if (line.size() > 1 && line[0] == '"') {
            entries.push_back(key + "\t" + line.substr(1, line.find('"', 1) - 1));
        }
    }
    return entries;
}

static std::string BaseName(const std::string &path) { return path.substr(path.rfind('\\') + 1); }

SampleFileKind ClassifySampleFile(const std::string &sampleFile)
{
    std::string name = BaseName(sampleFile);
    if (name == "AUTOEXEC.BAT" || name == "DOSSTART.BAT")
        return BATCH_FILE;
    if (name == "QV512X.INF" || name == "TARNWICKQV512X.INF")
        return INF_NAMING_THE_CARD;
    if (name == "MSDSOUND.DLL")
        return REPLACEMENT_OF_DSOUND;
    if ((sampleFile.find("\\SYSTEM\\") != std::string::npos && name != "SQVAUD17.DRV") ||
        sampleFile.find("\\SQVFILES\\") != std::string::npos)
        return PACKAGE_FILE;
    return OTHER_FILE;
}
