#pragma once
// The index beside the search cache: for every folder a walk listed whole, the folder's settled stamp
// and its entries in the order the file system listed them, each as the cache line that holds its path
// and its kind. A later walk that meets the folder with the same stamp takes its entries from here
// instead of listing it.
//
// Folders are named by the cache list's folder numbers (TSFCList::FolderOf), entries by its storage
// indexes; the index holds no text of its own. Nothing here throws but allocation.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "search/SlotTable.h"

class TFolderIndex {
 public:
  // An entry: its cache line, shifted past two kind bits.
  static constexpr std::uint32_t ikDirectory = 1, ikLink = 2;
  static constexpr std::uint32_t MaxLine = (UINT32_MAX >> 2) - 1;
  static std::uint32_t Item(std::uint32_t Line, bool Directory, bool Link) {
    return Line << 2 | (Directory ? ikDirectory : 0) | (Link ? ikLink : 0);
  }
  static std::uint32_t LineOf(std::uint32_t Item) { return Item >> 2; }

  // A folder's entry in the index, valid until the index next changes.
  struct TFolderView {
    std::uint64_t Stamp = 0;
    const std::uint32_t* Items = nullptr;
    std::uint32_t Count = 0;
  };

  bool Empty() const { return FFolders.empty(); }
  std::size_t FolderCount() const { return FFolders.size(); }
  bool Find(std::uint32_t Folder, TFolderView& View) const;
  // Puts the folder's entries (Items, of Item form) with its stamp in place of what the index held.
  void Replace(std::uint32_t Folder, std::uint64_t Stamp, const std::uint32_t* Items, std::size_t Count);
  void Remove(std::uint32_t Folder);
  void Clear();

  // The index differs from the file it was loaded from (or from an empty one).
  bool Changed() const { return FChanged; }
  void SetChanged(bool Value) { FChanged = Value; }

  // Calls Visit(Folder, View) for every folder, in the order they were added.
  template <class TVisit>
  void ForEach(TVisit&& Visit) const {
    for (const TFolder& Held : FFolders) {
      if (Held.Removed) continue;
      Visit(Held.Folder, TFolderView{Held.Stamp, FItems.data() + Held.First, Held.Count});
    }
  }

  std::size_t MemoryBytes() const {
    return FFolders.capacity() * sizeof(TFolder) + FItems.capacity() * sizeof(std::uint32_t) + FSlots.MemoryBytes();
  }

 private:
  struct TFolder {
    std::uint64_t Stamp;
    std::uint32_t Folder;
    std::uint32_t First;  // into FItems
    std::uint32_t Count;
    bool Removed;
  };
  std::size_t SlotOf(std::uint32_t Folder) const;
  // Drops the items that no folder uses any more, once they are half of all.
  void Compact();

  std::vector<TFolder> FFolders;
  std::vector<std::uint32_t> FItems;
  TSlotTable FSlots;        // folder number -> index into FFolders
  std::size_t FUnused = 0;  // items of replaced or removed folders
  std::size_t FRemoved = 0;
  bool FChanged = false;
};
