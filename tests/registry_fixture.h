// Registry set-up for tests under Wine: creates keys and values through the
// registry API and removes exactly what it created, so the prefix is left as
// it was. Cleanup does not use the code under test.
#ifndef SQV_TESTS_REGISTRY_FIXTURE_H
#define SQV_TESTS_REGISTRY_FIXTURE_H

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

// Creates every missing level of `path` and remembers the ones it created.
void CreateKeyPath(HKEY root, const std::string &path);
void SetTextValue(HKEY root, const std::string &path, const char *name, const std::string &text);
void SetRawValue(HKEY root, const std::string &path, const char *name, DWORD type,
                 const void *data, DWORD size);

bool KeyExists(HKEY root, const std::string &path);
bool ValueExists(HKEY root, const std::string &path, const char *name);

// Removes, newest first, every key and value that the helpers above created.
void RemoveCreatedRegistryEntries();

// The highest handle value among a batch of fresh handles: it grows when
// handles leak, since Wine hands out the lowest free slots first. Take it
// right before and after the code under test: GoogleTest's own locks (as in
// SCOPED_TRACE) create handles on first use.
uintptr_t HighestFreshHandle();

// Cleans the registry after every test, whatever the test left.
class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RemoveCreatedRegistryEntries(); }
};

#endif
