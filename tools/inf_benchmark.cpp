// Benchmark of the INF step and of the whole uninstall (scripts/benchmark.sh),
// not a test:
//   inf_benchmark generate FOLDER   writes 2,000 INF files of 1 KB to 200 KB
//   inf_benchmark measure FOLDER    times the raw read and the INF step
//   inf_benchmark steps             times the uninstall step by step on the
//                                   sample machine (SQV_SAMPLE_DIR)
// The raw read is the platform's limit: every file read with ReadFile in
// 64 KB blocks, in this same process. The INF step is the program's own
// DeleteFilesContaining on the folder; the files it deletes are written
// again after each timing. The two are timed in turns, pair by pair, so
// that a noisy moment moves one pair's ratio, not the figure.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../cleanup/inf_removal.h"
#include "../uninstall/uninstall_sequence.h"
#include "../tests/file_fixture.h"
#include "../tests/package_names.h"
#include "../tests/sample_machine.h"

namespace {

const int FILE_COUNT = 2000, PAIRS = 25;

unsigned g_seed = 12345;
unsigned Random(unsigned below)
{
    g_seed = g_seed * 1103515245u + 12345u;
    return (g_seed >> 8) % below;
}

// File `index`: its content, and whether it names the card.
std::string Content(int index, bool &namesCard)
{
    g_seed = 777u + (unsigned)index * 7919u;
    size_t size = 1024 + Random(200 * 1024 - 1024);
    std::string text;
    text.reserve(size + 64);
    while (text.size() < size) {
        char line[96];
        snprintf(line, sizeof line, "%%Device%u%%=Install%u, PCI\\VEN_%04X&DEV_%04X\r\n", Random(1000),
                 Random(100), Random(0x10000), Random(0x10000));
        text += line;
    }
    text.resize(size);
    namesCard = index % 250 == 17; // 8 files
    if (namesCard) {
        // Some at a 1,024-byte chunk boundary, some at the very end.
        size_t at = index % 500 == 17 ? 1024 * (1 + Random(size / 1024 - 1)) - 8 : size - sizeof ID + 1;
        text.replace(at, sizeof ID - 1, ID);
    }
    return text;
}

std::string NameOf(const std::string &folder, int index)
{
    char name[32];
    snprintf(name, sizeof name, "\\BENCH%04d.INF", index);
    return folder + name;
}

bool Write(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    DWORD written = 0;
    bool whole = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, 0) &&
                 written == bytes.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return whole;
}

int Generate(const std::string &folder)
{
    CreateDirectoryA(folder.c_str(), 0);
    unsigned long long total = 0;
    int naming = 0;
    for (int i = 0; i < FILE_COUNT; i++) {
        bool namesCard;
        std::string text = Content(i, namesCard);
        naming += namesCard;
        total += text.size();
        if (!Write(NameOf(folder, i), text))
            return 1;
    }
    printf("generated %d INF files, %.1f MB, %d naming the card\n", FILE_COUNT, total / 1048576.0, naming);
    return 0;
}

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

// Reads every INF file of the folder whole, in 64 KB blocks; a short block
// is the end of a disk file, as for the INF step.
unsigned long long RawRead(const std::string &folder)
{
    static char block[65536];
    unsigned long long total = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.INF").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        HANDLE file = CreateFileA((folder + "\\" + found.cFileName).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
        DWORD got;
        while (ReadFile(file, block, sizeof block, &got, 0) && got) {
            total += got;
            if (got < sizeof block)
                break;
        }
        CloseHandle(file);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return total;
}

// The INF step over the folder; the files it deleted are written again.
// Returns how many it deleted, or -1 when it deleted one that does not name
// the card.
int TimeInfStep(const std::string &folder, double &took)
{
    SetCurrentDirectoryA(folder.c_str());
    double start = Now();
    DeleteFilesContaining("*.INF", ID);
    took = Now() - start;
    int deleted = 0;
    for (int i = 0; i < FILE_COUNT; i++)
        if (GetFileAttributesA(NameOf(folder, i).c_str()) == INVALID_FILE_ATTRIBUTES) {
            bool namesCard;
            deleted++;
            if (!Write(NameOf(folder, i), Content(i, namesCard)) || !namesCard)
                return -1;
        }
    return deleted;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintBuild()
{
    printf("build %s, engine built with %s\n", sizeof(void *) == 4 ? "i686" : "x86_64", SQV_ENGINE_MARCH);
}

int Measure(const std::string &folder)
{
    PrintBuild();
    double took;
    // One of each first: the same warm cache for both.
    if (!RawRead(folder) || TimeInfStep(folder, took) < 0)
        return 1;
    std::vector<double> raws, steps, ratios;
    int deleted = 0;
    for (int pair = 0; pair < PAIRS; pair++) {
        double start = Now();
        if (!RawRead(folder))
            return 1;
        double raw = Now() - start;
        deleted = TimeInfStep(folder, took);
        if (deleted < 0)
            return 1;
        raws.push_back(raw);
        steps.push_back(took);
        ratios.push_back(took / raw);
    }
    printf("pairs %d\nraw_read_ms %.1f\ninf_step_ms %.1f\nratio_median %.3f\nratio_lowest %.3f\n"
           "ratio_highest %.3f\ndeleted %d\n",
           PAIRS, Median(raws), Median(steps), Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
           *std::max_element(ratios.begin(), ratios.end()), deleted);
    return 0;
}

// The whole uninstall on the sample machine, step by step: the machine is
// put in place before each round, outside the timing.
int TimeSteps()
{
    const struct {
        const char *name;
        unsigned first, last;
    } groups[] = {{"registry steps (1-29)", 1, 29}, {"WinInit.INI (30)", 30, 30}, {"INF files (31)", 31, 31},
                  {"RegSvr32.EXE started (32)", 32, 32}, {"batch files (33)", 33, 33}};
    const int ROUNDS = 5;
    std::string sample = SampleFolder();
    if (sample.empty() || !ImportRegFile(sample + "\\neighbours.reg"))
        return 1;
    PrintBuild();
    std::vector<double> times[sizeof groups / sizeof groups[0]];
    for (int round = 0; round < ROUNDS; round++) {
        RemovePath(WinInitPath());
        if (!ImportRegFile(sample + "\\package.reg") || !InstallFilterModules(ThisProgramsFolder()))
            return 1;
        CopySampleFiles();
        for (size_t g = 0; g < sizeof groups / sizeof groups[0]; g++) {
            double start = Now();
            RunUninstallSteps(groups[g].first, groups[g].last);
            times[g].push_back(Now() - start);
        }
        Sleep(2000); // the two RegSvr32.EXE processes end
    }
    double total = 0;
    for (size_t g = 0; g < sizeof groups / sizeof groups[0]; g++)
        total += Median(times[g]);
    printf("whole uninstall, median of %d rounds: %.1f ms\n", ROUNDS, total);
    for (size_t g = 0; g < sizeof groups / sizeof groups[0]; g++)
        printf("   %-28s %7.1f ms\n", groups[g].name, Median(times[g]));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    std::string phase = argc > 1 ? argv[1] : "", folder = argc > 2 ? argv[2] : "";
    int result = phase == "generate"  ? Generate(folder)
                 : phase == "measure" ? Measure(folder)
                 : phase == "steps"   ? TimeSteps()
                                      : (printf("usage: inf_benchmark generate|measure FOLDER, or steps\n"), 2);
    fflush(stdout);
    return result;
}
