// Benchmark of the INF step (scripts/benchmark.sh), not a test:
//   inf_benchmark generate FOLDER   writes 2,000 INF files of 1 KB to 200 KB
//   inf_benchmark measure FOLDER    times the raw read and the INF step
// The raw read is the platform's limit: every file read with ReadFile in
// 64 KB blocks, in this same process. The INF step is the program's own
// DeleteFilesContaining on the folder; the files it deletes are written
// again between rounds, outside the timing.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../cleanup/inf_removal.h"

namespace {

const char ID[] = "VEN_5A3C&DEV_0C17";
const int FILE_COUNT = 2000, ROUNDS = 5;

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

// Reads every INF file of the folder whole, in 64 KB blocks.
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
        while (ReadFile(file, block, sizeof block, &got, 0) && got)
            total += got;
        CloseHandle(file);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return total;
}

int Measure(const std::string &folder)
{
    RawRead(folder); // the same warm cache for both
    double bestRaw = 1e30, bestStep = 1e30;
    int deleted = 0;
    for (int round = 0; round < ROUNDS; round++) {
        double start = Now();
        unsigned long long bytes = RawRead(folder);
        double raw = Now() - start;
        if (raw < bestRaw)
            bestRaw = raw;
        if (!bytes)
            return 1;

        SetCurrentDirectoryA(folder.c_str());
        start = Now();
        DeleteFilesContaining("*.INF", ID);
        double step = Now() - start;
        if (step < bestStep)
            bestStep = step;

        deleted = 0;
        for (int i = 0; i < FILE_COUNT; i++)
            if (GetFileAttributesA(NameOf(folder, i).c_str()) == INVALID_FILE_ATTRIBUTES) {
                bool namesCard;
                deleted++;
                if (!Write(NameOf(folder, i), Content(i, namesCard)) || !namesCard)
                    return 1; // a file that does not name the card was deleted
            }
    }
    printf("raw_read_ms %.1f\ninf_step_ms %.1f\ndeleted %d\n", bestRaw, bestStep, deleted);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    std::string phase = argc > 2 ? argv[1] : "", folder = argc > 2 ? argv[2] : "";
    int result = phase == "generate"  ? Generate(folder)
                 : phase == "measure" ? Measure(folder)
                                      : (printf("usage: inf_benchmark generate|measure FOLDER\n"), 2);
    fflush(stdout);
    return result;
}
