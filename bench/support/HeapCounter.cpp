// Replaces the global allocation functions for the benchmark that links this file: a header in
// front of every block remembers its size, so frees can be subtracted. Single-threaded use only.
#include "bench/support/HeapCounter.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t LiveBytes = 0, PeakBytes = 0, Allocations = 0;
constexpr std::size_t Header = 16;  // keeps the block aligned for any type

void* Allocate(std::size_t Size) {
  void* Block = std::malloc(Size + Header);
  if (!Block) throw std::bad_alloc();
  *static_cast<std::size_t*>(Block) = Size;
  LiveBytes += Size;
  if (LiveBytes > PeakBytes) PeakBytes = LiveBytes;
  ++Allocations;
  return static_cast<char*>(Block) + Header;
}

void Release(void* Pointer) {
  if (!Pointer) return;
  void* Block = static_cast<char*>(Pointer) - Header;
  LiveBytes -= *static_cast<std::size_t*>(Block);
  std::free(Block);
}
}  // namespace

std::size_t LiveHeapBytes() { return LiveBytes; }
std::size_t HeapAllocations() { return Allocations; }
std::size_t PeakHeapBytes() { return PeakBytes; }
void ResetHeapPeak() { PeakBytes = LiveBytes; }

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(Size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t Size, const std::nothrow_t& Tag) noexcept { return operator new(Size, Tag); }
void operator delete(void* Pointer) noexcept { Release(Pointer); }
void operator delete[](void* Pointer) noexcept { Release(Pointer); }
void operator delete(void* Pointer, std::size_t) noexcept { Release(Pointer); }
void operator delete[](void* Pointer, std::size_t) noexcept { Release(Pointer); }
void operator delete(void* Pointer, const std::nothrow_t&) noexcept { Release(Pointer); }
void operator delete[](void* Pointer, const std::nothrow_t&) noexcept { Release(Pointer); }
