#include "installed_files.h"

// Names that differ in a letter or two ("sqvecho.snx" and "sqvecho.snb",
// "tqjboot.vxd" and "sqjboot.vxd") are distinct files of the package.
const char *const InstalledFileNames[INSTALLED_FILE_COUNT] = {
    "sqvaud16.drv", "sqvaud16.vxd", "sqvvdec.ax",    "sqvrelay.vxd", "sqvlocn.tpk",
    "sqvkern.vxd",  "sqvkern3.vxd", "sqvcore.tpk",   "sqvmixr.vxd",  "sqvtb.tpk",
    "sqvrendr.ax",  "sqvcdc.tpk",   "sqvacou.reg",   "sqvacou.vxd",  "sqvsynth.exe",
    "sqvvdec.tpk",  "ivories.dat",  "earcue.wav",    "sqvtbrm.tpk",  "voicebnk.bin",
    "sqvprim.snb",  "sqvecho.snx",  "sqvpinna.dat",  "sqvroom.snb",  "sqvwrap.snb",
    "sqvphant.snx", "sqvtbwav.dat", "sqvbusctl.vxd", "sqjmixr.dll",  "sqjstat.dll",
    "sqjstat.vxd",  "tqjboot.vxd",  "sqvecho.snb",   "sqvwrapd.snb", "sqvphant.snb",
    "sqjbusct.vxd", "sqjboot.vxd",  "sqvnls.dll",    "sqvprobe.exe", "sqvpinna.22",
    "sqvpinna.44",  "sqvpinna.v22", "sqvpinna.v44",  "sqvlvl1.snb",  "sqvlvl2.snb",
    "sqvlvl3.snb",  "sqvpnp.vxd",
};
