#include "search/FolderIndex.h"

#include <algorithm>

namespace {
std::uint64_t FolderHash(std::uint32_t Folder) {
  std::uint64_t Hash = (Folder + 1ull) * 0x9E3779B97F4A7C15ull;
  return Hash ^ (Hash >> 29);
}
}  // namespace

std::size_t TFolderIndex::SlotOf(std::uint32_t Folder) const {
  return FSlots.Find(FolderHash(Folder), [&](std::uint32_t Held) { return FFolders[Held].Folder == Folder; });
}

bool TFolderIndex::Find(std::uint32_t Folder, TFolderView& View) const {
  if (FSlots.Empty()) return false;
  const std::int64_t Held = FSlots.ItemAt(SlotOf(Folder));
  if (Held < 0 || FFolders[static_cast<std::size_t>(Held)].Removed) return false;
  const TFolder& Found = FFolders[static_cast<std::size_t>(Held)];
  View = TFolderView{Found.Stamp, FItems.data() + Found.First, Found.Count};
  return true;
}

void TFolderIndex::Replace(std::uint32_t Folder, std::uint64_t Stamp, const std::uint32_t* Items, std::size_t Count) {
  FSlots.Reserve(FFolders.size() + 1);
  const std::size_t Slot = SlotOf(Folder);
  const std::int64_t Held = FSlots.ItemAt(Slot);
  TFolder* Target;
  if (Held >= 0) {
    Target = &FFolders[static_cast<std::size_t>(Held)];
    if (!Target->Removed && Target->Stamp == Stamp && Target->Count == Count &&
        std::equal(Items, Items + Count, FItems.begin() + Target->First))
      return;  // as it was
    FUnused += Target->Count;
    if (Target->Removed) --FRemoved;
  } else {
    FFolders.push_back(TFolder{0, Folder, 0, 0, false});
    FSlots.Put(Slot, static_cast<std::uint32_t>(FFolders.size() - 1), FolderHash(Folder));
    Target = &FFolders.back();
  }
  Target->Stamp = Stamp;
  Target->First = static_cast<std::uint32_t>(FItems.size());
  Target->Count = static_cast<std::uint32_t>(Count);
  Target->Removed = false;
  FItems.insert(FItems.end(), Items, Items + Count);
  FChanged = true;
  if (FUnused > 1024 && FUnused * 2 > FItems.size()) Compact();
}

void TFolderIndex::Remove(std::uint32_t Folder) {
  if (FSlots.Empty()) return;
  const std::int64_t Held = FSlots.ItemAt(SlotOf(Folder));
  if (Held < 0 || FFolders[static_cast<std::size_t>(Held)].Removed) return;
  TFolder& Target = FFolders[static_cast<std::size_t>(Held)];
  Target.Removed = true;
  FUnused += Target.Count;
  ++FRemoved;
  FChanged = true;
}

void TFolderIndex::Clear() {
  std::vector<TFolder>().swap(FFolders);
  std::vector<std::uint32_t>().swap(FItems);
  FSlots.Clear();
  FUnused = FRemoved = 0;
}

void TFolderIndex::Compact() {
  std::vector<std::uint32_t> Items;
  Items.reserve(FItems.size() - FUnused);
  for (TFolder& Held : FFolders) {
    if (Held.Removed) continue;
    const std::uint32_t First = static_cast<std::uint32_t>(Items.size());
    Items.insert(Items.end(), FItems.begin() + Held.First, FItems.begin() + Held.First + Held.Count);
    Held.First = First;
  }
  FItems.swap(Items);
  FUnused = 0;
}
