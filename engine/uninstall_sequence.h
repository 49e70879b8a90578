// The uninstall: one fixed, compiled-in sequence of removals.
#ifndef SQV_ENGINE_UNINSTALL_SEQUENCE_H
#define SQV_ENGINE_UNINSTALL_SEQUENCE_H

// Attempts every step in order; a step that fails is passed over. Returns 1.
int RunUninstall();

// Deletes one file's record under the installed-files key.
int ForgetInstalledFile(const char *fileName);

#endif
