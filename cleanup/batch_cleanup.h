// Removes the lines that start the package's DOS-mode MIDI program from the
// startup batch files.
#ifndef SQV_CLEANUP_BATCH_CLEANUP_H
#define SQV_CLEANUP_BATCH_CLEANUP_H

// Cleans "C:\Autoexec.Bat", then the Windows directory's "DosStart.Bat".
int CleanStartupBatchFiles();

// Rewrites the file without the lines that contain `marker` in any case of
// letters. The new content is written beside the file under the file's name
// with the extension SQN and takes the file's place only when complete (see
// runtime/file_replacement.h; the backup's extension is SQO). 0 when the
// file or its new copy cannot be opened.
int StripMarkedLines(const char *fileName, const char *marker);

#endif
