// The package files whose records under the installed-files key the
// uninstall deletes, in the order it deletes them.
#ifndef SQV_ENGINE_INSTALLED_FILES_H
#define SQV_ENGINE_INSTALLED_FILES_H

#define INSTALLED_FILES_KEY "System\\CurrentControlSet\\Control\\InstalledFiles"

enum { INSTALLED_FILE_COUNT = 47 };

extern const char *const InstalledFileNames[INSTALLED_FILE_COUNT];

#endif
