// Sweeps that find the package's registry entries by what one of their
// values says, and delete them. All work below HKEY_LOCAL_MACHINE.
#ifndef SQV_ENGINE_REGISTRY_SWEEPS_H
#define SQV_ENGINE_REGISTRY_SWEEPS_H

// Deletes the driver class key named by each device instance's "Driver" value.
void SweepDeviceInstances();

// Deletes each entry whose "DeviceID" names the PCI device or a virtual
// device of the chip family.
void SweepMediaResources(const char *walkedPath);

// Deletes each entry whose "DriverDesc" contains `matchText`.
void SweepMediaClass(const char *walkedPath, const char *matchText);

#endif
