// Removes the lines that start the package's DOS-mode MIDI program from the
// startup batch files.
#ifndef SQV_CLEANUP_BATCH_CLEANUP_H
#define SQV_CLEANUP_BATCH_CLEANUP_H

#include "../runtime/buffers.h"
#include "../runtime/text_file.h"

// Cleans "C:\Autoexec.Bat", then the Windows directory's "DosStart.Bat".
int CleanStartupBatchFiles();

// Rewrites the file without the lines that contain `marker` in any case of
// letters. The new content is written beside the file under the file's name
// with the extension SQN and takes the file's place only when complete (see
// runtime/file_replacement.h; the backup's extension is SQO). 0 when the
// file or its new copy cannot be opened.
int StripMarkedLines(const char *fileName, const char *marker);

// The next line, its LF included when it has one, zero-terminated in `line`,
// its length in `length` (a line may hold zero bytes). A line too long for
// the buffer comes in pieces; `whole` is 0 for every piece but the last.
// Returns 0 when the file holds no further character.
int ReadTextLine(TextFile *file, LineBuffer &line, unsigned *length, int *whole);

#endif
