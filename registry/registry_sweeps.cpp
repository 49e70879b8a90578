#include "registry_sweeps.h"

#include "../runtime/hardware_id.h"
#include "../runtime/text.h"
#include "registry_access.h"

#define DEVICE_KEY_PATH "Enum\\PCI\\" HARDWARE_ID
#define CLASS_KEY_PATH "System\\CurrentControlSet\\Services\\Class"

// The sweeps' work area. Static, as every buffer of the program (without a
// run-time there is no stack probe for large frames); the sweeps are
// therefore not reentrant.
static struct {
    PathBuffer instanceName; // an instance's name, then its "Driver" value
    PathBuffer instancePath;
    PathBuffer entryName;
    PathBuffer entryPath;
    PathBuffer entryValue;
} Work;

void SweepDeviceInstances()
{
    RegistryKey device;
    if (!OpenKey(HKEY_LOCAL_MACHINE, DEVICE_KEY_PATH, KEY_ALL_ACCESS, &device))
        return;
    // Deletions happen below the class key, so the instances keep their
    // numbering and the index only grows.
    for (DWORD index = 0; EnumSubkeyName(&device, index, Work.instanceName); index++) {
        if (!FormatText(Work.instancePath, sizeof Work.instancePath, DEVICE_KEY_PATH "\\%s",
                        Work.instanceName))
            continue; // the path would not fit: pass over this instance
        RegistryKey instance;
        if (!OpenKey(HKEY_LOCAL_MACHINE, Work.instancePath, KEY_ALL_ACCESS, &instance))
            break;
        int read = QueryStringValue(&instance, "Driver", Work.instanceName);
        CloseKey(&instance);
        if (!read)
            break;
        RegistryKey classKey;
        if (!OpenKey(HKEY_LOCAL_MACHINE, CLASS_KEY_PATH, KEY_ALL_ACCESS, &classKey))
            break;
        DeleteSubkey(&classKey, Work.instanceName);
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
    while (EnumSubkeyName(&walked, index, Work.entryName)) {
        if (!FormatText(Work.entryPath, sizeof Work.entryPath, "%s\\%s", walkedPath,
                        Work.entryName)) {
            index++; // the path would not fit: pass over this entry
            continue;
        }
        RegistryKey entry;
        if (!OpenKey(HKEY_LOCAL_MACHINE, Work.entryPath, KEY_ALL_ACCESS, &entry))
            break;
        int read = QueryStringValue(&entry, valueName, Work.entryValue);
        CloseKey(&entry);
        if (!read)
            break;
        // An entry that matches but cannot be deleted is passed over, or the
        // walk would return to it for ever.
        if (matches(Work.entryValue, matchText) && DeleteSubkey(&walked, Work.entryName))
            index = 0;
        else
            index++;
    }
    CloseKey(&walked);
}

static int NamesChipDevice(const char *deviceId, const char *)
{
    return (SearchText(deviceId, "PCI") && SearchText(deviceId, HARDWARE_ID)) ||
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
