#include "text.h"

#include <stdarg.h>

unsigned TextLength(const char *text)
{
    unsigned length = 0;
    while (text[length] != 0)
        length++;
    return length;
}

const char *SearchText(const char *text, const char *wanted)
{
    for (; ; text++) {
        unsigned matched = 0;
        while (wanted[matched] != 0 && text[matched] == wanted[matched])
            matched++;
        if (wanted[matched] == 0)
            return text;
        if (*text == 0)
            return 0;
    }
}

const char *SearchBytes(const char *bytes, unsigned count, const char *wanted)
{
    unsigned length = TextLength(wanted);
    if (length == 0)
        return bytes;
    if (length > count)
        return 0;
    // Look for the first byte with a tight loop; compare the rest only there.
    const char first = wanted[0];
    const char *last = bytes + (count - length);
    for (const char *candidate = bytes; candidate <= last; candidate++) {
        if (*candidate != first)
            continue;
        unsigned matched = 1;
        while (matched < length && candidate[matched] == wanted[matched])
            matched++;
        if (matched == length)
            return candidate;
    }
    return 0;
}

char UpperCaseLetter(char byte)
{
    return byte >= 'a' && byte <= 'z' ? (char)(byte - 'a' + 'A') : byte;
}

void UpperCaseBytes(char *bytes, unsigned count)
{
    for (unsigned i = 0; i < count; i++)
        bytes[i] = UpperCaseLetter(bytes[i]);
}

void UpperCaseText(char *text)
{
    UpperCaseBytes(text, TextLength(text));
}

int FormatText(char *buffer, unsigned size, const char *format, ...)
{
    if (size == 0)
        return 0;
    va_list arguments;
    va_start(arguments, format);
    unsigned used = 0;
    int fits = 1;
    for (const char *at = format; *at != 0; at++) {
        const char *piece = at;
        unsigned pieceLength = 1;
        if (at[0] == '%' && at[1] == 's') {
            piece = va_arg(arguments, const char *);
            pieceLength = TextLength(piece);
            at++;
        } else if (at[0] == '%' && at[1] == '%') {
            at++;
        }
        if (pieceLength >= size - used) {
            fits = 0;
            break;
        }
        for (unsigned i = 0; i < pieceLength; i++)
            buffer[used++] = piece[i];
    }
    va_end(arguments);
    buffer[fits ? used : 0] = 0;
    return fits;
}
