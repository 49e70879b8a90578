// RunUninstall's registry steps on a registry that holds the whole package,
// and on one that holds none of it.
#include <string>
#include <vector>

#include "../uninstall/installed_files.h"
#include "../uninstall/uninstall_sequence.h"
#include "file_fixture.h"
#include "package_names.h"
#include "registry_fixture.h"

namespace {

struct FixedRemoval {
    HKEY root;
    const char *parent;
    const char *name;
    bool isValue;
};

#define VOLUME "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Volume Control"

// What the package leaves at fixed places, spelled as the package spells it.
const FixedRemoval FIXED_REMOVALS[] = {
    {HKEY_LOCAL_MACHINE, "Enum\\PCI", "VEN_5A3C&DEV_0C17", false},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwick Semiconductor", "QV512x", false},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\SessionManager\\Known16DLLs", "sqvaud16.drv", true},
    {HKEY_CLASSES_ROOT, "CLSID", "{6C1D2A95-4E3B-11D0-8E47-5A2F0C6B7D10}", false},
    {HKEY_CLASSES_ROOT, "Filter", "{6C1D2A95-4E3B-11D0-8E47-5A2F0C6B7D10}", false},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\CLSID", "{6C1D2A95-4E3B-11D0-8E47-5A2F0C6B7D10}", false},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Filter", "{6C1D2A95-4E3B-11D0-8E47-5A2F0C6B7D10}", false},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\PerfStats\\Enum", "SQVKERN", false},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwick Semiconductor", "3DPos", false},
    {HKEY_CLASSES_ROOT, "CLSID", "{2E94B7C3-51A8-11D0-9D06-3B7E41F2A085}", false},
    {HKEY_CLASSES_ROOT, "CLSID", "{4A07E1D2-6C95-11D0-B3C1-7D20E95F14A6}", false},
    {HKEY_CLASSES_ROOT, "CLSID", "{9F3B5C18-2D74-11D0-B3C1-7D20E95F14A6}", false},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\CLSID", "{2E94B7C3-51A8-11D0-9D06-3B7E41F2A085}", false},
    {HKEY_LOCAL_MACHINE, "Enum\\Root", "QV5120_Virtual_MPU-401", false},
    {HKEY_DYN_DATA, "Config Manager\\Enum", "C2ECFF48", false},
    {HKEY_LOCAL_MACHINE, "Enum", "QV5120", false},
    {HKEY_CLASSES_ROOT, "Filter", "{2E94B7C3-51A8-11D0-9D06-3B7E41F2A085}", false},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\MediaProperties\\PrivateProperties\\MIDI\\Schemes\\Default", "00", false},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MS-DOSOptions", "QV5120", false},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Multimedia\\Sound Mapper", "Playback", true},
    {HKEY_USERS, "Default\\Software\\Microsoft\\Multimedia\\Sound Mapper", "Playback", true},
    {HKEY_CURRENT_USER, VOLUME, "QV512X Mixer Driver", false},
    {HKEY_USERS, "Default\\" VOLUME, "QV512X Mixer Driver", false},
};

const char CLASS_MEDIA[] = "System\\CurrentControlSet\\Services\\Class\\MEDIA";
const char MEDIA_RESOURCES[] = "System\\CurrentControlSet\\Control\\MediaResources\\";
const char *const RESOURCE_KINDS[] = {"midi", "mixer", "wave"};

std::string Below(const std::string &key, const std::string &name)
{
    return key + "\\" + name;
}

