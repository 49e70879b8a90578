// The three registry sweeps against Wine's real registry. Wine numbers
// subkeys in name order, so entry names fix the walk order.
#include <string>

#include "../registry/registry_sweeps.h"
#include "package_names.h"
#include "registry_fixture.h"

namespace {

const char CLASS_KEY[] = "System\\CurrentControlSet\\Services\\Class";
const char MIDI_KEY[] = "System\\CurrentControlSet\\Control\\MediaResources\\midi";
const char MEDIA_CLASS_KEY[] = "System\\CurrentControlSet\\Services\\Class\\MEDIA";

std::string Below(const char *key, const std::string &name)
{
    return std::string(key) + "\\" + name;
}

void AddInstance(const std::string &name, const char *driver)
{
    if (driver)
        SetTextValue(HKEY_LOCAL_MACHINE, Below(DEVICE_KEY, name), "Driver", driver);
    else
        CreateKeyPath(HKEY_LOCAL_MACHINE, Below(DEVICE_KEY, name));
}

void AddClassKey(const std::string &path)
{
    SetTextValue(HKEY_LOCAL_MACHINE, Below(CLASS_KEY, path), "DriverDesc", "some driver");
}

bool ClassKeyExists(const std::string &path)
{
    return KeyExists(HKEY_LOCAL_MACHINE, Below(CLASS_KEY, path));
}

void AddEntry(const char *key, const std::string &name, const char *valueName, const std::string &value)
{
    SetTextValue(HKEY_LOCAL_MACHINE, Below(key, name), valueName, value);
    CreateKeyPath(HKEY_LOCAL_MACHINE, Below(key, name + "\\Beneath"));
}

bool EntryExists(const char *key, const std::string &name)
{
    return KeyExists(HKEY_LOCAL_MACHINE, Below(key, name));
}

} // namespace

using DeviceInstanceSweep = RegistryTest;

TEST_F(DeviceInstanceSweep, DeletesEachInstancesDriverKeyAndStopsAtAnInstanceWithoutOne)
{
    AddClassKey("MEDIA\\0000");
    AddClassKey("MEDIA\\0002");
    AddInstance("0000", "MEDIA\\0000");
    AddInstance("0001", nullptr);
    AddInstance("0002", "MEDIA\\0002");
    uintptr_t handlesBefore = HighestFreshHandle();

    SweepDeviceInstances();

    EXPECT_FALSE(ClassKeyExists("MEDIA\\0000"));
    EXPECT_TRUE(ClassKeyExists("MEDIA\\0002")) << "the walk ends at the instance without Driver";
    EXPECT_TRUE(EntryExists(DEVICE_KEY, "0000")) << "instance keys are left for the next step";
    EXPECT_EQ(handlesBefore, HighestFreshHandle()) << "a key handle was left open";
}

TEST_F(DeviceInstanceSweep, GoesOnPastDriverValuesThatNameNoKey)
{
    AddClassKey("MEDIA\\0000\\Beneath");
    AddClassKey("MEDIA\\0001");
    AddClassKey("MEDIA\\0003");
    AddInstance("0000", "MEDIA\\0001");  // two levels: only 0001 goes
    AddInstance("0001", "MEDIA\\0001");  // the same key again: already gone
    AddInstance("0002", "MEDIA\\0009");  // names no key
    AddInstance("0003", "");             // empty: must not delete the class key itself
    AddInstance(std::string(101, 'L'), "MEDIA\\0002"); // path too long for the buffer
    AddInstance("ZZZZ", "MEDIA\\0003");

    SweepDeviceInstances();

    EXPECT_FALSE(ClassKeyExists("MEDIA\\0001"));
    EXPECT_FALSE(ClassKeyExists("MEDIA\\0003")) << "instances after the failures are still handled";
    EXPECT_TRUE(ClassKeyExists("MEDIA\\0000\\Beneath"));
    EXPECT_TRUE(ClassKeyExists("MEDIA"));
}

TEST_F(DeviceInstanceSweep, DoesNothingWithoutTheDeviceKey)
{
    AddClassKey("MEDIA\\0000");
    SweepDeviceInstances();
    EXPECT_TRUE(ClassKeyExists("MEDIA\\0000"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, DEVICE_KEY));
}

using MediaResourceSweep = RegistryTest;

TEST_F(MediaResourceSweep, DeletesExactlyTheEntriesWhoseDeviceIdNamesTheChip)
{
    struct Case {
        const char *deviceId;
        bool removed;
    };
    const Case cases[] = {
        // DeviceID                                   removed
        {"PCI\\VEN_5A3C&DEV_0C17&SUBSYS_00000000", true},
        {"VEN_5A3C&DEV_0C17 on PCI", true},
        {"pci\\ven_5a3c&dev_0c17", false},
        {"ROOT\\QV5120_VIRTUAL_MPU", true},
        {"VIRTUAL QV512", true},
        {"PCI\\QV512", false},
        {"QV512 Virtual", false},
        {"PCI\\VEN_1234&DEV_0C17", false},
        {"", false},
    };
    int row = 0;
    for (const Case &c : cases)
        AddEntry(MIDI_KEY, "E" + std::to_string(row++), "DeviceID", c.deviceId);

    SweepMediaResources(MIDI_KEY);

    row = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.deviceId);
        EXPECT_EQ(c.removed, !EntryExists(MIDI_KEY, "E" + std::to_string(row++)));
    }
}

