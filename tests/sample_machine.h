// The sample machine of sample/: a registry and a tree of files with the
// driver package installed beside other software, put into the prefix the
// way an installation would leave it, and read back for comparison.
#ifndef SQV_TESTS_SAMPLE_MACHINE_H
#define SQV_TESTS_SAMPLE_MACHINE_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The sample folder as a Windows path (from SQV_SAMPLE_DIR, a Unix path).
std::string SampleFolder();

// Imports a .reg file with the prefix's own regedit.
bool ImportRegFile(const std::string &path);

// Copies sample/files into the prefix: ROOT to C:\, WINDOWS to the Windows
// directory, SYSTEM to the system directory. Returns the files it wrote, as
// pairs of sample file and prefix file.
std::vector<std::pair<std::string, std::string>> CopySampleFiles();

// What a file of sample/files is to the uninstall.
enum SampleFileKind {
    BATCH_FILE,            // rewritten without its marked lines
    INF_NAMING_THE_CARD,   // deleted by the uninstall
    PACKAGE_FILE,          // deleted at the next start of Windows
    REPLACEMENT_OF_DSOUND, // MSDSOUND.DLL, put in DSOUND.DLL's place then
    OTHER_FILE,            // left as it is
};
SampleFileKind ClassifySampleFile(const std::string &sampleFile);

// Puts the filter modules (built beside `programFolder`) into the system
// directory and registers them with RegSvr32.EXE /s.
bool InstallFilterModules(const std::string &programFolder);

// The whole registry, each key under the root name that a .reg file uses
// (the current user's keys under HKEY_CURRENT_USER only): an entry "KEY"
// for each key and "KEY\tname" for each value, holding its type and data.
// Key paths are in upper case, as the registry ignores case.
typedef std::map<std::string, std::string> RegistrySnapshot;
RegistrySnapshot TakeRegistrySnapshot();

struct RegistryDifference {
    std::vector<std::string> removed, added, changed;
};
RegistryDifference CompareSnapshots(const RegistrySnapshot &before, const RegistrySnapshot &after);

// The keys and values that a .reg file names, in the snapshot's form (keys
// alone, values as "KEY\tname").
std::vector<std::string> EntriesOfRegFile(const std::string &path);

#endif
