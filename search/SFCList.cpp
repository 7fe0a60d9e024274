#include "search/SFCList.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <queue>
#include <stdexcept>

#include "core/FormatSettings.h"
#include "core/Text.h"

namespace {

constexpr std::size_t BlockSize = 1 << 16;
constexpr std::size_t FirstSlotCount = 1024;
// Texts sorted together, keys and all, before runs are merged.
constexpr std::size_t SortRun = 1 << 18;

std::size_t VarintSize(std::size_t Value) {
  std::size_t Size = 1;
  while (Value >= 0x80) Value >>= 7, ++Size;
  return Size;
}

}  // namespace

TSFCList::TSFCList() = default;
TSFCList::~TSFCList() = default;

std::uint64_t TSFCList::HashOf(std::string_view Text) {
  // FNV-1a over the folded bytes, then a final mix so that the low bits pick slots well.
  std::uint64_t Hash = 1469598103934665603ull;
  for (char C : Text) {
    Hash ^= static_cast<unsigned char>(AsciiLower(C));
    Hash *= 1099511628211ull;
  }
  Hash ^= Hash >> 29;
  Hash *= 0xBF58476D1CE4E5B9ull;
  Hash ^= Hash >> 32;
  return Hash;
}

std::string_view TSFCList::Text(std::size_t Index) const {
  const TEntry& Entry = FEntries[Index];
  if (Entry.Block == RemovedBlock) return std::string_view();
  const char* At = FBlocks[Entry.Block].get() + Entry.Offset;
  std::size_t Length = 0;
  for (int Shift = 0;; Shift += 7) {
    const auto Byte = static_cast<unsigned char>(*At++);
    Length |= static_cast<std::size_t>(Byte & 0x7F) << Shift;
    if (!(Byte & 0x80)) break;
  }
  return std::string_view(At, Length);
}

TSFCList::TEntry TSFCList::StoreText(std::string_view Text) {
  const std::size_t Needed = VarintSize(Text.size()) + Text.size();
  if (FBlocks.empty() || FBlockUsed + Needed > FBlockSizes.back()) {
    const std::size_t Size = std::max(BlockSize, Needed);
    FBlocks.push_back(std::make_unique<char[]>(Size));
    FBlockSizes.push_back(Size);
    FBlockUsed = 0;
  }
  if (FBlocks.size() >= RemovedBlock) throw std::length_error("Search cache too large");
  const TEntry Entry{static_cast<std::uint32_t>(FBlocks.size() - 1), static_cast<std::uint32_t>(FBlockUsed)};
  char* At = FBlocks.back().get() + FBlockUsed;
  std::size_t Length = Text.size();
  do {
    *At++ = static_cast<char>((Length & 0x7F) | (Length >= 0x80 ? 0x80 : 0));
    Length >>= 7;
  } while (Length);
  if (!Text.empty()) std::memcpy(At, Text.data(), Text.size());
  FBlockUsed += Needed;
  return Entry;
}

// The slot that holds Text, or the empty slot where it would go. A byte of the hash kept beside each
// slot spares reading the texts of most slots that cannot match.
std::size_t TSFCList::FindSlot(std::string_view Text, std::uint64_t Hash) const {
  const std::size_t Mask = FSlots.size() - 1;
  const auto Tag = static_cast<std::uint8_t>(Hash >> 56);
  for (std::size_t Slot = Hash & Mask;; Slot = (Slot + 1) & Mask) {
    const std::uint32_t Held = FSlots[Slot];
    if (Held == 0 || (FTags[Slot] == Tag && AsciiSameText(this->Text(Held - 1), Text))) return Slot;
  }
}

void TSFCList::Rehash(std::size_t SlotCount) {
  FSlots.assign(SlotCount, 0);
  FTags.assign(SlotCount, 0);
  const std::size_t Mask = SlotCount - 1;
  for (std::size_t Index = 0; Index < FEntries.size(); ++Index) {
    if (FEntries[Index].Block == RemovedBlock) continue;
    const std::uint64_t Hash = HashOf(Text(Index));
    std::size_t Slot = Hash & Mask;
    while (FSlots[Slot] != 0) Slot = (Slot + 1) & Mask;
    FSlots[Slot] = static_cast<std::uint32_t>(Index + 1);
    FTags[Slot] = static_cast<std::uint8_t>(Hash >> 56);
  }
}

bool TSFCList::Add(std::string_view Text) {
  if (FSlots.empty()) Rehash(FirstSlotCount);
  const std::uint64_t Hash = HashOf(Text);
  const std::size_t Slot = FindSlot(Text, Hash);
  if (FSlots[Slot] != 0) return false;
  if (FEntries.size() >= UINT32_MAX - 1) throw std::length_error("Search cache too large");
  FEntries.push_back(StoreText(Text));
  FSlots[Slot] = static_cast<std::uint32_t>(FEntries.size());
  FTags[Slot] = static_cast<std::uint8_t>(Hash >> 56);
  // Keep the load at three quarters at most so that probe runs stay short.
  if (FEntries.size() * 4 > FSlots.size() * 3) Rehash(FSlots.size() * 2);
  return true;
}

std::ptrdiff_t TSFCList::IndexOf(std::string_view Text) const {
  if (FSlots.empty()) return -1;
  const std::uint32_t Held = FSlots[FindSlot(Text, HashOf(Text))];
  return Held == 0 ? -1 : static_cast<std::ptrdiff_t>(Held) - 1;
}

