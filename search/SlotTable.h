#pragma once
// The open-addressing index of the cache's lists: item numbers by hash, nothing else.
#include <cstddef>
#include <cstdint>
#include <vector>

// Each slot holds an item + 1 (0 for an empty slot) and the top 32 bits of its hash, which place the
// item (its home slot is the top bits of that) and spare looking at nearly every item that cannot
// match. Linear probing; the table doubles at three quarters full. Doubling walks the old table in
// order and writes the new one nearly in order (a home slot h becomes 2h or 2h + 1), so it costs no
// random memory access however large the table, and asks the owner for nothing.
class TSlotTable {
 public:
  bool Empty() const { return FSlots.empty(); }
  std::size_t MemoryBytes() const { return FSlots.capacity() * sizeof(std::uint64_t); }
  void Clear() { std::vector<std::uint64_t>().swap(FSlots); }

  // The slot that holds an item for which Same(item) answers true, or the empty slot where it would go.
  template <class TSame>
  std::size_t Find(std::uint64_t Hash, TSame&& Same) const {
    const std::uint64_t Key = Hash >> 32;
    for (std::size_t Slot = Home(Key);; Slot = (Slot + 1) & FMask) {
      const std::uint64_t Held = FSlots[Slot];
      if (Held == 0) return Slot;
      if ((Held >> 32) == Key && Same(static_cast<std::uint32_t>(Held) - 1)) return Slot;
    }
  }
  // Starts fetching the home slot of Hash from memory.
  void Prefetch(std::uint64_t Hash) const {
#if defined(__GNUC__)
    __builtin_prefetch(&FSlots[Home(Hash >> 32)]);
#else
    (void)Hash;
#endif
  }
  // The item in Slot, or -1 for an empty slot.
  std::int64_t ItemAt(std::size_t Slot) const { return static_cast<std::int64_t>(FSlots[Slot] & 0xFFFFFFFFu) - 1; }
  void Put(std::size_t Slot, std::uint32_t Item, std::uint64_t Hash) {
    FSlots[Slot] = ((Hash >> 32) << 32) | (Item + 1ull);
  }

  // Makes room for Count items.
  void Reserve(std::size_t Count) {
    std::size_t Size = FSlots.empty() ? 1024 : FSlots.size();
    while (Count * 4 > Size * 3) Size *= 2;
    if (Size == FSlots.size()) return;
    std::vector<std::uint64_t> Old(Size, 0);
    Old.swap(FSlots);
    FMask = Size - 1;
    FShift = 0;
    while ((std::size_t(1) << (32 - FShift)) > Size) ++FShift;
    for (const std::uint64_t Held : Old) {
      if (Held == 0) continue;
      std::size_t Slot = Home(Held >> 32);
      while (FSlots[Slot] != 0) Slot = (Slot + 1) & FMask;
      FSlots[Slot] = Held;
    }
  }

  // Empties Slot and moves later items of the same probe run back into the hole, so that every lookup
  // still finds its item before an empty slot.
  void Remove(std::size_t Hole) {
    for (std::size_t Next = (Hole + 1) & FMask; FSlots[Next] != 0; Next = (Next + 1) & FMask) {
      const std::size_t Home = this->Home(FSlots[Next] >> 32);
      if (((Next - Home) & FMask) >= ((Next - Hole) & FMask)) {
        FSlots[Hole] = FSlots[Next];
        Hole = Next;
      }
    }
    FSlots[Hole] = 0;
  }

 private:
  std::size_t Home(std::uint64_t Key) const { return static_cast<std::size_t>(Key >> FShift) & FMask; }

  std::vector<std::uint64_t> FSlots;  // size a power of two
  std::size_t FMask = 0;
  unsigned FShift = 32;
};
