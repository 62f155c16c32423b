#include "window/heap_policy.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepLargeBlocksApart() {
#if defined(__GLIBC__)
  // A fixed threshold also turns off the threshold's growth after frees.
  // 16 MB catches the drawing's, the hit index's and the lists' blocks of a
  // large document; lower ones cost page faults on every smaller vector.
  constexpr int kLargeBlockBytes = 16 << 20;
  mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
#endif
}
