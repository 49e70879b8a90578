// No byte lost at any point: the file steps run on the real platform with
// exactly one file-system call changed. The program patches its own import
// address table entries of the KERNEL32 file functions, so the code under
// test is unchanged and everything but that one call is Wine's own.
// - Fail mode: the Nth call fails with a realistic error (a write stores
//   half its bytes, then reports a full disk).
// - End mode: a child process ends at the Nth call, just before it or just
//   after it; the parent checks the files, then runs the step again.
// N runs over every call that the step makes, for every WinInit.INI layout,
// both batch files and the INF files. Every run checks, byte for byte, that
// each file holds its old or its complete new content under its own name.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../cleanup/batch_cleanup.h"
#include "../cleanup/boot_file_ops.h"
#include "../cleanup/inf_removal.h"
#include "file_fixture.h"
#include "import_patch.h"

namespace {

// ---------------------------------------------------------------------------
// The one changed call.

enum Mode { COUNT, FAIL, END_BEFORE, END_AFTER };
const UINT ENDED = 77; // the exit code of a child that ended at its call

struct Call {
    std::string function, subject; // subject: the full path the call concerns
};

struct Injection {
    bool armed = false;
    Mode mode = COUNT;
    size_t target = 0; // 1-based
    std::vector<Call> calls;
    std::map<HANDLE, std::string> handlePaths;
} g_injection;

std::string UpperCase(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return text;
}

// Relative names are taken in the current directory, as the platform does.
std::string FullPath(const char *path)
{
    std::string name = path ? path : "";
    if (name.size() >= 2 && (name[1] == ':' || name[0] == '\\'))
        return UpperCase(name);
    char directory[MAX_PATH];
    GetCurrentDirectoryA(sizeof directory, directory);
    std::string full = directory;
    if (full.empty() || full.back() != '\\')
        full += '\\';
    return UpperCase(full + name);
}

// Counts the call; returns true when it is the one to fail. Ends the process
// when it is the one to end before.
bool Reach(const char *function, const std::string &subject, DWORD error)
{
    g_injection.calls.push_back({function, subject});
    if (g_injection.calls.size() != g_injection.target)
        return false;
    if (g_injection.mode == END_BEFORE)
        TerminateProcess(GetCurrentProcess(), ENDED);
    if (g_injection.mode != FAIL)
        return false;
    SetLastError(error);
    return true;
}

void Passed()
{
    if (g_injection.mode == END_AFTER && g_injection.calls.size() == g_injection.target)
        TerminateProcess(GetCurrentProcess(), ENDED);
}

std::string HandlePath(HANDLE handle)
{
    auto found = g_injection.handlePaths.find(handle);
    return found == g_injection.handlePaths.end() ? "?" : found->second;
}

#define REAL(name) decltype(&name) Real##name

REAL(CreateFileA);
REAL(ReadFile);
REAL(WriteFile);
REAL(SetFilePointer);
REAL(SetEndOfFile);
REAL(CloseHandle);
REAL(MoveFileA);
REAL(DeleteFileA);
REAL(GetFileAttributesA);
REAL(FindFirstFileA);
REAL(FindNextFileA);
REAL(FindClose);
REAL(SetCurrentDirectoryA);

HANDLE WINAPI HookCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (!g_injection.armed)
        return RealCreateFileA(path, access, share, security, disposition, flags, templateFile);
    std::string subject = FullPath(path);
    if (Reach("CreateFileA", subject, ERROR_SHARING_VIOLATION))
        return INVALID_HANDLE_VALUE;
    HANDLE handle = RealCreateFileA(path, access, share, security, disposition, flags, templateFile);
    if (handle != INVALID_HANDLE_VALUE)
        g_injection.handlePaths[handle] = subject;
    Passed();
    return handle;
}

// The call as the platform makes it, unless it is the one to fail: then
// `failed` with `error` as the last error. Ends the process before or after
// it when asked.
template <typename Result, typename Real, typename... Arguments>
Result Injected(const char *function, const std::string &subject, DWORD error, Result failed, Real real,
                Arguments... arguments)
{
    if (Reach(function, subject, error))
        return failed;
    Result result = real(arguments...);
    Passed();
    return result;
}

