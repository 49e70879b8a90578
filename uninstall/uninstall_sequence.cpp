#include "uninstall_sequence.h"

#include "../runtime/hardware_id.h"
#include "../cleanup/batch_cleanup.h"
#include "../cleanup/boot_file_ops.h"
#include "../cleanup/filter_unregistration.h"
#include "../cleanup/inf_removal.h"
#include "installed_files.h"
#include "../registry/registry_access.h"
#include "../registry/registry_sweeps.h"

enum StepOperation {
    SWEEP_DEVICE_INSTANCES,
    DELETE_KEY,
    DELETE_VALUE,
    FORGET_INSTALLED_FILES,
    SWEEP_MEDIA_RESOURCES,
    SWEEP_MEDIA_CLASS,
    SCHEDULE_BOOT_FILE_OPS,
    REMOVE_DEVICE_INF_FILES,
    UNREGISTER_FILTERS,
    CLEAN_STARTUP_BATCH_FILES,
};

struct UninstallStep {
    StepOperation operation;
    RegistryKey root;
    const char *keyPath;
    const char *name; // subkey or value to delete, or the media class match text
};

#define HKLM HKEY_LOCAL_MACHINE
#define HKCR HKEY_CLASSES_ROOT
#define HKCU HKEY_CURRENT_USER
#define HKU HKEY_USERS
#define HKDD HKEY_DYN_DATA

#define CLASS_A "{6C1D2A95-4E3B-11D0-8E47-5A2F0C6B7D10}"
#define CLASS_B "{2E94B7C3-51A8-11D0-9D06-3B7E41F2A085}"
#define CLASS_C "{4A07E1D2-6C95-11D0-B3C1-7D20E95F14A6}"
#define CLASS_D "{9F3B5C18-2D74-11D0-B3C1-7D20E95F14A6}"

#define VOLUME_CONTROL_PATH "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Volume Control"

