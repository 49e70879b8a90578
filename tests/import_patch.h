// Changes one call of the code under test without changing that code: the
// test program points its own import address table entry of a DLL function
// at a function of the test, which may call the real one.
#ifndef SQV_TESTS_IMPORT_PATCH_H
#define SQV_TESTS_IMPORT_PATCH_H

// Points this program's import of `function` from `dll` at `hook` and puts
// the real function in `*real`. False when the program does not import it.
bool PatchImport(const char *dll, const char *function, void *hook, void **real);

#endif
