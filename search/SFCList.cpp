#include "search/SFCList.h"

#include <cstring>
#include <stdexcept>

#include "core/CaseFold.h"

namespace {

constexpr std::uint64_t Ones = 0x0101010101010101ull;

// The eight bytes of Word with A to Z turned into a to z (no other byte changes).
inline std::uint64_t FoldWord(std::uint64_t Word) {
  const std::uint64_t Low = Word & (0x7F * Ones);
  const std::uint64_t AtLeastA = Low + (0x80 - 'A') * Ones;
  const std::uint64_t AboveZ = Low + (0x80 - 'Z' - 1) * Ones;
  const std::uint64_t Upper = AtLeastA & ~AboveZ & ~Word & (0x80 * Ones);
  return Word | (Upper >> 2);
}

inline std::uint64_t Step(std::uint64_t Hash, std::uint64_t Word) {
  Hash = (Hash ^ FoldWord(Word)) * 0x9E3779B97F4A7C15ull;
  return Hash ^ (Hash >> 32);
}

}  // namespace

namespace {
// The hash of Text with A to Z folded; NonAscii tells whether a byte of 0x80 or above was met.
std::uint64_t AsciiFoldedHash(std::string_view Text, std::uint64_t Seed, bool& NonAscii) {
  std::uint64_t Hash = Seed ^ (Text.size() * 0xC2B2AE3D27D4EB4Full);
  std::uint64_t High = 0;
  const char* At = Text.data();
  std::size_t Left = Text.size();
  for (; Left >= 8; At += 8, Left -= 8) {
    std::uint64_t Word;
    std::memcpy(&Word, At, 8);
    High |= Word;
    Hash = Step(Hash, Word);
  }
  if (Left > 0) {
    std::uint64_t Word = 0;
    std::memcpy(&Word, At, Left);
    High |= Word;
    Hash = Step(Hash, Word);
  }
  NonAscii = (High & (0x80 * Ones)) != 0;
  // A final mix, so that the low bits pick slots well and the top byte makes a good tag.
  Hash ^= Hash >> 29;
  Hash *= 0xBF58476D1CE4E5B9ull;
  return Hash ^ (Hash >> 32);
}
}  // namespace

std::uint64_t FoldedHash(std::string_view Text, std::uint64_t Seed) {
  bool NonAscii;
  const std::uint64_t Hash = AsciiFoldedHash(Text, Seed, NonAscii);
  if (!NonAscii) return Hash;
  // Letters beyond A to Z: the hash of the folded text, which is its own fold for A to Z.
  thread_local std::string Folded;
  FoldText(Text, Folded);
  return AsciiFoldedHash(Folded, Seed, NonAscii);
}

std::size_t TSFCList::NameStart(std::string_view Text) const {
  const std::size_t Last = Text.rfind(FDelimiter);
  return Last == std::string_view::npos ? 0 : Last + 1;
}

std::string TSFCList::Text(std::size_t Index) const {
  std::string Out;
  TextInto(Index, Out);
  return Out;
}

void TSFCList::TextInto(std::size_t Index, std::string& Out) const {
  const TEntry& Item = Entry(Index);
  if (Item.Folder == NoFolder) {
    Out.clear();
    return;
  }
  FolderTextInto(Item.Folder, Out);
  Out.append(FNames.Get(Item.Name));
}

std::string TSFCList::FolderText(std::uint32_t Folder) const {
  std::string Out;
  FolderTextInto(Folder, Out);
  return Out;
}

void TSFCList::FolderTextInto(std::uint32_t Folder, std::string& Out) const {
  Out.resize(FFolders[Folder].Length);
  std::size_t End = Out.size();
  for (std::uint32_t At = Folder; At != NoFolder; At = FFolders[At].Parent) {
    const std::string_view Own = FFolderTexts.Get(FFolders[At].Own);
    End -= Own.size();
    if (!Own.empty()) std::memcpy(&Out[End], Own.data(), Own.size());
  }
}

bool TSFCList::FolderIs(std::uint32_t Folder, std::string_view Text) const {
  if (FFolders[Folder].Length != Text.size()) return false;
  std::size_t End = Text.size();
  for (std::uint32_t At = Folder; At != NoFolder; At = FFolders[At].Parent) {
    const std::string_view Own = FFolderTexts.Get(FFolders[At].Own);
    End -= Own.size();
    if (Text.substr(End, Own.size()) != Own) return false;
  }
  return End == 0;
}

std::uint32_t TSFCList::FindFolder(std::string_view Folder) const {
  if (FFolderSlots.Empty()) return NoFolder;
  const std::int64_t Item = FFolderSlots.ItemAt(
      FFolderSlots.Find(FoldedHash(Folder), [&](std::uint32_t Held) { return FolderIs(Held, Folder); }));
  return Item < 0 ? NoFolder : static_cast<std::uint32_t>(Item);
}