// A read that fails delivers nothing.
BOOL WINAPI HookReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped)
{
    if (!g_injection.armed)
        return RealReadFile(file, buffer, size, got, overlapped);
    if (Reach("ReadFile", HandlePath(file), ERROR_READ_FAULT)) {
        *got = 0;
        return FALSE;
    }
    BOOL result = RealReadFile(file, buffer, size, got, overlapped);
    Passed();
    return result;
}

// A full disk takes what fits: half the bytes reach the file.
BOOL WINAPI HookWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (!g_injection.armed)
        return RealWriteFile(file, bytes, size, written, overlapped);
    if (Reach("WriteFile", HandlePath(file), ERROR_DISK_FULL)) {
        RealWriteFile(file, bytes, size / 2, written, overlapped);
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    BOOL result = RealWriteFile(file, bytes, size, written, overlapped);
    Passed();
    return result;
}

DWORD WINAPI HookSetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method)
{
    return !g_injection.armed ? RealSetFilePointer(file, distance, high, method)
                              : Injected("SetFilePointer", HandlePath(file), ERROR_SEEK,
                                         (DWORD)INVALID_SET_FILE_POINTER, RealSetFilePointer, file, distance, high,
                                         method);
}

BOOL WINAPI HookSetEndOfFile(HANDLE file)
{
    return !g_injection.armed ? RealSetEndOfFile(file)
                              : Injected("SetEndOfFile", HandlePath(file), ERROR_ACCESS_DENIED, FALSE,
                                         RealSetEndOfFile, file);
}

// A close that fails still closes the handle (as a late write error does, or
// a FindClose that ends the search anyway): the real call is made either way,
// and only then reported failed.
template <typename Real>
BOOL InjectedClose(const char *function, HANDLE handle, DWORD error, Real real)
{
    if (!g_injection.armed)
        return real(handle);
    bool failing = Reach(function, HandlePath(handle), error);
    BOOL result = real(handle);
    if (failing) {
        SetLastError(error);
        return FALSE;
    }
    Passed();
    return result;
}

BOOL WINAPI HookCloseHandle(HANDLE handle)
{
    return InjectedClose("CloseHandle", handle, ERROR_DISK_FULL, RealCloseHandle);
}

BOOL WINAPI HookMoveFileA(LPCSTR from, LPCSTR to)
{
    return !g_injection.armed ? RealMoveFileA(from, to)
                              : Injected("MoveFileA", FullPath(from) + ">" + FullPath(to), ERROR_ACCESS_DENIED,
                                         FALSE, RealMoveFileA, from, to);
}

BOOL WINAPI HookDeleteFileA(LPCSTR path)
{
    return !g_injection.armed ? RealDeleteFileA(path)
                              : Injected("DeleteFileA", FullPath(path), ERROR_ACCESS_DENIED, FALSE,
                                         RealDeleteFileA, path);
}

DWORD WINAPI HookGetFileAttributesA(LPCSTR path)
{
    return !g_injection.armed ? RealGetFileAttributesA(path)
                              : Injected("GetFileAttributesA", FullPath(path), ERROR_ACCESS_DENIED,
                                         (DWORD)INVALID_FILE_ATTRIBUTES, RealGetFileAttributesA, path);
}

HANDLE WINAPI HookFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA entry)
{
    if (!g_injection.armed)
        return RealFindFirstFileA(pattern, entry);
    std::string subject = FullPath(pattern);
    if (Reach("FindFirstFileA", subject, ERROR_ACCESS_DENIED))
        return INVALID_HANDLE_VALUE;
    HANDLE search = RealFindFirstFileA(pattern, entry);
    if (search != INVALID_HANDLE_VALUE)
        g_injection.handlePaths[search] = subject;
    Passed();
    return search;
}