// The order is part of the behaviour: step 1 reads the instance keys that
// step 2 deletes; step 31 leaves the INF\OTHER folder current; step 32 runs
// while the filter modules are still there, since step 30 only schedules
// their deletion. "control" in lower case (steps 14 and 24),
// "SessionManager" and "MS-DOSOptions" as one word, and "Default" without a
// dot are the package's own spellings.
static const UninstallStep UninstallSteps[UNINSTALL_STEP_COUNT] = {
    /*  1 */ {SWEEP_DEVICE_INSTANCES, HKLM, 0, 0},
    /*  2 */ {DELETE_KEY, HKLM, "Enum\\PCI", HARDWARE_ID},
    /*  3 */ {DELETE_KEY, HKLM, "SOFTWARE\\Tarnwick Semiconductor", "QV512x"},
    /*  4 */ {FORGET_INSTALLED_FILES, HKLM, INSTALLED_FILES_KEY, 0},
    /*  5 */ {SWEEP_MEDIA_RESOURCES, HKLM, "System\\CurrentControlSet\\Control\\MediaResources\\midi", 0},
    /*  6 */ {SWEEP_MEDIA_RESOURCES, HKLM, "System\\CurrentControlSet\\Control\\MediaResources\\mixer", 0},
    /*  7 */ {SWEEP_MEDIA_RESOURCES, HKLM, "System\\CurrentControlSet\\Control\\MediaResources\\wave", 0},
    /*  8 */ {DELETE_VALUE, HKLM, "System\\CurrentControlSet\\Control\\SessionManager\\Known16DLLs", "sqvaud16.drv"},
    /*  9 */ {DELETE_KEY, HKCR, "CLSID", CLASS_A},
    /* 10 */ {DELETE_KEY, HKCR, "Filter", CLASS_A},
    /* 11 */ {DELETE_KEY, HKLM, "SOFTWARE\\Classes\\CLSID", CLASS_A},
    /* 12 */ {DELETE_KEY, HKLM, "SOFTWARE\\Classes\\Filter", CLASS_A},
    /* 13 */ {SWEEP_MEDIA_CLASS, HKLM, "System\\CurrentControlSet\\Services\\Class\\MEDIA", "Tarnwick QV512"},
    /* 14 */ {DELETE_KEY, HKLM, "System\\CurrentControlSet\\control\\PerfStats\\Enum", "SQVKERN"},
    /* 15 */ {DELETE_KEY, HKLM, "SOFTWARE\\Tarnwick Semiconductor", "3DPos"},
    /* 16 */ {DELETE_KEY, HKCR, "CLSID", CLASS_B},
    /* 17 */ {DELETE_KEY, HKCR, "CLSID", CLASS_C},
    /* 18 */ {DELETE_KEY, HKCR, "CLSID", CLASS_D},
    /* 19 */ {DELETE_KEY, HKLM, "SOFTWARE\\Classes\\CLSID", CLASS_B},
    /* 20 */ {DELETE_KEY, HKLM, "Enum\\Root", "QV5120_Virtual_MPU-401"},
    /* 21 */ {DELETE_KEY, HKDD, "Config Manager\\Enum", "C2ECFF48"},
    /* 22 */ {DELETE_KEY, HKLM, "Enum", "QV5120"},
    /* 23 */ {DELETE_KEY, HKCR, "Filter", CLASS_B},
    /* 24 */ {DELETE_KEY, HKLM, "System\\CurrentControlSet\\control\\MediaProperties\\PrivateProperties\\MIDI\\Schemes\\Default", "00"},
    /* 25 */ {DELETE_KEY, HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MS-DOSOptions", "QV5120"},
    /* 26 */ {DELETE_VALUE, HKCU, "Software\\Microsoft\\Multimedia\\Sound Mapper", "Playback"},
    /* 27 */ {DELETE_VALUE, HKU, "Default\\Software\\Microsoft\\Multimedia\\Sound Mapper", "Playback"},
    /* 28 */ {DELETE_KEY, HKCU, VOLUME_CONTROL_PATH, "QV512X Mixer Driver"},
    /* 29 */ {DELETE_KEY, HKU, "Default\\" VOLUME_CONTROL_PATH, "QV512X Mixer Driver"},
    /* 30 */ {SCHEDULE_BOOT_FILE_OPS, 0, 0, 0},
    /* 31 */ {REMOVE_DEVICE_INF_FILES, 0, 0, 0},
    /* 32 */ {UNREGISTER_FILTERS, 0, 0, 0},
    /* 33 */ {CLEAN_STARTUP_BATCH_FILES, 0, 0, 0},
};

int ForgetInstalledFile(const char *fileName)
{
    return DeleteValueUnder(HKEY_LOCAL_MACHINE, INSTALLED_FILES_KEY, fileName);
}

static void RunStep(const UninstallStep &step)
{
    switch (step.operation) {
    case SWEEP_DEVICE_INSTANCES:
        SweepDeviceInstances();
        break;
    case DELETE_KEY:
        DeleteKeyUnder(step.root, step.keyPath, step.name);
        break;
    case DELETE_VALUE:
        DeleteValueUnder(step.root, step.keyPath, step.name);
        break;
    case FORGET_INSTALLED_FILES:
        for (int i = 0; i < INSTALLED_FILE_COUNT; i++)
            ForgetInstalledFile(InstalledFileNames[i]);
        break;
    case SWEEP_MEDIA_RESOURCES:
        SweepMediaResources(step.keyPath);
        break;
    case SWEEP_MEDIA_CLASS:
        SweepMediaClass(step.keyPath, step.name);
        break;
    case SCHEDULE_BOOT_FILE_OPS:
        ScheduleBootFileOps();
        break;
    case REMOVE_DEVICE_INF_FILES:
        RemoveDeviceInfFiles();
        break;
    case UNREGISTER_FILTERS:
        UnregisterFilters();
        break;
    case CLEAN_STARTUP_BATCH_FILES:
        CleanStartupBatchFiles();
        break;
    }
}

void RunUninstallSteps(unsigned first, unsigned last)
{
    for (unsigned number = first; number <= last && number <= UNINSTALL_STEP_COUNT; number++)
        RunStep(UninstallSteps[number - 1]);
}

int RunUninstall()
{
    RunUninstallSteps(1, UNINSTALL_STEP_COUNT);
    return 1;
}
