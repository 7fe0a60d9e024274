#pragma once
// The results of a search kept compactly, as typed values: names back to back in UTF-16 (as the
// grid shows them), each folder text once for the entries found in it one after another, each type
// text once, 64-bit sizes and times. Entries and names live in fixed blocks, so a list of a million
// results grows without moving what it holds and frees it all at once.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/DateTime.h"
#include "core/FileSystem.h"

class TResultList {
 public:
  // Entries per block.
  static constexpr std::uint32_t BlockSize = 1024;

  TResultList();
  TResultList(const TResultList&) = delete;
  TResultList& operator=(const TResultList&) = delete;

  void Clear();
  // Appends Entry, found in Folder (kept as given), and answers its index.
  std::uint32_t Add(const std::string& Folder, const TFileEntry& Entry);
  std::uint32_t Count() const { return FCount; }

  // Index must be below Count.
  std::u16string_view Name(std::uint32_t Index) const;
  std::u16string_view Folder(std::uint32_t Index) const { return FFolders[At(Index).Folder]; }
  // "Folder" for a folder, otherwise the type of the name's extension.
  std::u16string_view Type(std::uint32_t Index) const { return FTypes[At(Index).Type]; }
  bool IsFolder(std::uint32_t Index) const { return At(Index).Type == FolderType; }
  std::uint64_t Size(std::uint32_t Index) const { return At(Index).Size; }
  TDateTime Time(std::uint32_t Index) const { return At(Index).Time; }

 private:
  struct TEntry {
    const char16_t* Name;  // its length in the unit before it
    std::uint64_t Size;
    TDateTime Time;
    std::uint32_t Folder;
    std::uint32_t Type;
  };
  static constexpr std::uint32_t FolderType = 0;
  // Name characters per block; a name never spans two.
  static constexpr std::size_t NameBlockSize = 32768;

  const TEntry& At(std::uint32_t Index) const { return FBlocks[Index / BlockSize][Index % BlockSize]; }
  const char16_t* StoreName(std::string_view Name);
  std::uint32_t FolderIndex(const std::string& Folder);
  std::uint32_t TypeIndex(std::string_view Name);

  std::vector<std::unique_ptr<TEntry[]>> FBlocks;
  std::uint32_t FCount = 0;
  std::vector<std::unique_ptr<char16_t[]>> FNameBlocks;
  std::size_t FNameUsed = NameBlockSize;  // in the last name block
  std::vector<std::u16string> FFolders;
  std::string FLastFolder;
  std::vector<std::u16string> FTypes;
  std::unordered_map<std::string, std::uint32_t> FTypeOfExtension;  // upper-cased
  std::string FExtension;
  std::u16string FConverted;
};