BOOL WINAPI HookFindNextFileA(HANDLE search, LPWIN32_FIND_DATAA entry)
{
    return !g_injection.armed ? RealFindNextFileA(search, entry)
                              : Injected("FindNextFileA", HandlePath(search), ERROR_ACCESS_DENIED, FALSE,
                                         RealFindNextFileA, search, entry);
}

BOOL WINAPI HookFindClose(HANDLE search)
{
    return InjectedClose("FindClose", search, ERROR_ACCESS_DENIED, RealFindClose);
}

BOOL WINAPI HookSetCurrentDirectoryA(LPCSTR path)
{
    return !g_injection.armed ? RealSetCurrentDirectoryA(path)
                              : Injected("SetCurrentDirectoryA", FullPath(path) + "\\", ERROR_ACCESS_DENIED,
                                         FALSE, RealSetCurrentDirectoryA, path);
}

#define PATCH(name) PatchImport("KERNEL32.dll", #name, (void *)Hook##name, (void **)&Real##name)

// A function that this program does not import is called by none of its
// code, the code under test included: there is no call of it to change.
bool PatchFileFunctions()
{
    static bool patched = [] {
        bool createFile = PATCH(CreateFileA);
        PATCH(ReadFile), PATCH(WriteFile), PATCH(SetFilePointer), PATCH(SetEndOfFile), PATCH(CloseHandle);
        PATCH(MoveFileA), PATCH(DeleteFileA), PATCH(GetFileAttributesA), PATCH(FindFirstFileA);
        PATCH(FindNextFileA), PATCH(FindClose), PATCH(SetCurrentDirectoryA);
        return createFile;
    }();
    return patched;
}

// Runs `step` with the injection armed.
void RunInjected(const std::function<void()> &step, Mode mode, size_t target)
{
    g_injection.mode = mode;
    g_injection.target = target;
    g_injection.calls.clear();
    g_injection.handlePaths.clear();
    g_injection.armed = true;
    step();
    g_injection.armed = false;
}

// ---------------------------------------------------------------------------
// The steps, their files and their fixtures.

// A file's content, or missing.
struct Content {
    bool exists;
    std::string bytes;
    bool operator==(const Content &other) const { return exists == other.exists && bytes == other.bytes; }
};

std::ostream &operator<<(std::ostream &out, const Content &content)
{
    return out << (content.exists ? "\"" + content.bytes + "\"" : std::string("(missing)"));
}

Content Read(const std::string &path)
{
    return FileExists(path) ? Content{true, ReadBytes(path)} : Content{false, ""};
}

// One file that a step changes, with its new copy and backup when it has
// them; or, for the INF step, one folder whose files it deletes.
struct Job {
    std::vector<std::string> files;
    std::string newCopy, backup; // empty when the step uses none
};

struct Scenario {
    const char *name;
    std::function<void()> setUp;
    std::function<void()> step;
    std::function<std::vector<Job>()> jobs;
    std::function<void()> tearDown;
};

typedef std::map<std::string, Content> State;

State Snapshot(const std::vector<Job> &jobs)
{
    State state;
    for (const Job &job : jobs) {
        for (const std::string &file : job.files)
            state[file] = Read(file);
        for (const std::string &temporary : {job.newCopy, job.backup})
            if (!temporary.empty())
                state[temporary] = Read(temporary);
    }
    return state;
}

// The job whose files a call concerns.
int JobOf(const std::vector<Job> &jobs, const std::string &subject)
{
    std::string path = subject.substr(0, subject.find('>'));
    for (size_t i = 0; i < jobs.size(); i++)
        for (const std::string &file : jobs[i].files) {
            std::string upper = UpperCase(file);
            std::string folder = upper.substr(0, upper.rfind('\\') + 1);
            if (path == upper || path == UpperCase(jobs[i].newCopy) || path == UpperCase(jobs[i].backup) ||
                (jobs[i].newCopy.empty() && path.compare(0, folder.size(), folder) == 0 &&
                 path.find('\\', folder.size()) == std::string::npos))
                return (int)i;
        }
    return -1;
}

const std::string ID_LINE = "HW=PCI\\VEN_5A3C&DEV_0C17\r\n";

