#include "results/ResultList.h"

#include <algorithm>
#include <cstring>

#include "core/Exceptions.h"
#include "core/Text.h"
#include "results/ResultRows.h"

TResultList::TResultList() { Clear(); }

void TResultList::Clear() {
  // The memory goes back at once: the next search may list far fewer results.
  std::vector<std::unique_ptr<TEntry[]>>().swap(FBlocks);
  std::vector<std::unique_ptr<char16_t[]>>().swap(FNameBlocks);
  std::vector<std::u16string>().swap(FFolders);
  FTypes.assign(1, u"Folder");
  FTypeOfExtension.clear();
  FCount = 0;
  FNameUsed = NameBlockSize;
  FLastFolder.clear();
}

std::uint32_t TResultList::Add(const std::string& Folder, const TFileEntry& Entry) {
  if (FCount == UINT32_MAX) throw Exception("Too many results to list");
  if (FCount % BlockSize == 0 && FCount / BlockSize == FBlocks.size())
    FBlocks.push_back(std::make_unique<TEntry[]>(BlockSize));
  TEntry& Stored = FBlocks[FCount / BlockSize][FCount % BlockSize];
  Stored.Name = StoreName(Entry.Name);
  Stored.Size = Entry.Size;
  Stored.Time = Entry.Time;
  Stored.Folder = FolderIndex(Folder);
  Stored.Type = Entry.IsDirectory() ? FolderType : TypeIndex(Entry.Name);
  return FCount++;
}

std::u16string_view TResultList::Name(std::uint32_t Index) const {
  const char16_t* Name = At(Index).Name;
  return std::u16string_view(Name, Name[-1]);
}

const char16_t* TResultList::StoreName(std::string_view Name) {
  FConverted.clear();
  AppendUtf16(Name, FConverted);
  // No file system allows a name anywhere near this long; one that claims to is cut.
  const std::size_t Length = std::min(FConverted.size(), NameBlockSize - 1);
  if (FNameUsed + 1 + Length > NameBlockSize) {
    FNameBlocks.push_back(std::make_unique<char16_t[]>(NameBlockSize));
    FNameUsed = 0;
  }
  char16_t* Stored = FNameBlocks.back().get() + FNameUsed;
  Stored[0] = static_cast<char16_t>(Length);
  std::memcpy(Stored + 1, FConverted.data(), Length * sizeof(char16_t));
  FNameUsed += 1 + Length;
  return Stored + 1;
}

std::uint32_t TResultList::FolderIndex(const std::string& Folder) {
  // A search lists the entries of one folder one after another: each folder is kept once per run.
  if (FFolders.empty() || Folder != FLastFolder) {
    FFolders.push_back(Utf8ToUtf16(Folder));
    FLastFolder = Folder;
  }
  return static_cast<std::uint32_t>(FFolders.size() - 1);
}

std::uint32_t TResultList::TypeIndex(std::string_view Name) {
  TypeExtensionOf(Name, FExtension);
  const auto Found = FTypeOfExtension.find(FExtension);
  if (Found != FTypeOfExtension.end()) return Found->second;
  const auto Index = static_cast<std::uint32_t>(FTypes.size());
  FTypes.push_back(Utf8ToUtf16(FileTypeName(FExtension)));
  FTypeOfExtension.emplace(FExtension, Index);
  return Index;
}
