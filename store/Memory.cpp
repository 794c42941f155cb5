#include "Memory.h"

// Any C library header defines __GLIBC__; without one the check below is
// always false and the settings are never made.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (the most the library takes) come from the heap,
    // and up to 64 MB of free memory at its top stays there: about the rows
    // of a ten-year search.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
