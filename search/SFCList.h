#pragma once
// The list of paths behind the search cache.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/SlotTable.h"
#include "search/TextBlocks.h"

// A list of texts (paths), unique once their case is folded (core/CaseFold.h, as Windows compares
// names), built for millions of paths:
// - a text is kept as its folder (everything up to its last path delimiter, that delimiter included),
//   stored once for all the texts in it, spelled exactly, and its name: a path costs its name and a
//   few bytes;
// - lookups hash the folded folder and name, so IndexOf and Add cost O(1) on average and allocate
//   nothing; a caller that adds many names of one folder finds the folder once;
// - the list's order is its storage order (the order of loading) until it is switched to sorted mode,
//   and ascending case-insensitive collation order after that. A file written by a save is already in
//   that order: its texts are taken as ordered (OrderedPrefix) and only texts added since are collated,
//   and never by moving texts at each addition.
class TSFCList {
 public:
  static constexpr std::uint32_t NoFolder = UINT32_MAX;

  // Delimiter is the file system's: "\\" on Windows, "/" elsewhere, where "\\" is an ordinary character
  // of names.
  explicit TSFCList(char Delimiter = '\\') : FDelimiter(Delimiter) {}
  TSFCList(const TSFCList&) = delete;
  TSFCList& operator=(const TSFCList&) = delete;

  // Storage indexes run from 0 to Count() - 1, removed texts included.
  std::size_t Count() const { return FCount; }
  // The text stored at Index; empty for a removed one.
  std::string Text(std::size_t Index) const;
  void TextInto(std::size_t Index, std::string& Out) const;
  bool Removed(std::size_t Index) const { return Entry(Index).Folder == NoFolder; }
  std::uint32_t FolderOf(std::size_t Index) const { return Entry(Index).Folder; }
  std::string_view NameOf(std::size_t Index) const { return FNames.Get(Entry(Index).Name); }
  std::size_t FolderCount() const { return FFolders.size(); }
  // A folder's text, with the delimiter that ends it (empty for texts without a delimiter). A folder is
  // kept as its parent folder and its own name, so the folders below one cost their names alone.
  std::string FolderText(std::uint32_t Folder) const;
  void FolderTextInto(std::uint32_t Folder, std::string& Out) const;
  std::size_t FolderLength(std::uint32_t Folder) const { return FFolders[Folder].Length; }
  // The folder whose text Folder's starts with, up to its delimiter before its own; NoFolder for none.
  std::uint32_t ParentOf(std::uint32_t Folder) const { return FFolders[Folder].Parent; }
  // Whether Folder is spelled exactly Text.
  bool FolderIs(std::uint32_t Folder, std::string_view Text) const;
  // Where the name of Text starts: after its last delimiter.
  std::size_t NameStart(std::string_view Text) const;
  char Delimiter() const { return FDelimiter; }

  bool Sorted() const { return FSorted; }
  // Sorted mode changes the order of iteration, not the storage.
  void SetSorted(bool Value) { FSorted = Value; }

  // Adds Text unless an equal text (case folded) is already there. True when it was added.
  bool Add(std::string_view Text);
  // Storage index of the text equal to Text ignoring case, or -1.
  std::ptrdiff_t IndexOf(std::string_view Text) const;

  // The same by folder. A folder's number names one exact spelling of it (FolderText); a name is
  // found under any spelling of its folder that is equal once folded.
  std::uint32_t FindFolder(std::string_view Folder) const;
  std::uint32_t AddFolder(std::string_view Folder);
  std::ptrdiff_t IndexOf(std::uint32_t Folder, std::string_view Name) const;
  // Adds Name to Folder unless it is there; Index receives its storage index. True when added.
  bool Add(std::uint32_t Folder, std::string_view Name, std::uint32_t& Index);
  // Adds Name to Folder without looking: the caller knows the list holds no equal text (a file that a
  // save wrote). The lookup table is built at the first lookup after it, and not at all by a run that
  // looks nothing up (not thread-safe: the first lookup changes the list).
  void AddUnique(std::uint32_t Folder, std::string_view Name);
  // Starts fetching from memory the slot where Add or IndexOf will look for Name in Folder.
  void Prefetch(std::uint32_t Folder, std::string_view Name) const;
  // The text at Index spelled as Folder and Name, which are equal to it once folded.
  void Respell(std::size_t Index, std::uint32_t Folder, std::string_view Name);

