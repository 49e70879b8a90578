// Text helpers of our own: the program links no C run-time, so these stand in
// for strlen, strstr, strupr and sprintf. All work on zero-terminated ANSI
// texts and compare bytes, so the case of letters matters.
#ifndef SQV_RUNTIME_TEXT_H
#define SQV_RUNTIME_TEXT_H

// Number of bytes before the first zero byte.
unsigned TextLength(const char *text);

// First occurrence of `wanted` in `text`, or 0. The search ends at the first
// zero byte of `text`; an empty `wanted` is found at the start.
const char *SearchText(const char *text, const char *wanted);

// First occurrence of `wanted` among the `count` bytes at `bytes`, zero
// bytes included, or 0.
const char *SearchBytes(const char *bytes, unsigned count, const char *wanted);

// Changes the letters a to z into A to Z, in place; every other byte stays.
char UpperCaseLetter(char byte);
void UpperCaseText(char *text);
void UpperCaseBytes(char *bytes, unsigned count);

// Forms `format` into `buffer`, which holds `size` bytes. Only "%s" (each
// taking the next const char * argument) and "%%" are expanded; any other
// byte is copied. Returns 1 when the whole result and its terminating zero
// fit; otherwise returns 0 and leaves the empty text, so that a path that
// does not fit is never used cut short.
int FormatText(char *buffer, unsigned size, const char *format, ...);

#endif