std::string WinInitTemporary(const char *extension) { return WindowsDirectory() + "\\WinInit." + extension; }

std::vector<Job> WinInitJobs() { return {{{WinInitPath()}, WinInitTemporary("SQN"), WinInitTemporary("SQO")}}; }

Scenario WinInitScenario(const char *name, const char *before)
{
    return {name,
            [before] {
                for (const std::string &path : {WinInitPath(), WinInitTemporary("SQN"), WinInitTemporary("SQO")})
                    RemovePath(path);
                if (before)
                    WriteBytes(WinInitPath(), before);
            },
            ScheduleBootFileOps, WinInitJobs,
            [] {
                for (const std::string &path : {WinInitPath(), WinInitTemporary("SQN"), WinInitTemporary("SQO")})
                    RemovePath(path);
            }};
}

std::string DosStart(const char *extension) { return WindowsDirectory() + "\\DosStart." + extension; }

std::vector<Job> BatchJobs()
{
    return {{{"C:\\Autoexec.Bat"}, "C:\\Autoexec.SQN", "C:\\Autoexec.SQO"},
            {{DosStart("Bat")}, DosStart("SQN"), DosStart("SQO")}};
}

std::string InfFolder() { return WindowsDirectory() + "\\INF"; }

// Every INF file of both folders: Wine's own and the fixture's.
std::vector<Job> InfJobs()
{
    std::vector<Job> jobs;
    for (const std::string &folder : {InfFolder(), InfFolder() + "\\OTHER"}) {
        Job job;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((folder + "\\*.INF").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do
                job.files.push_back(folder + "\\" + entry.cFileName);
            while (FindNextFileA(search, &entry));
            FindClose(search);
        }
        std::sort(job.files.begin(), job.files.end());
        jobs.push_back(job);
    }
    return jobs;
}

const std::vector<std::string> FIXTURE_INF_FILES = {"\\FAULTA.INF", "\\FAULTB.INF", "\\OTHER\\FAULTC.INF",
                                                     "\\OTHER\\FAULTD.INF"};

std::vector<Scenario> Scenarios()
{
    return {
        WinInitScenario("WinInitMissing", nullptr),
        WinInitScenario("WinInitRenameLast", "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n"),
        WinInitScenario("WinInitRenameThenAnotherSection", "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n[Other]\r\nX=1\r\n"),
        WinInitScenario("WinInitWithCtrlZ", "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n\x1Aold tail\r\n"),
        WinInitScenario("WinInitWithoutRename", "[Other]\r\nX=1\r\n"),
        {"BatchFiles",
         [] {
             for (const Job &job : BatchJobs())
                 for (const std::string &path : {job.files[0], job.newCopy, job.backup})
                     RemovePath(path);
             WriteBytes("C:\\Autoexec.Bat", "@ECHO OFF\r\nC:\\SQV\\SQVSYNTH.EXE /L\r\nPATH C:\\DOS\r\n");
             WriteBytes(DosStart("Bat"), "sqvsynth\r\nMSCDEX /D:X\r\n");
         },
         [] { CleanStartupBatchFiles(); }, BatchJobs,
         [] {
             for (const Job &job : BatchJobs())
                 for (const std::string &path : {job.files[0], job.newCopy, job.backup})
                     RemovePath(path);
         }},
        {"InfFiles",
         [] {
             MakeFolders(InfFolder() + "\\OTHER");
             WriteBytes(InfFolder() + "\\FAULTA.INF", "[Models]\r\n" + ID_LINE);
             WriteBytes(InfFolder() + "\\FAULTB.INF", "[Models]\r\nHW=PCI\\VEN_1234&DEV_0001\r\n");
             WriteBytes(InfFolder() + "\\OTHER\\FAULTC.INF", ID_LINE);
             WriteBytes(InfFolder() + "\\OTHER\\FAULTD.INF", "[Strings]\r\n");
         },
         RemoveDeviceInfFiles, InfJobs,
         [] {
             for (const std::string &file : FIXTURE_INF_FILES)
                 RemovePath(InfFolder() + file);
             RemovePath(InfFolder() + "\\OTHER");
         }},
    };
}