  // Gives the text at Index another spelling; when that spelling is held already, at another index,
  // the text at Index is removed instead (it reads as empty and takes no part in the order).
  void Replace(std::size_t Index, std::string_view Text);
  void Remove(std::size_t Index);
  void Clear();

  // The first Count texts in storage are in the list's sorted order already (a file that a save
  // wrote); in sorted mode only the texts after them are collated. Order(true) checks the claim.
  // Checked is true when the prefix is known to be in order and free of equal texts already (this
  // program's own save wrote it, which the index beside it vouches for): the order only places the
  // texts added since among them.
  void SetOrderedPrefix(std::size_t Count, bool Checked = false) {
    FOrderedPrefix = Count;
    FPrefixChecked = Checked;
  }

  // Every storage index in the list's order: storage order, or collation order in sorted mode.
  // Unique drops, in sorted mode, every text that the collation holds equal to an earlier one.
  std::vector<std::uint32_t> Order(bool Unique = false) const;
  // Puts a subset of storage indexes into the list's order (stable for texts that collate equal).
  void SortIndexes(std::vector<std::uint32_t>& Indexes, bool Unique = false) const;

  // Bytes held by the list: text blocks, entries and hash tables.
  std::size_t MemoryBytes() const;

 private:
  struct TEntry {
    std::uint32_t Folder;  // NoFolder for a removed text
    std::uint32_t Name;    // reference into FNames
  };
  struct TFolder {
    std::uint32_t Parent;  // NoFolder for a folder without one
    std::uint32_t Own;     // its own part of the text, into FFolderTexts (the whole text without a parent)
    std::uint32_t Length;  // of the whole text
    std::uint64_t Hash;    // of the whole text, case folded
  };
  static constexpr unsigned ChunkBits = 16;
  const TEntry& Entry(std::size_t Index) const {
    return FChunks[Index >> ChunkBits][Index & ((std::size_t(1) << ChunkBits) - 1)];
  }
  TEntry& Entry(std::size_t Index) { return FChunks[Index >> ChunkBits][Index & ((std::size_t(1) << ChunkBits) - 1)]; }
  std::uint64_t EntryHash(std::size_t Index) const;
  // The slot of the name in a folder spelled FolderText; Folder is its number when known (NoFolder if not).
  std::size_t EntrySlot(std::string_view FolderText, std::uint32_t Folder, std::string_view Name,
                        std::uint64_t Hash) const;
  // Whether the folder Held is spelled as FolderText once folded; FolderText is Folder's text, made here
  // when the caller has only the number (empty text and a folder given).
  bool SameFolder(std::uint32_t Held, std::uint32_t Folder, std::string_view FolderText) const;
  std::uint32_t Append(std::uint32_t Folder, std::string_view Name);
  void RemoveSlot(std::size_t Index);
  // Keyed sorts and the merge of the ordered prefix with the texts after it (SFCListOrder.cpp).
  void SortByKeys(std::vector<std::uint32_t>& Indexes, bool Unique) const;
  // DropEqual leaves out a text of Tail that the collation holds equal to the head text before it.
  void MergeOrdered(const std::vector<std::uint32_t>& Head, const std::vector<std::uint32_t>& Tail,
                    std::vector<std::uint32_t>& Out, bool DropEqual = false) const;
  int Compare(std::uint32_t A, std::uint32_t B, std::string& TextA, std::string& TextB) const;

  const char FDelimiter;
  TTextBlocks FFolderTexts;
  std::vector<TFolder> FFolders;
  TSlotTable FFolderSlots;              // by folded hash, compared exactly
  std::uint32_t FLastAdded = NoFolder;  // the folder AddFolder gave last
  TTextBlocks FNames;
  std::vector<std::unique_ptr<TEntry[]>> FChunks;  // fixed-size chunks: growing never copies the entries
  std::size_t FCount = 0;
  std::size_t FLive = 0;  // texts not removed
  // Builds the lookup table of the texts added unlooked (AddUnique); const, as a lookup may need it.
  void EnsureSlots() const {
    if (FSlotsPending) BuildSlots();
  }
  void BuildSlots() const;
  mutable TSlotTable FSlots;
  mutable bool FSlotsPending = false;
  std::size_t FOrderedPrefix = 0;
  bool FPrefixChecked = false;
  bool FSorted = false;
};

// A hash of Text case folded: equal for texts that fold alike. ASCII text is hashed eight bytes at a
// time as it is; other text is folded first.
std::uint64_t FoldedHash(std::string_view Text, std::uint64_t Seed = 0);
