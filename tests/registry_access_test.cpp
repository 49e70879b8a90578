// The registry access layer against Wine's real registry.
#include <cstring>
#include <string>

#include "../registry/registry_access.h"
#include "caller_trace.h"
#include "registry_fixture.h"

namespace {

const char SANDBOX[] = "Software\\SqvEngineTest";

std::string Sandbox(const std::string &below)
{
    return std::string(SANDBOX) + "\\" + below;
}

// A PathBuffer with guard bytes behind it, to catch a write past its end.
struct GuardedPathBuffer {
    PathBuffer buffer;
    unsigned char guard[16];
};

void FillWithSentinel(GuardedPathBuffer &guarded)
{
    memset(&guarded, 0xBD, sizeof guarded);
}

void ExpectGuardIntact(const GuardedPathBuffer &guarded, const char *file = __builtin_FILE(),
                       int line = __builtin_LINE())
{
    CALLER_TRACE;
    for (unsigned char byte : guarded.guard)
        ASSERT_EQ(0xBD, byte) << "written past the 128-byte buffer";
}

} // namespace

TEST(Platform, ReportsTheWindowsFamilyItWasStartedFor)
{
    char module[MAX_PATH];
    GetModuleFileNameA(0, module, sizeof module);
    bool wantNt = strstr(module, "_ntmode") != 0;
    bool isNt = (GetVersion() & 0x80000000) == 0;
    EXPECT_EQ(wantNt, isNt) << "the prefix does not run " << module << " as expected";
}

using RegistryAccess = RegistryTest;

TEST_F(RegistryAccess, OpenKeyFindsPathsWithoutRegardToCaseAndCreatesNothing)
{
    SetTextValue(HKEY_CURRENT_USER, Sandbox("Control\\Inner"), "Name", "found");

    RegistryKey key;
    ASSERT_EQ(1, OpenKey(HKEY_CURRENT_USER, "software\\SQVENGINETEST\\control\\inner",
                         KEY_ALL_ACCESS, &key));
    PathBuffer data;
    EXPECT_EQ(1, QueryStringValue(&key, "name", data));
    EXPECT_STREQ("found", data);
    CloseKey(&key);

    EXPECT_EQ(0, OpenKey(HKEY_CURRENT_USER, "Software\\SqvEngineTest\\Missing\\Inner",
                         KEY_ALL_ACCESS, &key));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sandbox("Missing")));
}

TEST_F(RegistryAccess, EnumSubkeyNameReadsNamesUpTo127CharactersAndStopsAtTheEnd)
{
    const std::string name127(127, 'a'), name128(128, 'b');
    CreateKeyPath(HKEY_CURRENT_USER, Sandbox(name127));
    CreateKeyPath(HKEY_CURRENT_USER, Sandbox(name128));

    RegistryKey key;
    ASSERT_EQ(1, OpenKey(HKEY_CURRENT_USER, SANDBOX, KEY_ALL_ACCESS, &key));
    GuardedPathBuffer name;
    FillWithSentinel(name);
    EXPECT_EQ(1, EnumSubkeyName(&key, 0, name.buffer));
    EXPECT_EQ(name127, name.buffer);
    EXPECT_EQ(0, EnumSubkeyName(&key, 1, name.buffer)) << "a 128-character name does not fit";
    EXPECT_EQ(0, EnumSubkeyName(&key, 2, name.buffer)) << "index equal to the subkey count";
    ExpectGuardIntact(name);
    CloseKey(&key);
}

TEST_F(RegistryAccess, QueryStringValueKeepsEveryReadInsideTheBuffer)
{
    struct Case {
        const char *name;
        DWORD type;
        std::string data; // the bytes stored, exactly
        int result;
        std::string text; // what the buffer holds as a text afterwards
    };
    const std::string noZero128(128, 'x');
    const Case cases[] = {
        // name         type        stored bytes                        result  text
        {"text127", REG_SZ, std::string(127, 't') + '\0', 1, std::string(127, 't')},
        {"text128", REG_SZ, std::string(128, 't') + '\0', 0, ""},
        {"empty", REG_SZ, std::string(1, '\0'), 1, ""},
        {"binary", REG_BINARY, "PCI", 1, "PCI"},
        {"dword", REG_DWORD, std::string("AB\0\0", 4), 1, "AB"},
        {"binary128", REG_BINARY, noZero128, 1, std::string(127, 'x')},
        {"binary129", REG_BINARY, noZero128 + 'y', 0, ""},
        {"unended", REG_SZ, "no zero byte", 1, "no zero byte"},
    };
    for (const Case &c : cases)
        SetRawValue(HKEY_CURRENT_USER, SANDBOX, c.name, c.type, c.data.data(), (DWORD)c.data.size());

    RegistryKey key;
    ASSERT_EQ(1, OpenKey(HKEY_CURRENT_USER, SANDBOX, KEY_ALL_ACCESS, &key));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        GuardedPathBuffer data;
        FillWithSentinel(data);
        EXPECT_EQ(c.result, QueryStringValue(&key, c.name, data.buffer));
        ASSERT_NE(nullptr, memchr(data.buffer, 0, sizeof data.buffer)) << "no zero byte in the buffer";
        EXPECT_EQ(c.text, data.buffer);
        ExpectGuardIntact(data);
    }
    GuardedPathBuffer data;
    FillWithSentinel(data);
    EXPECT_EQ(0, QueryStringValue(&key, "missing", data.buffer));
    EXPECT_EQ(0, data.buffer[0]);
    CloseKey(&key);
}

