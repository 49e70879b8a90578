#include "filter_unregistration.h"

#include <windows.h>
#include <shellapi.h>

#include "../runtime/buffers.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"

// Program-wide, as every buffer of the program, so the step is not
// reentrant.
static PathBuffer ParametersBuffer;

// The module path is quoted, so that a system directory with a blank still
// names the module.
static const char *const UnregisterParameters[] = {
    "/u /s \"%s\\sqvvdec.ax\"",
    "/u /s \"%s\\sqvrendr.ax\"",
};

void UnregisterFilters()
{
    const char *systemDirectory = FetchSystemDirectory();
    if (!systemDirectory)
        return;
    for (unsigned i = 0; i < sizeof UnregisterParameters / sizeof UnregisterParameters[0]; i++) {
        if (FormatText(ParametersBuffer, sizeof ParametersBuffer, UnregisterParameters[i], systemDirectory))
            ShellExecuteA(0, 0, "RegSvr32.EXE", ParametersBuffer, systemDirectory, SW_HIDE);
    }
}
