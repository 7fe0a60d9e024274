#pragma once
// Folder listings that the cache pass made, handed on to the walk of the same run, so that a folder
// listed for its cached candidates is not listed a second time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/FileSystem.h"

// A listing is kept with the folder's settled stamp from before it was read (TFolderListing::
// SettledStamp). The walk uses it only when the stamp it meets for the folder, in a listing of its
// own or read afresh, is the same: a folder whose entries came, went or were renamed since is listed
// again. What is kept is bounded (BudgetBytes): past it, the walk lists folders itself.
class TSharedListings {
 public:
  static constexpr std::size_t DefaultBudget = std::size_t(32) << 20;

  explicit TSharedListings(TFileSystem& Files, std::size_t BudgetBytes = DefaultBudget)
      : FFiles(Files), FBudget(BudgetBytes) {}

  // Whether another listing may be kept.
  bool HasRoom() const { return FBytes < FBudget; }
  // Keeps the entries of Folder (a full path, "." and ".." left out), listed when its stamp was Stamp.
  void Keep(const std::string& Folder, std::uint64_t Stamp, std::vector<TFileEntry> Entries);

  bool Empty() const { return FListings.empty(); }
  // The stamp kept for Folder; 0 when nothing is kept for it.
  std::uint64_t StampOf(const std::string& Folder);
  // Moves the entries kept for Folder into Entries and forgets them; false when nothing is kept.
  bool Take(const std::string& Folder, std::vector<TFileEntry>& Entries);
  void Drop(const std::string& Folder);
  void Clear();

 private:
  struct TListing {
    std::uint64_t Stamp = 0;
    std::size_t Bytes = 0;
    std::vector<TFileEntry> Entries;
  };
  // Folders named as the file system compares paths: the cache's spelling and the disk's may differ.
  const std::string& KeyOf(const std::string& Folder);
  void Forget(std::unordered_map<std::string, TListing>::iterator It);

  TFileSystem& FFiles;
  std::size_t FBudget;
  std::size_t FBytes = 0;
  std::unordered_map<std::string, TListing> FListings;
  std::string FKey;
};
