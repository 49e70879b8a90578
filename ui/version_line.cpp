#include "version_line.h"

// Appends `number` in decimal; returns the new length, never beyond `limit`.
static unsigned AppendNumber(char *line, unsigned length, unsigned limit, int number)
{
    char digits[12];
    unsigned count = 0;
    unsigned magnitude = number < 0 ? 0u - (unsigned)number : (unsigned)number;
    do {
        digits[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (number < 0)
        digits[count++] = '-';
    while (count && length < limit)
        line[length++] = digits[--count];
    return length;
}

void FormatVersionLine(char *line, unsigned size, const char *format, int major, int minor)
{
    if (!size)
        return;
    unsigned limit = size - 1, length = 0, numbersUsed = 0;
    while (*format && length < limit) {
        if (format[0] == '%' && format[1] == 'd' && numbersUsed < 2) {
            length = AppendNumber(line, length, limit, numbersUsed++ ? minor : major);
            format += 2;
        } else if (format[0] == '%' && format[1] == '%') {
            line[length++] = '%';
            format += 2;
        } else {
            line[length++] = *format++;
        }
    }
    line[length] = 0;
}
