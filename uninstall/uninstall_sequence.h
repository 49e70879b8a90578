// The uninstall: one fixed, compiled-in sequence of removals.
#ifndef SQV_ENGINE_UNINSTALL_SEQUENCE_H
#define SQV_ENGINE_UNINSTALL_SEQUENCE_H

enum { UNINSTALL_STEP_COUNT = 33 };

// Attempts every step in order; a step that fails is passed over. Returns 1.
int RunUninstall();

// Attempts steps `first` to `last` (numbered from 1) in order, so that the
// benchmark can time the steps one group at a time.
void RunUninstallSteps(unsigned first, unsigned last);

// Deletes one file's record under the installed-files key.
int ForgetInstalledFile(const char *fileName);

#endif
