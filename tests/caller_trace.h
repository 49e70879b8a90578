// Where a shared check helper was called from, for its failures: the helper
// takes `const char *file = __builtin_FILE(), int line = __builtin_LINE()`
// as its last parameters and opens with CALLER_TRACE, so that a failure
// names the caller's line, not only the helper's.
#ifndef SQV_TESTS_CALLER_TRACE_H
#define SQV_TESTS_CALLER_TRACE_H

#include <gtest/gtest.h>

#define CALLER_TRACE ::testing::ScopedTrace callerTrace(file, line, "checked from here")

#endif
