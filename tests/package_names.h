// What the tests and tools share of the program and the package: one name
// for one thing.
#ifndef SQV_TESTS_PACKAGE_NAMES_H
#define SQV_TESTS_PACKAGE_NAMES_H

#include "../runtime/hardware_id.h"

// The dialogs' captions, in English.
const char MAIN_CAPTION[] = "Halvane(tm) Driver Uninstall";
const char COMPLETE_CAPTION[] = "Halvane(tm) Uninstall Complete";

// The hardware ID, and the device key that it names below HKLM.
const char ID[] = HARDWARE_ID;
const char DEVICE_KEY[] = "Enum\\PCI\\" HARDWARE_ID;

// The two filter modules, which RegSvr32.EXE unregisters; the stand-ins of
// tests/fake_filter_module.cpp add a line with their path to MARKS_PATH
// when it runs them.
const char *const FILTER_MODULES[] = {"sqvvdec.ax", "sqvrendr.ax"};
const char MARKS_PATH[] = "C:\\filters-unregistered.txt";

#endif
