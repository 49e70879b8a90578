// The demo's hands and eyes inside the prefix, one phase per call, so that
// the demo script can say what happens between them:
//   demo_driver install               puts the sample machine in place
//   demo_driver uninstall auto|user   runs sqvunins.exe: pressed by this
//                                     driver, or used by the person
//   demo_driver report                what was removed and what remained
// Snapshots and notes live in C:\sqvdemo between the phases.
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "../resources/resource_ids.h"
#include "../tests/file_fixture.h"
#include "../tests/package_names.h"
#include "../tests/sample_machine.h"
#include "../tests/ui_driver.h"

namespace {

const char STATE[] = "C:\\sqvdemo";

void SaveSnapshot(const RegistrySnapshot &snapshot, const char *name)
{
    std::string text;
    for (const auto &entry : snapshot)
        text += entry.first + "\x01" + entry.second + "\n";
    WriteBytes(std::string(STATE) + "\\" + name, text);
}

RegistrySnapshot LoadSnapshot(const char *name)
{
    RegistrySnapshot snapshot;
    std::string text = ReadBytes(std::string(STATE) + "\\" + name);
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        std::string line = text.substr(at, end - at);
        size_t split = line.find('\x01');
        snapshot[line.substr(0, split)] = line.substr(split + 1);
    }
    return snapshot;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int Install()
{
    MakeFolders(STATE);
    std::string sample = SampleFolder();
    if (sample.empty() || !ImportRegFile(sample + "\\neighbours.reg")) {
        printf("the sample machine's neighbours.reg could not be imported\n");
        return 1;
    }
    SaveSnapshot(TakeRegistrySnapshot(), "without-package.txt");
    if (!ImportRegFile(sample + "\\package.reg") || !InstallFilterModules(ThisProgramsFolder())) {
        printf("the package could not be installed\n");
        return 1;
    }
    std::vector<std::pair<std::string, std::string>> files = CopySampleFiles();
    std::string list;
    for (const auto &file : files)
        list += file.first + "\t" + file.second + "\n";
    WriteBytes(std::string(STATE) + "\\files.txt", list);
    RegistrySnapshot withPackage = TakeRegistrySnapshot();
    SaveSnapshot(withPackage, "with-package.txt");
    RegistryDifference added = CompareSnapshots(LoadSnapshot("without-package.txt"), withPackage);
    size_t values = std::count_if(added.added.begin(), added.added.end(),
                                  [](const std::string &e) { return e.find('\t') != std::string::npos; });
    printf("   sample machine: %u registry keys and %u values of the package, %u files,\n"
           "   both filter modules registered with RegSvr32.EXE\n",
           (unsigned)(added.added.size() - values), (unsigned)values, (unsigned)files.size());
    return 0;
}

std::string Shot(const std::string &folder, const char *name, HWND window)
{
    std::string path = folder + name;
    return SaveScreenshot(window, path) ? path : "";
}

int Uninstall(bool byUser)
{
    std::string shots = ScreenshotFolder();
    // A folder of its own: the build folder also holds the sample language module.
    PROCESS_INFORMATION process;
    if (!StartProgramIn(STATE, "", process)) {
        printf("sqvunins.exe could not be started\n");
        return 1;
    }
    std::vector<std::string> taken;
    HWND main = WaitForDialog(process.dwProcessId, MAIN_CAPTION, 30000);
    if (!main) {
        printf("the main dialog did not appear\n");
        WaitForExitCode(process, 1000);
        return 1;
    }
    taken.push_back(Shot(shots, "main-dialog.png", main));
    HWND complete = 0;
    if (byUser) {
        // Until the uninstall is done, or the person ends the program without it.
        while (!complete && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            complete = WaitForDialog(process.dwProcessId, COMPLETE_CAPTION, 1000);
    } else {
        ClickButton(main, IDC_ABOUT);
        HWND about = WaitForDialog(process.dwProcessId, "About");
        if (about) {
            taken.push_back(Shot(shots, "about-dialog.png", about));
            ClickButton(about, IDCANCEL);
        }
        printf("   pressing \"Uninstall Halvane(tm) Driver\"\n");
        ClickButton(main, IDC_UNINSTALL);
        complete = WaitForDialog(process.dwProcessId, COMPLETE_CAPTION);
    }
    // The uninstall is over: keep WinInit.INI as it was written, since a
    // restart may carry it out at once.
    CopyFileA(WinInitPath().c_str(), (std::string(STATE) + "\\wininit.txt").c_str(), FALSE);
    if (complete) {
        taken.push_back(Shot(shots, "completion-dialog.png", complete));
        if (!byUser) {
            printf("   pressing \"Restart\": the program asks Windows to restart\n");
            ClickButton(complete, IDC_RESTART);
        }
    }
    DWORD code = WaitForExitCode(process, byUser ? 600000 : 30000);
    printf("   sqvunins.exe ended with exit code %lu\n", (unsigned long)code);
    std::string list;
    for (const std::string &path : taken)
        if (!path.empty())
            list += path + "\n";
    WriteBytes(std::string(STATE) + "\\screenshots.txt", list);
    return code == 1 ? 0 : 1;
}

void ReportRegistry()
{
    RegistrySnapshot without = LoadSnapshot("without-package.txt"), with = LoadSnapshot("with-package.txt");
    RegistrySnapshot now = TakeRegistrySnapshot();
    unsigned counts[2][2][2] = {}; // [value?][package?][removed?]
    std::vector<std::string> packageLeft, othersLost;
    for (const auto &entry : with) {
        bool value = entry.first.find('\t') != std::string::npos;
        bool package = !without.count(entry.first);
        bool removed = !now.count(entry.first);
        counts[value][package][removed]++;
        if (package && !removed)
            packageLeft.push_back(entry.first);
        if (!package && (removed || now.at(entry.first) != entry.second))
            othersLost.push_back(entry.first);
    }
    printf("registry keys:   %u of the package removed, %u left; %u of other software kept, %u removed\n",
           counts[0][1][1], counts[0][1][0], counts[0][0][0], counts[0][0][1]);
    printf("registry values: %u of the package removed, %u left; %u of other software kept, %u removed\n",
           counts[1][1][1], counts[1][1][0], counts[1][0][0], counts[1][0][1]);
    for (const std::string &entry : packageLeft)
        printf("   left: %s\n", entry.c_str());
    for (const std::string &entry : othersLost)
        printf("   removed or changed, but not the package's: %s\n", entry.c_str());
}

// "1 line", "2 lines".
std::string Counted(size_t count, const char *noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void ReportFiles()
{
    unsigned packageGone = 0, packageLeft = 0, othersKept = 0, othersLost = 0, infGone = 0, infKept = 0;
    std::string batch;
    for (const std::string &line : Lines(ReadBytes(std::string(STATE) + "\\files.txt"))) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        std::string sample = line.substr(0, tab), installed = line.substr(tab + 1);
        bool exists = FileExists(installed);
        SampleFileKind kind = ClassifySampleFile(sample);
        if (kind == BATCH_FILE) {
            std::vector<std::string> before = Lines(ReadBytes(sample)), after = Lines(ReadBytes(installed));
            std::string removed;
            for (const std::string &l : before)
                if (std::find(after.begin(), after.end(), l) == after.end())
                    removed += "      - " + l + "\n";
            batch += "   " + installed + ": " + Counted(before.size() - after.size(), "line") + " removed, " +
                     std::to_string(after.size()) + " kept\n" + removed;
        } else if (sample.find("\\INF\\") != std::string::npos) {
            (exists ? infKept : infGone)++;
            if (!exists)
                printf("INF file removed: %s\n", installed.c_str());
        } else if (kind == PACKAGE_FILE || kind == REPLACEMENT_OF_DSOUND) {
            (exists ? packageLeft : packageGone)++;
        } else {
            (exists && ReadBytes(installed) == ReadBytes(sample) ? othersKept : othersLost)++;
        }
    }
    for (const char *module : FILTER_MODULES)
        (FileExists(SystemDirectory() + "\\" + module) ? packageLeft : packageGone)++;
    printf("INF files:       %u naming the card removed, %u others kept\n", infGone, infKept);
    printf("package files:   %u removed at the next start of Windows, %u left; other files: %u kept, %u lost\n",
           packageGone, packageLeft, othersKept, othersLost);
    bool replaced = ReadBytes(SystemDirectory() + "\\DSOUND.DLL").find("Sample MSDSOUND.DLL") == 0;
    printf("                 DSOUND.DLL %s\n", replaced ? "replaced by MSDSOUND.DLL" : "not replaced");
    printf("batch lines:\n%s", batch.c_str());
    std::vector<std::string> boot = Lines(ReadBytes(std::string(STATE) + "\\wininit.txt"));
    unsigned written = 0, deletions = 0;
    for (const std::string &line : boot)
        if (line.find('=') != std::string::npos) {
            written++;
            deletions += line.compare(0, 4, "NUL=") == 0;
        }
    printf("boot-time lines: %u written to WinInit.INI (%s, %s), carried out by wineboot -r\n", written,
           Counted(deletions, "deletion").c_str(), Counted(written - deletions, "replacement").c_str());
}

int Report()
{
    ReportRegistry();
    ReportFiles();
    printf("screenshots:\n");
    for (const std::string &line : Lines(ReadBytes(std::string(STATE) + "\\screenshots.txt")))
        if (line.compare(0, 2, "Z:") == 0) { // as the Unix side names it
            std::string unixPath = line.substr(2);
            std::replace(unixPath.begin(), unixPath.end(), '\\', '/');
            printf("   %s\n", unixPath.c_str());
        }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    std::string phase = argc > 1 ? argv[1] : "";
    int result = phase == "install"     ? Install()
                 : phase == "uninstall" ? Uninstall(argc > 2 && std::string(argv[2]) == "user")
                 : phase == "report"    ? Report()
                                        : (printf("usage: demo_driver install|uninstall auto|user|report\n"), 2);
    fflush(stdout);
    return result;
}
