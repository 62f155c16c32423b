#include "cli/memory_reserve.h"

#include <new>

namespace {

char* reserve = nullptr;

void GiveBackReserve() {
  // Without a reserve the default behaviour returns: new throws at once.
  std::set_new_handler(nullptr);
  delete[] reserve;
  reserve = nullptr;
  throw std::bad_alloc();
}

}  // namespace

void HoldMemoryReserve(std::size_t bytes) {
  std::set_new_handler(nullptr);
  delete[] reserve;
  reserve = new char[bytes];
  std::set_new_handler(GiveBackReserve);
}
