// The vendor and device part of the sound chip's PCI hardware ID: it names
// the device key below Enum\PCI, is looked for in DeviceID values and is
// searched for in INF files.
#ifndef SQV_RUNTIME_HARDWARE_ID_H
#define SQV_RUNTIME_HARDWARE_ID_H

#define HARDWARE_ID "VEN_5A3C&DEV_0C17"

#endif
