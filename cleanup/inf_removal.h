// Deletes the INF files that name the sound chip's hardware ID.
#ifndef SQV_CLEANUP_INF_REMOVAL_H
#define SQV_CLEANUP_INF_REMOVAL_H

// Searches the Windows directory's INF folder, then its OTHER subfolder,
// each made the current directory in turn; the last one stays current.
void RemoveDeviceInfFiles();

// Deletes each file of the current directory that matches `pattern` and
// contains `text`.
void DeleteFilesContaining(const char *pattern, const char *text);

// 1 when `text` lies in the file as text-mode reading delivers it, before
// any zero byte; 0 otherwise, or when the file cannot be opened.
int FileContainsText(const char *fileName, const char *text);

#endif
