// The Windows and system directories, without a trailing backslash, each in
// the one program-wide buffer that every step forms its paths from.
#ifndef SQV_RUNTIME_SYSTEM_PATHS_H
#define SQV_RUNTIME_SYSTEM_PATHS_H

// The directory as the platform gives it now, or 0 when the platform fails
// or the directory does not fit its 128-byte buffer, so that no path is ever
// formed from a cut or undefined directory. The text stays valid until the
// next call of the same function.
const char *FetchWindowsDirectory();
const char *FetchSystemDirectory();

#endif
