#include "filter_unregistration.h"

#include <windows.h>
#include <shellapi.h>

#include "../runtime/buffers.h"
#include "../runtime/system_paths.h"
#include "../runtime/text.h"

static PathBuffer SystemDirectoryBuffer;
static PathBuffer ParametersBuffer;

// The module path is quoted, so that a system directory with a blank still
// names the module.
static const char *const UnregisterParameters[] = {
    "/u /s \"%s\\sqvvdec.ax\"",
    "/u /s \"%s\\sqvrendr.ax\"",
};

void UnregisterFilters()
{
    if (!GetSystemDirectoryInto(SystemDirectoryBuffer))
        return;
    for (unsigned i = 0; i < sizeof UnregisterParameters / sizeof UnregisterParameters[0]; i++) {
        if (FormatText(ParametersBuffer, sizeof ParametersBuffer, UnregisterParameters[i],
                       SystemDirectoryBuffer))
            ShellExecuteA(0, 0, "RegSvr32.EXE", ParametersBuffer, SystemDirectoryBuffer, SW_HIDE);
    }
}