void TSFCList::Replace(std::size_t Index, std::string_view Text) {
  if (FEntries[Index].Block == RemovedBlock) return;
  if (AsciiSameText(this->Text(Index), Text)) {
    FEntries[Index] = StoreText(Text);  // the same hash, the same slot
    return;
  }
  RemoveSlot(Index);
  const std::uint64_t Hash = HashOf(Text);
  const std::size_t Slot = FindSlot(Text, Hash);
  if (FSlots[Slot] != 0) {
    FEntries[Index].Block = RemovedBlock;
    return;
  }
  FEntries[Index] = StoreText(Text);
  FSlots[Slot] = static_cast<std::uint32_t>(Index + 1);
  FTags[Slot] = static_cast<std::uint8_t>(Hash >> 56);
}

// Empties the slot of the text at Index and moves later texts of the same probe run back into the
// hole, so that every lookup still finds its text before an empty slot.
void TSFCList::RemoveSlot(std::size_t Index) {
  const std::size_t Mask = FSlots.size() - 1;
  std::size_t Hole = HashOf(Text(Index)) & Mask;
  while (FSlots[Hole] != Index + 1) Hole = (Hole + 1) & Mask;
  for (std::size_t Next = (Hole + 1) & Mask; FSlots[Next] != 0; Next = (Next + 1) & Mask) {
    const std::size_t Home = HashOf(this->Text(FSlots[Next] - 1)) & Mask;
    if (((Next - Home) & Mask) >= ((Next - Hole) & Mask)) {
      FSlots[Hole] = FSlots[Next];
      FTags[Hole] = FTags[Next];
      Hole = Next;
    }
  }
  FSlots[Hole] = 0;
  FTags[Hole] = 0;
}

void TSFCList::Clear() {
  FBlocks.clear();
  FBlockSizes.clear();
  FBlockUsed = 0;
  FEntries.clear();
  FEntries.shrink_to_fit();
  FSlots.clear();
  FSlots.shrink_to_fit();
  FTags.clear();
  FTags.shrink_to_fit();
}

std::vector<std::uint32_t> TSFCList::Order(bool Unique) const {
  std::vector<std::uint32_t> Indexes;
  Indexes.reserve(FEntries.size());
  for (std::size_t I = 0; I < FEntries.size(); ++I)
    if (FEntries[I].Block != RemovedBlock) Indexes.push_back(static_cast<std::uint32_t>(I));
  SortIndexes(Indexes, Unique);
  return Indexes;
}

void TSFCList::SortIndexes(std::vector<std::uint32_t>& Indexes, bool Unique) const {
  if (!FSorted) {
    std::sort(Indexes.begin(), Indexes.end());
    return;
  }
  // One collation key per text, then plain byte comparisons: far cheaper than asking the locale for
  // every comparison of the sort. Keys of millions of paths would take more memory than the paths
  // themselves, so runs of SortRun texts are sorted one after the other and then merged, each text's
  // key made once for its run and once when the merge reaches it.
  using TKeyed = std::pair<std::string, std::uint32_t>;
  std::vector<TKeyed> Keyed;
  Keyed.reserve(std::min(Indexes.size(), SortRun));
  std::vector<std::size_t> RunEnds;
  for (std::size_t Start = 0; Start < Indexes.size(); Start += SortRun) {
    const std::size_t End = std::min(Indexes.size(), Start + SortRun);
    Keyed.clear();
    for (std::size_t I = Start; I < End; ++I) Keyed.emplace_back(CollationKey(Text(Indexes[I])), Indexes[I]);
    std::sort(Keyed.begin(), Keyed.end());
    for (std::size_t I = Start; I < End; ++I) Indexes[I] = Keyed[I - Start].second;
    RunEnds.push_back(End);
  }
  std::vector<std::uint32_t> Merged;
  if (RunEnds.size() > 1) Merged.reserve(Indexes.size());
  // The head of every run, smallest first.
  struct THead {
    TKeyed Key;
    std::size_t Position, End;
    bool operator>(const THead& Other) const { return Key > Other.Key; }
  };
  std::priority_queue<THead, std::vector<THead>, std::greater<THead>> Heads;
  if (RunEnds.size() > 1)
    for (std::size_t Run = 0, Start = 0; Run < RunEnds.size(); Start = RunEnds[Run++])
      Heads.push(THead{{CollationKey(Text(Indexes[Start])), Indexes[Start]}, Start, RunEnds[Run]});
  std::string Last;
  bool Any = false;
  const auto Take = [&](std::string&& Key, std::uint32_t Index, std::vector<std::uint32_t>& Out) {
    if (Unique && Any && Key == Last) return;
    Out.push_back(Index);
    Last = std::move(Key);
    Any = true;
  };
  if (RunEnds.size() <= 1) {
    // One run: its keys are still at hand.
    std::vector<std::uint32_t> Out;
    Out.reserve(Keyed.size());
    for (TKeyed& Item : Keyed) Take(std::move(Item.first), Item.second, Out);
    Indexes.swap(Out);
    return;
  }
  while (!Heads.empty()) {
    THead Head = Heads.top();
    Heads.pop();
    Take(std::move(Head.Key.first), Head.Key.second, Merged);
    if (++Head.Position < Head.End) {
      Head.Key = {CollationKey(Text(Indexes[Head.Position])), Indexes[Head.Position]};
      Heads.push(std::move(Head));
    }
  }
  Indexes.swap(Merged);
}

std::size_t TSFCList::MemoryBytes() const {
  std::size_t Bytes = sizeof(*this);
  for (std::size_t Size : FBlockSizes) Bytes += Size;
  Bytes += FBlocks.capacity() * sizeof(FBlocks[0]) + FBlockSizes.capacity() * sizeof(std::size_t);
  Bytes += FEntries.capacity() * sizeof(TEntry) + FSlots.capacity() * sizeof(std::uint32_t) + FTags.capacity();
  return Bytes;
}
