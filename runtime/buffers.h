// Fixed buffer kinds shared by the whole program. Taking them by reference
// lets the compiler hold every caller to the right size.
#ifndef SQV_RUNTIME_BUFFERS_H
#define SQV_RUNTIME_BUFFERS_H

enum { PATH_BUFFER_SIZE = 128, LINE_BUFFER_SIZE = 1024 };

typedef char PathBuffer[PATH_BUFFER_SIZE];
typedef char LineBuffer[LINE_BUFFER_SIZE];

#endif
