// The About dialog's version line, formed from a template's text.
#ifndef SQV_UI_VERSION_LINE_H
#define SQV_UI_VERSION_LINE_H

// Writes `format` into `line`, which holds `size` bytes, with the first
// "%d" replaced by `major`, the second by `minor`, and "%%" by "%". Any other
// "%" sequence, a third "%d" included, is copied as it stands: the format
// comes from a language module and must never steer more than that. A result
// that does not fit is cut; it is always terminated inside `line`.
void FormatVersionLine(char *line, unsigned size, const char *format, int major, int minor);

#endif