void InstallPackageWithNeighbours()
{
    for (const FixedRemoval &removal : FIXED_REMOVALS) {
        if (removal.isValue) {
            SetTextValue(removal.root, removal.parent, removal.name, "package");
            SetTextValue(removal.root, removal.parent, "Neighbour", "kept");
        } else {
            SetTextValue(removal.root, Below(Below(removal.parent, removal.name), "Deep"), "V", "x");
            SetTextValue(removal.root, Below(removal.parent, removal.name), "V", "x");
            CreateKeyPath(removal.root, Below(removal.parent, "Neighbour"));
        }
    }

    for (const char *name : InstalledFileNames)
        SetTextValue(HKEY_LOCAL_MACHINE, INSTALLED_FILES_KEY, name, "C:\\WINDOWS\\SYSTEM");
    SetTextValue(HKEY_LOCAL_MACHINE, INSTALLED_FILES_KEY, "other.dll", "C:\\WINDOWS\\SYSTEM");

    SetTextValue(HKEY_LOCAL_MACHINE, Below(DEVICE_KEY, "0000"), "Driver", "MEDIA\\0000");
    SetTextValue(HKEY_LOCAL_MACHINE, Below(DEVICE_KEY, "0001"), "Driver", "MEDIA\\0001");
    SetTextValue(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0000"), "DriverDesc", "PCI Audio");
    SetTextValue(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0001"), "DriverDesc", "PCI Audio");
    SetTextValue(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0002"), "DriverDesc", "Other Sound");
    SetTextValue(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0003"), "DriverDesc", "Tarnwick QV512 MPU-401");
    CreateKeyPath(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1234&DEV_5678\\0000");

    for (const char *kind : RESOURCE_KINDS) {
        std::string key = std::string(MEDIA_RESOURCES) + kind;
        SetTextValue(HKEY_LOCAL_MACHINE, Below(key, "msacm.other"), "DeviceID", "ISAPNP\\OTHER");
        SetTextValue(HKEY_LOCAL_MACHINE, Below(key, "sqv.pci"), "DeviceID", "PCI\\VEN_5A3C&DEV_0C17");
        SetTextValue(HKEY_LOCAL_MACHINE, Below(key, "sqv.virtual"), "DeviceID", "QV5120 VIRTUAL");
    }
}

} // namespace

// RunUninstall runs the file steps too: each test starts without the
// package's keys and without the files those steps change, and tear-down
// puts every one of those files back as it was, whatever the test did.
class UninstallSequence : public RegistryTest {
protected:
    void SetUp() override
    {
        directory = CurrentDirectory();
        for (const FixedRemoval &removal : FIXED_REMOVALS)
            DeleteEntry(removal);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, DEVICE_KEY);
        for (const std::string &path : StepFiles()) {
            bool existed = FileExists(path);
            saved.push_back({path, existed, existed ? ReadBytes(path) : ""});
            RemovePath(path);
        }
    }
    void TearDown() override
    {
        RegistryTest::TearDown();
        SetCurrentDirectoryA(directory.c_str());
        for (const SavedFile &file : saved) {
            RemovePath(file.path);
            if (file.existed)
                WriteBytes(file.path, file.content);
        }
    }

private:
    struct SavedFile {
        std::string path;
        bool existed;
        std::string content;
    };
    static std::vector<std::string> StepFiles()
    {
        const std::string windows = WindowsDirectory();
        std::vector<std::string> files;
        for (const char *name : {"WinInit.INI", "WinInit.SQN", "WinInit.SQO", "DosStart.Bat", "DosStart.SQN",
                                 "DosStart.SQO"})
            files.push_back(windows + "\\" + name);
        for (const char *name : {"C:\\Autoexec.Bat", "C:\\Autoexec.SQN", "C:\\Autoexec.SQO"})
            files.push_back(name);
        return files;
    }
    static void DeleteEntry(const FixedRemoval &removal)
    {
        HKEY parent;
        if (RegOpenKeyExA(removal.root, removal.parent, 0, KEY_ALL_ACCESS, &parent) != ERROR_SUCCESS)
            return;
        if (removal.isValue)
            RegDeleteValueA(parent, removal.name);
        else
            RegDeleteTreeA(parent, removal.name);
        RegCloseKey(parent);
    }
    std::string directory;
    std::vector<SavedFile> saved;
};

TEST_F(UninstallSequence, RemovesTheWholePackageAndKeepsEverythingAroundIt)
{
    InstallPackageWithNeighbours();

    EXPECT_EQ(1, RunUninstall());

    for (const FixedRemoval &removal : FIXED_REMOVALS) {
        SCOPED_TRACE(std::string(removal.parent) + " : " + removal.name);
        if (removal.isValue) {
            EXPECT_FALSE(ValueExists(removal.root, removal.parent, removal.name));
            EXPECT_TRUE(ValueExists(removal.root, removal.parent, "Neighbour"));
        } else {
            EXPECT_FALSE(KeyExists(removal.root, Below(removal.parent, removal.name)));
            EXPECT_TRUE(KeyExists(removal.root, Below(removal.parent, "Neighbour")));
        }
    }
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwick Semiconductor"));

    for (const char *name : InstalledFileNames)
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, INSTALLED_FILES_KEY, name)) << name;
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, INSTALLED_FILES_KEY, "other.dll"));

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, DEVICE_KEY));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1234&DEV_5678\\0000"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0000")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0001")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0002")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Below(CLASS_MEDIA, "0003")));

    for (const char *kind : RESOURCE_KINDS) {
        SCOPED_TRACE(kind);
        std::string key = std::string(MEDIA_RESOURCES) + kind;
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Below(key, "msacm.other")));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Below(key, "sqv.pci")));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Below(key, "sqv.virtual")));
    }
}

TEST_F(UninstallSequence, RunsToTheEndAndCreatesNothingWhenNothingIsInstalled)
{
    bool parentExisted[sizeof FIXED_REMOVALS / sizeof FIXED_REMOVALS[0]];
    int i = 0;
    for (const FixedRemoval &removal : FIXED_REMOVALS)
        parentExisted[i++] = KeyExists(removal.root, removal.parent);
    uintptr_t handlesBefore = HighestFreshHandle();

    EXPECT_EQ(1, RunUninstall());
    EXPECT_EQ(handlesBefore, HighestFreshHandle()) << "a key handle was left open";

    i = 0;
    for (const FixedRemoval &removal : FIXED_REMOVALS) {
        SCOPED_TRACE(std::string(removal.parent) + " : " + removal.name);
        EXPECT_EQ(parentExisted[i++], KeyExists(removal.root, removal.parent));
        EXPECT_FALSE(KeyExists(removal.root, Below(removal.parent, removal.name)));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, INSTALLED_FILES_KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\MediaResources"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, CLASS_MEDIA));
}
