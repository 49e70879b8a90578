// Schedules the package's files for deletion at the next start of Windows,
// and the replacement of DSOUND.DLL, in WinInit.INI's [Rename] section.
#ifndef SQV_CLEANUP_BOOT_FILE_OPS_H
#define SQV_CLEANUP_BOOT_FILE_OPS_H

void ScheduleBootFileOps();

#endif
