#include "registry_fixture.h"

#include <utility>
#include <vector>

namespace {

struct CreatedValue {
    HKEY root;
    std::string path;
    std::string name;
};

std::vector<std::pair<HKEY, std::string>> createdKeys;
std::vector<CreatedValue> createdValues;

bool ValueExistsIn(HKEY key, const char *name)
{
    return RegQueryValueExA(key, name, 0, 0, 0, 0) == ERROR_SUCCESS;
}

} // namespace

void CreateKeyPath(HKEY root, const std::string &path)
{
    size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('\\', end + 1);
        std::string level = path.substr(0, end);
        if (KeyExists(root, level))
            continue;
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, level.c_str(), 0, 0, 0, KEY_ALL_ACCESS, 0,
                                                 &key, 0))
            << "creating " << level;
        RegCloseKey(key);
        createdKeys.push_back({root, level});
    }
}

void SetRawValue(HKEY root, const std::string &path, const char *name, DWORD type,
                 const void *data, DWORD size)
{
    CreateKeyPath(root, path);
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key));
    if (!ValueExistsIn(key, name))
        createdValues.push_back({root, path, name});
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, (const BYTE *)data, size))
        << "setting " << path << " " << name;
    RegCloseKey(key);
}

void SetTextValue(HKEY root, const std::string &path, const char *name, const std::string &text)
{
    SetRawValue(root, path, name, REG_SZ, text.c_str(), (DWORD)text.size() + 1);
}

bool KeyExists(HKEY root, const std::string &path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(HKEY root, const std::string &path, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool exists = ValueExistsIn(key, name);
    RegCloseKey(key);
    return exists;
}

void RemoveCreatedRegistryEntries()
{
    for (const CreatedValue &value : createdValues) {
        HKEY key;
        if (RegOpenKeyExA(value.root, value.path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, value.name.c_str());
            RegCloseKey(key);
        }
    }
    createdValues.clear();
    for (auto key = createdKeys.rbegin(); key != createdKeys.rend(); ++key) {
        RegDeleteTreeA(key->first, key->second.c_str());
        RegDeleteKeyA(key->first, key->second.c_str());
        EXPECT_FALSE(KeyExists(key->first, key->second)) << "left behind: " << key->second;
    }
    createdKeys.clear();
}

uintptr_t HighestFreshHandle()
{
    // Wine opens a predefined root on the first use of a path below it and
    // keeps that handle: use each once, so that this is not taken for a leak.
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                          HKEY_DYN_DATA};
    for (HKEY root : roots) {
        HKEY key;
        if (RegOpenKeyExA(root, "SqvWarmUp", 0, KEY_READ, &key) == ERROR_SUCCESS)
            RegCloseKey(key);
    }
    HANDLE handles[64];
    uintptr_t highest = 0;
    for (HANDLE &handle : handles) {
        handle = CreateEventA(0, TRUE, FALSE, 0);
        if ((uintptr_t)handle > highest)
            highest = (uintptr_t)handle;
    }
    for (HANDLE handle : handles)
        CloseHandle(handle);
    return highest;
}
