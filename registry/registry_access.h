// The only code that calls the Windows registry services. Results are 1 for
// success and 0 for any failure; the registry's own codes are dropped.
#ifndef SQV_ENGINE_REGISTRY_ACCESS_H
#define SQV_ENGINE_REGISTRY_ACCESS_H

#include <windows.h>

#include "../runtime/buffers.h"

// A predefined root, which is never closed, or a key opened by OpenKey.
typedef HKEY RegistryKey;

// Never creates a key. After 0, `opened` holds nothing to use or close.
int OpenKey(RegistryKey root, const char *path, DWORD access, RegistryKey *opened);

// Name of the subkey at `index`; 0 past the last subkey or when the name with
// its zero byte does not fit the buffer.
int EnumSubkeyName(RegistryKey *key, DWORD index, PathBuffer &name);

// The value's bytes, whatever its type, ended by a zero byte inside the
// buffer. 0 (and the empty text) when the value is missing or longer than
// the buffer.
int QueryStringValue(RegistryKey *key, const char *valueName, PathBuffer &data);

// Removes the subkey (a name or a relative path) with everything beneath it.
int DeleteSubkey(RegistryKey *key, const char *subkeyPath);

// Ignores a null pointer; leaves the caller's variable as it was.
void CloseKey(RegistryKey *key);

int DeleteKeyUnder(RegistryKey root, const char *parentPath, const char *subkeyName);
int DeleteValueUnder(RegistryKey root, const char *keyPath, const char *valueName);

#endif