const Scenario *FindScenario(const std::string &name)
{
    static std::vector<Scenario> scenarios = Scenarios();
    for (const Scenario &scenario : scenarios)
        if (name == scenario.name)
            return &scenario;
    return nullptr;
}

// ---------------------------------------------------------------------------
// The checks.

// What the step gives from the fixture: once, and twice in a row.
struct Reference {
    std::vector<Job> jobs;
    State before, once, twice;
    std::vector<Call> calls;
    std::vector<int> jobOfCall;
};

Reference MakeReference(const Scenario &scenario)
{
    Reference reference;
    scenario.setUp();
    reference.jobs = scenario.jobs();
    reference.before = Snapshot(reference.jobs);
    RunInjected(scenario.step, COUNT, 0);
    reference.calls = g_injection.calls;
    reference.once = Snapshot(reference.jobs);
    scenario.step();
    reference.twice = Snapshot(reference.jobs);
    for (const Call &call : reference.calls)
        reference.jobOfCall.push_back(JobOf(reference.jobs, call.subject));
    return reference;
}

bool IsTemporary(const Job &job, const std::string &path) { return path == job.newCopy || path == job.backup; }

// Each job's files as `want` has them.
void ExpectJob(const Reference &reference, const Job &job, const State &want, const State &now, const char *what,
               const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    CALLER_TRACE;
    for (const auto &entry : Snapshot({job}))
        EXPECT_EQ(want.at(entry.first), now.at(entry.first)) << entry.first << ": expected as " << what;
}

// After the one failing call: the job it concerned holds the old or the
// complete new content of every file, the other jobs were done, nothing
// temporary is left but a file whose own deletion failed.
void CheckAfterFailure(const Reference &reference, size_t failed)
{
    State now = Snapshot(reference.jobs);
    const Call &call = reference.calls[failed - 1];
    int failedJob = reference.jobOfCall[failed - 1];
    for (size_t i = 0; i < reference.jobs.size(); i++) {
        const Job &job = reference.jobs[i];
        if ((int)i != failedJob) {
            ExpectJob(reference, job, reference.once, now, "after an uninterrupted run");
            continue;
        }
        for (const auto &entry : Snapshot({job})) {
            const std::string &path = entry.first;
            if (IsTemporary(job, path))
                EXPECT_TRUE(!now.at(path).exists ||
                            (call.function == "DeleteFileA" && call.subject == UpperCase(path)))
                    << path << " left behind";
            else
                EXPECT_TRUE(now.at(path) == reference.before.at(path) || now.at(path) == reference.once.at(path))
                    << path << " is cut or mixed: " << now.at(path);
        }
    }
}

// After a sudden stop: the jobs before the one it concerned are done, those
// after it untouched; that one's file holds its old or complete new content,
// or, between two renames, that content sits under the backup or new name.
void CheckAfterEnd(const Reference &reference, size_t ended)
{
    State now = Snapshot(reference.jobs);
    int endedJob = reference.jobOfCall[ended - 1];
    for (size_t i = 0; i < reference.jobs.size(); i++) {
        const Job &job = reference.jobs[i];
        if ((int)i < endedJob) {
            ExpectJob(reference, job, reference.once, now, "after an uninterrupted run");
        } else if ((int)i > endedJob) {
            ExpectJob(reference, job, reference.before, now, "before the run");
        } else {
            for (const std::string &path : job.files) {
                const Content &content = now.at(path);
                bool whole = content == reference.before.at(path) || content == reference.once.at(path);
                bool betweenRenames = !content.exists && !job.backup.empty() &&
                                      ((now.at(job.backup).exists && now.at(job.backup) == reference.before.at(path)) ||
                                       (now.at(job.newCopy).exists && now.at(job.newCopy) == reference.once.at(path)));
                EXPECT_TRUE(whole || betweenRenames) << path << " is cut, mixed or lost: " << content;
            }
        }
    }
}