std::uint32_t TSFCList::AddFolder(std::string_view Folder) {
  const std::uint64_t Hash = FoldedHash(Folder);
  if (!FFolderSlots.Empty()) {
    const std::int64_t Held =
        FFolderSlots.ItemAt(FFolderSlots.Find(Hash, [&](std::uint32_t Item) { return FolderIs(Item, Folder); }));
    if (Held >= 0) return FLastAdded = static_cast<std::uint32_t>(Held);
  }
  // A folder is its parent (everything up to the delimiter before its own, added first) and its own part.
  // Folders come mostly in order: the parent is often the last folder added, or that folder's parent.
  const std::size_t Cut = Folder.size() >= 2 ? Folder.rfind(FDelimiter, Folder.size() - 2) : std::string_view::npos;
  std::uint32_t Parent = NoFolder;
  if (Cut != std::string_view::npos) {
    const std::string_view ParentText = Folder.substr(0, Cut + 1);
    const std::uint32_t Sibling = FLastAdded == NoFolder ? NoFolder : FFolders[FLastAdded].Parent;
    if (FLastAdded != NoFolder && FolderIs(FLastAdded, ParentText)) {
      Parent = FLastAdded;
    } else if (Sibling != NoFolder && FolderIs(Sibling, ParentText)) {
      Parent = Sibling;
    } else {
      Parent = AddFolder(ParentText);
    }
  }
  const std::string_view Own = Cut == std::string_view::npos ? Folder : Folder.substr(Cut + 1);
  if (FFolders.size() >= NoFolder - 1) throw std::length_error("Search cache too large");
  FFolderSlots.Reserve(FFolders.size() + 1);
  const std::size_t Slot = FFolderSlots.Find(Hash, [](std::uint32_t) { return false; });
  FFolders.push_back(TFolder{Parent, FFolderTexts.Store(Own), static_cast<std::uint32_t>(Folder.size()), Hash});
  FFolderSlots.Put(Slot, static_cast<std::uint32_t>(FFolders.size() - 1), Hash);
  FLastAdded = static_cast<std::uint32_t>(FFolders.size() - 1);
  return FLastAdded;
}

namespace {
inline std::uint64_t NameHash(std::uint64_t FolderHash, std::string_view Name) {
  return FoldedHash(Name, FolderHash * 0x9E3779B97F4A7C15ull + 1);
}
}  // namespace

std::uint64_t TSFCList::EntryHash(std::size_t Index) const {
  const TEntry& Item = Entry(Index);
  return NameHash(FFolders[Item.Folder].Hash, FNames.Get(Item.Name));
}

std::size_t TSFCList::EntrySlot(std::string_view FolderText, std::uint32_t Folder, std::string_view Name,
                                std::uint64_t Hash) const {
  return FSlots.Find(Hash, [&](std::uint32_t Item) {
    const TEntry& Held = Entry(Item);
    return SameFoldedText(FNames.Get(Held.Name), Name) && SameFolder(Held.Folder, Folder, FolderText);
  });
}

bool TSFCList::SameFolder(std::uint32_t Held, std::uint32_t Folder, std::string_view FolderText) const {
  if (Held == Folder) return true;
  // Another spelling of the folder, or another folder whose hash met this one's: rare, so the texts are
  // made here.
  std::string Text, Other;
  if (FolderText.empty() && Folder != NoFolder) {
    FolderTextInto(Folder, Text);
    FolderText = Text;
  }
  FolderTextInto(Held, Other);
  return SameFoldedText(Other, FolderText);
}

std::ptrdiff_t TSFCList::IndexOf(std::uint32_t Folder, std::string_view Name) const {
  EnsureSlots();
  if (FSlots.Empty() || Folder == NoFolder) return -1;
  const std::uint64_t Hash = NameHash(FFolders[Folder].Hash, Name);
  return static_cast<std::ptrdiff_t>(FSlots.ItemAt(EntrySlot(std::string_view(), Folder, Name, Hash)));
}

std::ptrdiff_t TSFCList::IndexOf(std::string_view Text) const {
  EnsureSlots();
  if (FSlots.Empty()) return -1;
  const std::size_t Start = NameStart(Text);
  const std::string_view Folder = Text.substr(0, Start), Name = Text.substr(Start);
  const std::uint64_t Hash = NameHash(FoldedHash(Folder), Name);
  return static_cast<std::ptrdiff_t>(FSlots.ItemAt(EntrySlot(Folder, NoFolder, Name, Hash)));
}

void TSFCList::Prefetch(std::uint32_t Folder, std::string_view Name) const {
  if (!FSlotsPending && !FSlots.Empty() && Folder != NoFolder) FSlots.Prefetch(NameHash(FFolders[Folder].Hash, Name));
}

std::uint32_t TSFCList::Append(std::uint32_t Folder, std::string_view Name) {
  if (FCount >= NoFolder - 1) throw std::length_error("Search cache too large");
  if ((FCount >> ChunkBits) == FChunks.size())
    FChunks.emplace_back(new TEntry[std::size_t(1) << ChunkBits]);  // not zeroed: each entry is written when added
  Entry(FCount) = TEntry{Folder, FNames.Store(Name)};
  ++FLive;
  return static_cast<std::uint32_t>(FCount++);
}

