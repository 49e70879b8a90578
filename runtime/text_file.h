// Text files over the Win32 file API, as the program's files need them.
// Reading delivers CR LF as LF, keeps a lone CR, and ends at the first
// Ctrl-Z; writing stores LF as CR LF. Other programs may read and write the
// file meanwhile. Raw reads and writes pass every byte unchanged.
#ifndef SQV_RUNTIME_TEXT_FILE_H
#define SQV_RUNTIME_TEXT_FILE_H

#include <windows.h>

#include "buffers.h"

enum { TEXT_FILE_BUFFER_SIZE = 8192 };

// The end-of-file mark of text files: reading ends at the first one.
enum { CTRL_Z = 0x1A };

struct TextFile {
    HANDLE handle;
    int writing;     // opened with 'w' or 'a'
    int appending;   // opened with 'a': all or nothing
    DWORD oldLength; // the file's length when opened with 'a'
    int failed;      // a read or write did not go through
    int ended;       // reading met the end of the file or its first Ctrl-Z
    int pending;     // a raw byte read ahead after a CR, or -1
    int unread;      // a character given back by the reader, or -1
    DWORD count;     // bytes in the buffer: read ahead, or waiting to be written
    DWORD position;  // next byte of the buffer to deliver
    char buffer[TEXT_FILE_BUFFER_SIZE];
};

// mode: 'r' an existing file (not a folder), 'w' created or emptied, 'a'
// created when missing, every write after its last byte. Appending is all or
// nothing: what is written (up to TEXT_FILE_BUFFER_SIZE bytes) reaches the
// file in one write at the close, and when that write fails the file is cut
// back to its old length, so that no cut line is ever left at its end.
int OpenTextFile(TextFile *file, const char *path, char mode);

// Closes the file. Returns 1 when every read and write went through and the
// last buffered bytes reached the file.
int CloseTextFile(TextFile *file);

// The next character, or -1 at the end.
int ReadTextChar(TextFile *file);

// Gives `character` back: the next read delivers it again. One at a time.
void UnreadTextChar(TextFile *file, int character);

// Up to `size` characters into `bytes`; returns how many were delivered,
// fewer than `size` only at the end.
unsigned ReadTextBlock(TextFile *file, char *bytes, unsigned size);

// Up to `size` bytes, unchanged (no line-end translation, no end at Ctrl-Z);
// fewer than `size` only at the end, which a disk file shows by a short read,
// so the caller need not read once more to learn it.
unsigned ReadRawBlock(TextFile *file, char *bytes, unsigned size);

// The next line, its LF included when it has one, zero-terminated in `line`,
// its length in `length` (a line may hold zero bytes). A line too long for
// the buffer comes in pieces; `whole` is 0 for every piece but the last.
// Returns 0 when the file holds no further character.
int ReadTextLine(TextFile *file, LineBuffer &line, unsigned *length, int *whole);

// Writes `count` bytes, each LF as CR LF. Returns 0 once anything failed.
int WriteText(TextFile *file, const char *bytes, unsigned count);
int WriteRaw(TextFile *file, const char *bytes, unsigned count);

#endif
