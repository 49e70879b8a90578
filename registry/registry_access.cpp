#include "registry_access.h"

// Receives the class text of every enumerated subkey; nothing reads it.
// Program-wide, so EnumSubkeyName is not reentrant.
static PathBuffer EnumeratedClassBuffer;

int OpenKey(RegistryKey root, const char *path, DWORD access, RegistryKey *opened)
{
    return RegOpenKeyExA(root, path, 0, access, opened) == ERROR_SUCCESS;
}

int EnumSubkeyName(RegistryKey *key, DWORD index, PathBuffer &name)
{
    DWORD nameSize = sizeof name;
    DWORD classSize = sizeof EnumeratedClassBuffer;
    FILETIME lastWrite;
    return RegEnumKeyExA(*key, index, name, &nameSize, 0, EnumeratedClassBuffer,
                         &classSize, &lastWrite) == ERROR_SUCCESS;
}

int QueryStringValue(RegistryKey *key, const char *valueName, PathBuffer &data)
{
    DWORD type;
    DWORD size = sizeof data;
    if (RegQueryValueExA(*key, valueName, 0, &type, (BYTE *)data, &size) != ERROR_SUCCESS) {
        data[0] = 0;
        return 0;
    }
    // Binary data, or a text stored without its zero byte, has no end of its
    // own: callers use the buffer as a text, so end it inside the buffer.
    data[size < sizeof data ? size : sizeof data - 1] = 0;
    return 1;
}

static int DeleteKeyTree(HKEY parent, const char *path);

// Deletes every subkey of `key`, depth-first. Stops at the first subkey that
// cannot go, or the walk at index 0 would meet it forever.
static int DeleteAllSubkeys(HKEY key)
{
    char name[256]; // a registry key name has at most 255 characters
    for (;;) {
        DWORD size = sizeof name;
        LONG result = RegEnumKeyExA(key, 0, name, &size, 0, 0, 0, 0);
        if (result == ERROR_NO_MORE_ITEMS)
            return 1;
        if (result != ERROR_SUCCESS || !DeleteKeyTree(key, name))
            return 0;
    }
}

static int DeleteKeyTree(HKEY parent, const char *path)
{
    // Windows 95 deletes a whole tree in one call; the NT family refuses a
    // key that has subkeys, so empty it first and try again.
    if (RegDeleteKeyA(parent, path) == ERROR_SUCCESS)
        return 1;
    HKEY key;
    if (RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    int emptied = DeleteAllSubkeys(key);
    RegCloseKey(key);
    return emptied && RegDeleteKeyA(parent, path) == ERROR_SUCCESS;
}

int DeleteSubkey(RegistryKey *key, const char *subkeyPath)
{
    // An empty path names the open key itself: a "Driver" value left empty
    // must not wipe out the whole class key.
    if (subkeyPath[0] == 0)
        return 0;
    return DeleteKeyTree(*key, subkeyPath);
}

void CloseKey(RegistryKey *key)
{
    if (key != 0)
        RegCloseKey(*key);
}

int DeleteKeyUnder(RegistryKey root, const char *parentPath, const char *subkeyName)
{
    RegistryKey parent;
    if (!OpenKey(root, parentPath, KEY_ALL_ACCESS, &parent))
        return 0;
    int deleted = DeleteSubkey(&parent, subkeyName);
    CloseKey(&parent);
    return deleted;
}

int DeleteValueUnder(RegistryKey root, const char *keyPath, const char *valueName)
{
    RegistryKey key;
    if (!OpenKey(root, keyPath, KEY_ALL_ACCESS, &key))
        return 0;
    int deleted = RegDeleteValueA(key, valueName) == ERROR_SUCCESS;
    CloseKey(&key);
    return deleted;
}
