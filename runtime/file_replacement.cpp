#include "file_replacement.h"

#include <windows.h>

#include "text.h"

int FormSiblingPath(PathBuffer &sibling, const char *path, const char *extension)
{
    unsigned length = TextLength(path), stem = length;
    for (unsigned i = length; i > 0 && path[i - 1] != '\\' && path[i - 1] != ':'; i--)
        if (path[i - 1] == '.') {
            stem = i - 1;
            break;
        }
    unsigned extensionLength = TextLength(extension);
    if (stem + 1 + extensionLength + 1 > sizeof sibling)
        return 0;
    for (unsigned i = 0; i < stem; i++)
        sibling[i] = path[i];
    sibling[stem] = '.';
    for (unsigned i = 0; i <= extensionLength; i++)
        sibling[stem + 1 + i] = extension[i];
    // A file that already has the extension would be its own new copy.
    if (stem + 1 + extensionLength == length) {
        unsigned same = 0;
        while (same < length && UpperCaseLetter(sibling[same]) == UpperCaseLetter(path[same]))
            same++;
        if (same == length) {
            sibling[0] = 0;
            return 0;
        }
    }
    return 1;
}

int PathExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int FileIsWritable(const char *path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    return 1;
}

int RecoverReplacement(const char *path, const char *newCopy, const char *backup)
{
    // Stopped between the two renames: the file is missing, its old content
    // under the backup name, and the new copy still beside it. (A backup
    // without a new copy is what a finished replacement left when only the
    // backup's deletion failed; the file may have gone since, as Windows
    // removes WinInit.INI once it has carried it out, and the old content
    // must not come back then.)
    if (!PathExists(path) && PathExists(backup) && PathExists(newCopy) && !MoveFileA(backup, path))
        return 0;
    if (PathExists(newCopy))
        DeleteFileA(newCopy);
    if (PathExists(backup))
        DeleteFileA(backup);
    return 1;
}

int ReplaceWithNewCopy(const char *path, const char *newCopy, const char *backup)
{
    if (!PathExists(path)) {
        if (MoveFileA(newCopy, path))
            return 1;
    } else if (MoveFileA(path, backup)) {
        if (MoveFileA(newCopy, path)) {
            DeleteFileA(backup);
            return 1;
        }
        MoveFileA(backup, path);
    }
    DeleteFileA(newCopy);
    return 0;
}
