// Has the platform's registration tool unregister the two filter modules.
#ifndef SQV_CLEANUP_FILTER_UNREGISTRATION_H
#define SQV_CLEANUP_FILTER_UNREGISTRATION_H

// Starts "RegSvr32.EXE /u /s" once per module, hidden, and does not wait.
void UnregisterFilters();

#endif
