// Pictures saved for a person to look at.
#ifndef SQV_TESTS_PNG_FILE_H
#define SQV_TESTS_PNG_FILE_H

#include <string>
#include <vector>

// Saves `width` x `height` pixels, given top-down as 0x00RRGGBB, as a PNG
// file (stored, not compressed). Returns false when the file cannot be written.
bool WritePng(const std::string &path, int width, int height, const std::vector<unsigned> &pixels);

#endif
