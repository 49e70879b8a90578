// Replacing a file so that no failure and no sudden stop leaves it cut or
// mixed. Windows 95 has no call that replaces a file in one step (no
// MoveFileEx, no ReplaceFile), so the complete new content is first written
// and closed under a name of its own in the same folder (the new copy); then
// the file is renamed to a backup name, the new copy to the file's name, and
// the backup is deleted. Only in the instant between the two renames is the
// file's name missing: then its old content sits under the backup name, and
// the next run puts it back before it does anything else.
#ifndef SQV_RUNTIME_FILE_REPLACEMENT_H
#define SQV_RUNTIME_FILE_REPLACEMENT_H

#include "buffers.h"

// `path` with its extension (or the end of its name) replaced by `extension`,
// into `sibling`. 0 when it does not fit or would name `path` itself.
int FormSiblingPath(PathBuffer &sibling, const char *path, const char *extension);

// 1 when `path` names something (a file or a folder).
int PathExists(const char *path);

// 1 when `path` is a file that may be written: not read-only, not locked.
int FileIsWritable(const char *path);

// Puts back what an interrupted replacement left: a backup whose file is
// missing while the new copy is still there (the stop came between the two
// renames) becomes the file again; then the new copy, which may be cut, and
// any other backup are deleted. 0 when the backup could not be put back:
// then the file must not be touched this time.
int RecoverReplacement(const char *path, const char *newCopy, const char *backup);

// Puts the complete, closed `newCopy` in the place of `path`, which may be
// missing. 1 when it is there; else `path` is as it was and `newCopy` is
// deleted. The backup is deleted last; only when that one call fails does
// it stay, for the next run's recovery.
int ReplaceWithNewCopy(const char *path, const char *newCopy, const char *backup);

#endif