// The next run finishes the job: as one run gives, or as two give, and no
// temporary file of either run is left.
void CheckNextRun(const Scenario &scenario, const Reference &reference)
{
    scenario.step();
    State now = Snapshot(reference.jobs);
    for (const auto &entry : now) {
        const std::string &path = entry.first;
        EXPECT_TRUE(entry.second == reference.once.at(path) || entry.second == reference.twice.at(path))
            << path << " after the next run: " << entry.second;
    }
}

std::string ThisProgram()
{
    char path[MAX_PATH];
    GetModuleFileNameA(0, path, sizeof path);
    return path;
}

class FileFaults : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PatchFileFunctions()) << "CreateFileA is not imported";
        scenario = FindScenario(GetParam());
        ASSERT_TRUE(scenario);
        directory = CurrentDirectory();
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(directory.c_str());
        if (scenario)
            scenario->tearDown();
    }
    const Scenario *scenario = nullptr;
    std::string directory;
};

TEST_P(FileFaults, EveryCallFailsOnceAndNoFileIsCutOrMixed)
{
    Reference reference = MakeReference(*scenario);
    ASSERT_FALSE(reference.calls.empty());
    ASSERT_NE(reference.before, reference.once) << "the step changed nothing";
    for (size_t n = 0; n < reference.calls.size(); n++)
        ASSERT_NE(-1, reference.jobOfCall[n]) << "call " << n + 1 << " concerns no file of the step: "
                                              << reference.calls[n].function << " " << reference.calls[n].subject;
    for (size_t n = 1; n <= reference.calls.size(); n++) {
        SCOPED_TRACE("call " + std::to_string(n) + ": " + reference.calls[n - 1].function + " " +
                     reference.calls[n - 1].subject);
        scenario->setUp();
        RunInjected(scenario->step, FAIL, n);
        CheckAfterFailure(reference, n);
        CheckNextRun(*scenario, reference);
    }
    printf("%s: %u call points, each made to fail once\n", scenario->name, (unsigned)reference.calls.size());
}

TEST_P(FileFaults, TheProcessEndsAtEveryCallAndTheNextRunFinishes)
{
    Reference reference = MakeReference(*scenario);
    ASSERT_FALSE(reference.calls.empty());
    for (Mode mode : {END_BEFORE, END_AFTER}) {
        const char *when = mode == END_BEFORE ? "before" : "after";
        for (size_t n = 1; n <= reference.calls.size(); n++) {
            SCOPED_TRACE(std::string("ended ") + when + " call " + std::to_string(n) + ": " +
                         reference.calls[n - 1].function + " " + reference.calls[n - 1].subject);
            scenario->setUp();
            std::string command = "\"" + ThisProgram() + "\" --end-at " + scenario->name + " " +
                                  std::to_string(n) + " " + when;
            DWORD code = RunAndWait(command), error = GetLastError();
            ASSERT_EQ(ENDED, code) << "the child did not end at its call (last error " << error << ")";
            CheckAfterEnd(reference, n);
            CheckNextRun(*scenario, reference);
        }
    }
    printf("%s: %u call points, the process ended before and after each\n", scenario->name,
           (unsigned)reference.calls.size());
}

INSTANTIATE_TEST_SUITE_P(Steps, FileFaults,
                         ::testing::Values("WinInitMissing", "WinInitRenameLast", "WinInitRenameThenAnotherSection",
                                           "WinInitWithCtrlZ", "WinInitWithoutRename", "BatchFiles", "InfFiles"),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

// The child: runs the step on the files its parent made, and ends at call N.
int RunChild(const std::string &name, size_t n, const std::string &when)
{
    const Scenario *scenario = FindScenario(name);
    if (!scenario || !PatchFileFunctions())
        return 2;
    RunInjected(scenario->step, when == "before" ? END_BEFORE : END_AFTER, n);
    return 3; // the call was never reached
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::string(argv[1]) == "--end-at")
        return RunChild(argv[2], (size_t)atoi(argv[3]), argv[4]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
