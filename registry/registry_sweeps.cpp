#include "registry_sweeps.h"

#include "../runtime/text.h"
#include "registry_access.h"

#define DEVICE_KEY_PATH "Enum\\PCI\\VEN_5A3C&DEV_0C17"
#define CLASS_KEY_PATH "System\\CurrentControlSet\\Services\\Class"

// Each sweep's own buffers, program-wide: the sweeps are not reentrant.
static PathBuffer InstanceNameBuffer; // an instance's name, then its "Driver" value
static PathBuffer InstancePathBuffer;
static PathBuffer EntryNameBuffer;
static PathBuffer EntryPathBuffer;
static PathBuffer EntryValueBuffer;

void SweepDeviceInstances()
{
    RegistryKey device;
    if (!OpenKey(HKEY_LOCAL_MACHINE, DEVICE_KEY_PATH, KEY_ALL_ACCESS, &device))
        return;
    // Deletions happen below the class key, so the instances keep their
    // numbering and the index only grows.
    for (DWORD index = 0; EnumSubkeyName(&device, index, InstanceNameBuffer); index++) {
        if (!FormatText(InstancePathBuffer, sizeof InstancePathBuffer, DEVICE_KEY_PATH "\\%s",
                        InstanceNameBuffer))
            continue; // the path would not fit: pass over this instance
        RegistryKey instance;
        if (!OpenKey(HKEY_LOCAL_MACHINE, InstancePathBuffer, KEY_ALL_ACCESS, &instance))
            break;
        int read = QueryStringValue(&instance, "Driver", InstanceNameBuffer);
        CloseKey(&instance);
        if (!read)
            break;
        RegistryKey classKey;
        if (!OpenKey(HKEY_LOCAL_MACHINE, CLASS_KEY_PATH, KEY_ALL_ACCESS, &classKey))
            break;
        DeleteSubkey(&classKey, InstanceNameBuffer);
        CloseKey(&classKey);
    }
    CloseKey(&device);
}

// Walks the entries of one key and deletes those whose `valueName` passes
// `matches`. After a deletion the walk starts again at index 0, since the
// numbering of the remaining entries may have changed.
static void SweepEntries(const char *walkedPath, const char *valueName,
                         int (*matches)(const char *value, const char *matchText),
                         const char *matchText)
{
    RegistryKey walked;
    if (!OpenKey(HKEY_LOCAL_MACHINE, walkedPath, KEY_ALL_ACCESS, &walked))
        return;
    DWORD index = 0;
    while (EnumSubkeyName(&walked, index, EntryNameBuffer)) {
        if (!FormatText(EntryPathBuffer, sizeof EntryPathBuffer, "%s\\%s", walkedPath,
                        EntryNameBuffer)) {
            index++; // the path would not fit: pass over this entry
            continue;
        }
        RegistryKey entry;
        if (!OpenKey(HKEY_LOCAL_MACHINE, EntryPathBuffer, KEY_ALL_ACCESS, &entry))
            break;
        int read = QueryStringValue(&entry, valueName, EntryValueBuffer);
        CloseKey(&entry);
        if (!read)
            break;
        // An entry that matches but cannot be deleted is passed over, or the
        // walk would return to it for ever.
        if (matches(EntryValueBuffer, matchText) && DeleteSubkey(&walked, EntryNameBuffer))
            index = 0;
        else
            index++;
    }
    CloseKey(&walked);
}

static int NamesChipDevice(const char *deviceId, const char *)
{
    return (SearchText(deviceId, "PCI") && SearchText(deviceId, "VEN_5A3C&DEV_0C17")) ||
           (SearchText(deviceId, "QV512") && SearchText(deviceId, "VIRTUAL"));
}

static int ContainsMatchText(const char *driverDesc, const char *matchText)
{
    return SearchText(driverDesc, matchText) != 0;
}

void SweepMediaResources(const char *walkedPath)
{
    SweepEntries(walkedPath, "DeviceID", NamesChipDevice, 0);
}

void SweepMediaClass(const char *walkedPath, const char *matchText)
{
    SweepEntries(walkedPath, "DriverDesc", ContainsMatchText, matchText);
}
