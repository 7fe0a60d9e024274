#pragma once
// The list of paths behind the search cache.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A list of texts, unique when the letters A to Z are folded, built for millions of paths:
// - the texts live back to back in large blocks (no allocation per text);
// - lookups go through a hash set keyed on the folded text, so IndexOf and Add cost O(1) on average;
// - the list's order is its storage order (the order of loading) until it is switched to sorted mode,
//   and ascending case-insensitive collation order after that. The collation order is computed when
//   someone walks the list, never by moving texts at each addition.
class TSFCList {
 public:
  TSFCList();
  ~TSFCList();
  TSFCList(const TSFCList&) = delete;
  TSFCList& operator=(const TSFCList&) = delete;

  std::size_t Count() const { return FEntries.size(); }
  // The text stored at Index (storage order: the order of addition).
  std::string_view Text(std::size_t Index) const;

  bool Sorted() const { return FSorted; }
  // Sorted mode changes the order of iteration, not the storage.
  void SetSorted(bool Value) { FSorted = Value; }

  // Adds Text unless an equal text (A to Z folded) is already there. True when it was added.
  bool Add(std::string_view Text);
  // Storage index of the text equal to Text ignoring case (A to Z), or -1.
  std::ptrdiff_t IndexOf(std::string_view Text) const;
  // Gives the text at Index another spelling; when that spelling is held already, at another index,
  // the text at Index is removed instead (it reads as empty and takes no part in the order).
  void Replace(std::size_t Index, std::string_view Text);
  void Clear();

  // Every storage index in the list's order: storage order, or collation order in sorted mode.
  // Unique drops, in sorted mode, every text that the collation holds equal to an earlier one.
  std::vector<std::uint32_t> Order(bool Unique = false) const;
  // Puts a subset of storage indexes into the list's order (stable for texts that collate equal).
  void SortIndexes(std::vector<std::uint32_t>& Indexes, bool Unique = false) const;

  // Bytes held by the list: text blocks, index and hash set.
  std::size_t MemoryBytes() const;

 private:
  struct TEntry {
    std::uint32_t Block;   // RemovedBlock for a removed text
    std::uint32_t Offset;  // of the text's length prefix within the block
  };
  static constexpr std::uint32_t RemovedBlock = UINT32_MAX;
  void RemoveSlot(std::size_t Index);
  static std::uint64_t HashOf(std::string_view Text);
  std::size_t FindSlot(std::string_view Text, std::uint64_t Hash) const;
  void Rehash(std::size_t SlotCount);
  TEntry StoreText(std::string_view Text);

  std::vector<std::unique_ptr<char[]>> FBlocks;
  std::vector<std::size_t> FBlockSizes;
  std::size_t FBlockUsed = 0;  // bytes used in the last block
  std::vector<TEntry> FEntries;
  std::vector<std::uint32_t> FSlots;  // storage index + 1; 0 for an empty slot; size a power of two
  std::vector<std::uint8_t> FTags;    // top byte of the hash of each slot's text
  bool FSorted = false;
};