bool TSFCList::Add(std::uint32_t Folder, std::string_view Name, std::uint32_t& Index) {
  EnsureSlots();
  // Three quarters full at most, so that probe runs stay short.
  FSlots.Reserve(FLive + 1);
  const std::uint64_t Hash = NameHash(FFolders[Folder].Hash, Name);
  const std::size_t Slot = EntrySlot(std::string_view(), Folder, Name, Hash);
  const std::int64_t Held = FSlots.ItemAt(Slot);
  if (Held >= 0) {
    Index = static_cast<std::uint32_t>(Held);
    return false;
  }
  Index = Append(Folder, Name);
  FSlots.Put(Slot, Index, Hash);
  return true;
}

bool TSFCList::Add(std::string_view Text) {
  const std::size_t Start = NameStart(Text);
  std::uint32_t Index;
  return Add(AddFolder(Text.substr(0, Start)), Text.substr(Start), Index);
}

void TSFCList::Respell(std::size_t Index, std::uint32_t Folder, std::string_view Name) {
  if (Removed(Index)) return;
  Entry(Index).Folder = Folder;  // equal once folded: the same hash, the same slot
  // A letter and its capital may differ in length (a few phonetic letters): the name is stored anew.
  if (NameOf(Index).size() == Name.size()) {
    FNames.Overwrite(Entry(Index).Name, Name);
  } else {
    Entry(Index).Name = FNames.Store(Name);
  }
}

void TSFCList::AddUnique(std::uint32_t Folder, std::string_view Name) {
  Append(Folder, Name);
  FSlotsPending = true;
}

void TSFCList::BuildSlots() const {
  FSlotsPending = false;
  FSlots.Reserve(FLive);
  // Every text is unique: its slot is the first empty one of its probe run. The slots are far apart in
  // memory: each is fetched a few texts ahead of its placing.
  constexpr std::size_t Ahead = 16;
  std::uint64_t Hashes[Ahead];
  const auto Place = [&](std::size_t Index) {
    const std::uint64_t Hash = Hashes[Index % Ahead];
    FSlots.Put(FSlots.Find(Hash, [](std::uint32_t) { return false; }), static_cast<std::uint32_t>(Index), Hash);
  };
  for (std::size_t Index = 0; Index < FCount; ++Index) {
    if (Index >= Ahead && !Removed(Index - Ahead)) Place(Index - Ahead);
    if (Removed(Index)) continue;
    Hashes[Index % Ahead] = EntryHash(Index);
    FSlots.Prefetch(Hashes[Index % Ahead]);
  }
  for (std::size_t Index = FCount > Ahead ? FCount - Ahead : 0; Index < FCount; ++Index)
    if (!Removed(Index)) Place(Index);
}

void TSFCList::RemoveSlot(std::size_t Index) {
  EnsureSlots();
  FSlots.Remove(FSlots.Find(EntryHash(Index), [&](std::uint32_t Item) { return Item == Index; }));
}

void TSFCList::Remove(std::size_t Index) {
  if (Removed(Index)) return;
  RemoveSlot(Index);
  Entry(Index).Folder = NoFolder;
  --FLive;
}

void TSFCList::Replace(std::size_t Index, std::string_view Text) {
  if (Removed(Index)) return;
  const std::size_t Start = NameStart(Text);
  const std::string_view Folder = Text.substr(0, Start), Name = Text.substr(Start);
  if (SameFoldedText(FolderText(FolderOf(Index)), Folder) && SameFoldedText(NameOf(Index), Name)) {
    Respell(Index, AddFolder(Folder), Name);
    return;
  }
  RemoveSlot(Index);
  const std::uint32_t NewFolder = AddFolder(Folder);
  const std::uint64_t Hash = NameHash(FFolders[NewFolder].Hash, Name);
  const std::size_t Slot = EntrySlot(Folder, NewFolder, Name, Hash);
  if (FSlots.ItemAt(Slot) >= 0) {
    Entry(Index).Folder = NoFolder;
    --FLive;
    return;
  }
  Entry(Index) = TEntry{NewFolder, FNames.Store(Name)};
  FSlots.Put(Slot, static_cast<std::uint32_t>(Index), Hash);
}

void TSFCList::Clear() {
  FFolderTexts.Clear();
  std::vector<TFolder>().swap(FFolders);
  FLastAdded = NoFolder;
  FFolderSlots.Clear();
  FNames.Clear();
  std::vector<std::unique_ptr<TEntry[]>>().swap(FChunks);
  FCount = FLive = 0;
  FSlots.Clear();
  FSlotsPending = false;
  FOrderedPrefix = 0;
  FPrefixChecked = false;
}

std::size_t TSFCList::MemoryBytes() const {
  return sizeof(*this) + FFolderTexts.MemoryBytes() + FFolders.capacity() * sizeof(TFolder) +
         FFolderSlots.MemoryBytes() + FNames.MemoryBytes() + FChunks.capacity() * sizeof(FChunks[0]) +
         FChunks.size() * (sizeof(TEntry) << ChunkBits) + FSlots.MemoryBytes();
}
