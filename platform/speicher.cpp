#include "platform/speicher.h"

#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void GrosseBloeckeImHeap() {
#ifdef __GLIBC__
  static std::once_flag einmal;
  std::call_once(einmal, [] {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
  });
#endif
}