// Every deletion starts the walk again, so many entries make many walks:
// 1,000 entries, one in ten of the chip, all found and nothing else taken.
TEST_F(MediaResourceSweep, HandlesAThousandEntries)
{
    for (int i = 0; i < 1000; i++) {
        char name[32];
        snprintf(name, sizeof name, "driver%04d.drv<0000>", i);
        AddEntry(MIDI_KEY, name, "DeviceID", i % 10 == 3 ? std::string("PCI\\") + ID : "ROOT\\OTHER\\0000");
    }
    SweepMediaResources(MIDI_KEY);
    int left = 0, wrong = 0;
    for (int i = 0; i < 1000; i++) {
        char name[32];
        snprintf(name, sizeof name, "driver%04d.drv<0000>", i);
        bool exists = EntryExists(MIDI_KEY, name);
        left += exists;
        wrong += exists == (i % 10 == 3);
    }
    EXPECT_EQ(900, left);
    EXPECT_EQ(0, wrong);
}

TEST_F(MediaResourceSweep, StartsAgainAfterEachDeletionAndEndsAtTheFirstUnreadableEntry)
{
    AddEntry(MIDI_KEY, "E0", "DeviceID", "ISAPNP\\OTHER");
    AddEntry(MIDI_KEY, "E1", "DeviceID", std::string("PCI\\") + ID);
    AddEntry(MIDI_KEY, "E2", "DeviceID", "QV512 VIRTUAL");
    AddEntry(MIDI_KEY, "E3", "DeviceID", std::string(127, 'A'));
    AddEntry(MIDI_KEY, "E4", "DeviceID", "PCI" + std::string(124, '-')); // 127: tested, stays
    AddEntry(MIDI_KEY, "E4M", "DeviceID", std::string("PCI\\") + ID + std::string(106, '-')); // 127, of the chip
    AddEntry(MIDI_KEY, "E5", "DeviceID", std::string("PCI\\") + ID + std::string(107, '-')); // 128
    AddEntry(MIDI_KEY, "E6", "DeviceID", std::string("PCI\\") + ID);
    uintptr_t handlesBefore = HighestFreshHandle();

    SweepMediaResources(MIDI_KEY);

    EXPECT_TRUE(EntryExists(MIDI_KEY, "E0"));
    EXPECT_FALSE(EntryExists(MIDI_KEY, "E1"));
    EXPECT_FALSE(EntryExists(MIDI_KEY, "E2"));
    EXPECT_TRUE(EntryExists(MIDI_KEY, "E3"));
    EXPECT_TRUE(EntryExists(MIDI_KEY, "E4"));
    EXPECT_FALSE(EntryExists(MIDI_KEY, "E4M")) << "the longest value that fits is tested whole";
    EXPECT_TRUE(EntryExists(MIDI_KEY, "E5")) << "a 128-character value ends the walk";
    EXPECT_TRUE(EntryExists(MIDI_KEY, "E6")) << "entries after the end are not tested";
    EXPECT_EQ(handlesBefore, HighestFreshHandle()) << "a key handle was left open";
}

TEST_F(MediaResourceSweep, EndsAtOnceAtAnEntryWithoutDeviceId)
{
    CreateKeyPath(HKEY_LOCAL_MACHINE, Below(MIDI_KEY, "E0"));
    AddEntry(MIDI_KEY, "E1", "DeviceID", std::string("PCI\\") + ID);
    SweepMediaResources(MIDI_KEY);
    EXPECT_TRUE(EntryExists(MIDI_KEY, "E1"));
}

TEST_F(MediaResourceSweep, PassesOverEntriesWhosePathDoesNotFit)
{
    // The walked path has 52 characters, so names over 74 do not fit.
    const std::string tooLong = "A" + std::string(74, 'n'), longest = "B" + std::string(73, 'n');
    AddEntry(MIDI_KEY, tooLong, "DeviceID", std::string("PCI\\") + ID);
    AddEntry(MIDI_KEY, longest, "DeviceID", std::string("PCI\\") + ID);
    AddEntry(MIDI_KEY, "C", "DeviceID", "QV512 VIRTUAL");

    SweepMediaResources(MIDI_KEY);

    EXPECT_TRUE(EntryExists(MIDI_KEY, tooLong));
    EXPECT_FALSE(EntryExists(MIDI_KEY, longest));
    EXPECT_FALSE(EntryExists(MIDI_KEY, "C")) << "entries after the long one are still tested";
}

TEST_F(MediaResourceSweep, DoesNothingWithoutTheWalkedKey)
{
    SweepMediaResources(MIDI_KEY);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, MIDI_KEY));
}

using MediaClassSweep = RegistryTest;

TEST_F(MediaClassSweep, DeletesEntriesWhoseDriverDescContainsTheTextExactly)
{
    const struct {
        const char *entry, *driverDesc;
        bool removed;
    } cases[] = {
        // entry  DriverDesc                   removed
        {"0000", "Tarnwick QV512 PCI Audio", true},
        {"0001", "Tarnwick  QV512", false},
        {"0002", "tarnwick qv512", false},
        {"0003", "The Tarnwick QV512", true},
    };
    for (const auto &c : cases)
        AddEntry(MEDIA_CLASS_KEY, c.entry, "DriverDesc", c.driverDesc);

    SweepMediaClass(MEDIA_CLASS_KEY, "Tarnwick QV512");

    for (const auto &c : cases)
        EXPECT_EQ(c.removed, !EntryExists(MEDIA_CLASS_KEY, c.entry)) << c.driverDesc;
}
