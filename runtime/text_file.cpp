#include "text_file.h"

int OpenTextFile(TextFile *file, const char *path, char mode)
{
    DWORD access = mode == 'r' ? GENERIC_READ : GENERIC_WRITE;
    DWORD disposition = mode == 'r' ? OPEN_EXISTING : mode == 'w' ? CREATE_ALWAYS : OPEN_ALWAYS;
    // A folder fails to open: without FILE_FLAG_BACKUP_SEMANTICS only files open.
    file->handle = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, disposition,
                               FILE_ATTRIBUTE_NORMAL, 0);
    if (file->handle == INVALID_HANDLE_VALUE)
        return 0;
    file->writing = mode != 'r';
    file->appending = mode == 'a';
    file->oldLength = 0;
    file->failed = 0;
    file->ended = 0;
    file->pending = -1;
    file->unread = -1;
    file->count = 0;
    file->position = 0;
    if (mode == 'a') {
        // Files of 4 GB and more are not provided for: the high part is 0.
        file->oldLength = SetFilePointer(file->handle, 0, 0, FILE_END);
        if (file->oldLength == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
            CloseHandle(file->handle);
            return 0;
        }
    }
    return 1;
}

static void FlushWrites(TextFile *file)
{
    if (file->count == 0)
        return;
    DWORD written = 0;
    if (!WriteFile(file->handle, file->buffer, file->count, &written, 0) || written != file->count)
        file->failed = 1;
    file->count = 0;
}

// The appended bytes in one write; after a failed or short write (a full
// disk) the file is cut back to its old length.
static void FinishAppend(TextFile *file)
{
    if (file->failed || file->count == 0)
        return;
    FlushWrites(file);
    if (file->failed && (SetFilePointer(file->handle, (LONG)file->oldLength, 0, FILE_BEGIN) !=
                             INVALID_SET_FILE_POINTER ||
                         GetLastError() == NO_ERROR))
        SetEndOfFile(file->handle);
}

int CloseTextFile(TextFile *file)
{
    if (file->appending)
        FinishAppend(file);
    else if (file->writing)
        FlushWrites(file);
    if (!CloseHandle(file->handle))
        file->failed = 1;
    return !file->failed;
}

// Refills the buffer; 0 at the end of the file or after a failed read.
static int FillBuffer(TextFile *file)
{
    DWORD got = 0;
    if (!ReadFile(file->handle, file->buffer, sizeof file->buffer, &got, 0))
        file->failed = 1;
    file->count = got;
    file->position = 0;
    return got != 0;
}

static int ReadRawByte(TextFile *file)
{
    if (file->position == file->count && !FillBuffer(file))
        return -1;
    return (unsigned char)file->buffer[file->position++];
}

int ReadTextChar(TextFile *file)
{
    if (file->unread >= 0) {
        int character = file->unread;
        file->unread = -1;
        return character;
    }
    if (file->ended)
        return -1;
    int byte = file->pending;
    file->pending = -1;
    if (byte < 0)
        byte = ReadRawByte(file);
    if (byte == '\r') {
        int next = ReadRawByte(file);
        if (next == '\n')
            return '\n';
        file->pending = next; // a lone CR: the next byte is delivered next
        return '\r';
    }
    if (byte == CTRL_Z || byte < 0) {
        file->ended = 1;
        return -1;
    }
    return byte;
}

void UnreadTextChar(TextFile *file, int character)
{
    file->unread = character;
}

unsigned ReadTextBlock(TextFile *file, char *bytes, unsigned size)
{
    unsigned delivered = 0;
    while (delivered < size) {
        if (!file->ended && file->pending < 0 && file->unread < 0) {
            // Fast path straight from the buffer, in locals the compiler can
            // keep in registers: plain bytes, and CR LF pairs that lie whole
            // in the buffer. Anything else goes the slow way below.
            const char *source = file->buffer;
            unsigned position = file->position, count = file->count;
            while (delivered < size && position < count) {
                char byte = source[position];
                if (byte == CTRL_Z)
                    break;
                if (byte == '\r') {
                    if (position + 1 == count)
                        break; // its partner may come with the next fill
                    if (source[position + 1] == '\n') {
                        byte = '\n';
                        position++;
                    }
                }
                bytes[delivered++] = byte;
                position++;
            }
            file->position = position;
            if (delivered == size)
                break;
        }
        int character = ReadTextChar(file);
        if (character < 0)
            break;
        bytes[delivered++] = (char)character;
    }
    return delivered;
}

unsigned ReadRawBlock(TextFile *file, char *bytes, unsigned size)
{
    unsigned delivered = 0;
    for (;;) {
        while (delivered < size && file->position < file->count)
            bytes[delivered++] = file->buffer[file->position++];
        if (delivered == size)
            break;
        if (size - delivered < sizeof file->buffer) {
            if (!FillBuffer(file))
                break;
            continue;
        }
        // A large rest goes straight into the caller's buffer. A disk file
        // delivers less than asked only at its end: no further read is needed
        // to learn that.
        DWORD wanted = size - delivered, got = 0;
        if (!ReadFile(file->handle, bytes + delivered, wanted, &got, 0))
            file->failed = 1;
        delivered += got;
        if (got < wanted)
            break;
    }
    return delivered;
}

int ReadTextLine(TextFile *file, LineBuffer &line, unsigned *length, int *whole)
{
    unsigned stored = 0;
    int character = ReadTextChar(file);
    if (character < 0)
        return 0;
    *whole = 1;
    for (;;) {
        line[stored++] = (char)character;
        if (character == '\n')
            break;
        character = ReadTextChar(file);
        if (character < 0)
            break;
        if (stored == sizeof line - 1) {
            // No room left: this piece ends here, the rest comes next.
            UnreadTextChar(file, character);
            *whole = 0;
            break;
        }
    }
    line[stored] = 0;
    *length = stored;
    return 1;
}

static void PutByte(TextFile *file, char byte)
{
    if (file->count == sizeof file->buffer) {
        // An append that does not fit the buffer is not written at all.
        if (file->appending) {
            file->failed = 1;
            return;
        }
        FlushWrites(file);
    }
    file->buffer[file->count++] = byte;
}

int WriteText(TextFile *file, const char *bytes, unsigned count)
{
    for (unsigned i = 0; i < count; i++) {
        if (bytes[i] == '\n')
            PutByte(file, '\r');
        PutByte(file, bytes[i]);
    }
    return !file->failed;
}

int WriteRaw(TextFile *file, const char *bytes, unsigned count)
{
    for (unsigned i = 0; i < count; i++)
        PutByte(file, bytes[i]);
    return !file->failed;
}