using RegistryDelete = RegistryTest;

TEST_F(RegistryDelete, DeleteSubkeyRemovesTheEndOfARelativePathWithEverythingBeneath)
{
    SetTextValue(HKEY_CURRENT_USER, Sandbox("MEDIA\\0001\\Deep\\Deeper"), "Value", "x");
    SetTextValue(HKEY_CURRENT_USER, Sandbox("MEDIA\\0001"), "Value", "x");
    CreateKeyPath(HKEY_CURRENT_USER, Sandbox("MEDIA\\0000"));

    RegistryKey key;
    ASSERT_EQ(1, OpenKey(HKEY_CURRENT_USER, SANDBOX, KEY_ALL_ACCESS, &key));
    EXPECT_EQ(1, DeleteSubkey(&key, "MEDIA\\0001"));
    EXPECT_EQ(0, DeleteSubkey(&key, "MEDIA\\0001")) << "a second deletion finds nothing";
    EXPECT_EQ(0, DeleteSubkey(&key, "")) << "an empty path must not delete the open key";
    CloseKey(&key);

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sandbox("MEDIA\\0001")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Sandbox("MEDIA\\0000")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, SANDBOX));
}

TEST_F(RegistryDelete, DeleteKeyUnderRemovesAWholeTreeAndClosesWhatItOpened)
{
    SetTextValue(HKEY_CURRENT_USER, Sandbox("Parent\\Child\\A\\B"), "Value", "x");
    SetTextValue(HKEY_CURRENT_USER, Sandbox("Parent\\Child\\C"), "Value", "x");
    SetTextValue(HKEY_CURRENT_USER, Sandbox("Parent\\Child"), "Value", "x");
    CreateKeyPath(HKEY_CURRENT_USER, Sandbox("Parent\\Sibling"));
    uintptr_t handlesBefore = HighestFreshHandle();

    EXPECT_EQ(1, DeleteKeyUnder(HKEY_CURRENT_USER, Sandbox("Parent").c_str(), "Child"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sandbox("Parent\\Child")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Sandbox("Parent\\Sibling")));

    EXPECT_EQ(0, DeleteKeyUnder(HKEY_CURRENT_USER, Sandbox("Parent").c_str(), "Child"));
    EXPECT_EQ(0, DeleteKeyUnder(HKEY_CURRENT_USER, Sandbox("Missing").c_str(), "Child"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sandbox("Missing")));
    EXPECT_EQ(handlesBefore, HighestFreshHandle()) << "a key handle was left open";
}

TEST_F(RegistryDelete, DeleteValueUnderRemovesOneValueOnly)
{
    SetTextValue(HKEY_CURRENT_USER, SANDBOX, "Playback", "card");
    SetTextValue(HKEY_CURRENT_USER, SANDBOX, "Record", "card");
    CreateKeyPath(HKEY_CURRENT_USER, Sandbox("Sub"));
    uintptr_t handlesBefore = HighestFreshHandle();

    EXPECT_EQ(1, DeleteValueUnder(HKEY_CURRENT_USER, SANDBOX, "playback"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, SANDBOX, "Playback"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, SANDBOX, "Record"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Sandbox("Sub")));

    EXPECT_EQ(0, DeleteValueUnder(HKEY_CURRENT_USER, SANDBOX, "Playback"));
    EXPECT_EQ(0, DeleteValueUnder(HKEY_CURRENT_USER, Sandbox("Missing").c_str(), "Playback"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sandbox("Missing")));
    EXPECT_EQ(handlesBefore, HighestFreshHandle()) << "a key handle was left open";
}
