#pragma once
// What the cache pass made of the cached paths it looked at, for the walk that follows it: the lines
// through which it listed a result (the walk skips exactly these), and the files it read for the text
// or the details of and found no result (the walk need not judge them again while they are the same
// files).
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TCacheVerdicts {
 public:
  struct TTestedFile {
    std::uint64_t Size, Stamp;
  };

  void Reset(std::size_t Lines) {
    FListedLines.assign(Lines, false);
    FConfirmed.clear();
    FListedByKey.clear();
    FRejected.clear();
  }

  // The cache pass listed a result through Line. Key, unless empty, is its path as the file system
  // compares paths: for paths with letters beyond ASCII, which the file system may join where the
  // cache does not, so that a file is listed once whatever spellings the cache holds.
  void Listed(std::uint32_t Line, std::string Key) {
    if (Line < FListedLines.size()) FListedLines[Line] = true;
    if (!Key.empty()) FListedByKey.emplace(std::move(Key), Line);
  }
  bool ListedLine(std::int64_t Line) const {
    return Line >= 0 && static_cast<std::size_t>(Line) < FListedLines.size() && FListedLines[Line];
  }
  bool HasKeys() const { return !FListedByKey.empty(); }
  // The line listed under Key, or -1.
  std::int64_t LineOfKey(const std::string& Key) const {
    const auto Found = FListedByKey.find(Key);
    return Found == FListedByKey.end() ? -1 : static_cast<std::int64_t>(Found->second);
  }

  // The cache pass judged the file at Line no result on its own details or bytes (tvRejected), when it
  // had that Size and Stamp.
  void Rejected(std::uint32_t Line, std::uint64_t Size, std::uint64_t Stamp) {
    FRejected.emplace(Line, TTestedFile{Size, Stamp});
  }
  bool AnyRejected() const { return !FRejected.empty(); }
  // The size and stamp of the file at Line when it was judged no result, or null.
  const TTestedFile* RejectedAt(std::int64_t Line) const {
    if (Line < 0 || FRejected.empty()) return nullptr;
    const auto Found = FRejected.find(static_cast<std::uint32_t>(Line));
    return Found == FRejected.end() ? nullptr : &Found->second;
  }

  // The cache pass found the indexed folder Folder (the list's folder number) with the stamp the index
  // holds for it: its entries are as the index says, and the walk need not ask again.
  void Confirmed(std::uint32_t Folder) {
    if (Folder >= FConfirmed.size()) FConfirmed.resize(Folder + 1, false);
    FConfirmed[Folder] = true;
  }
  bool IsConfirmed(std::uint32_t Folder) const { return Folder < FConfirmed.size() && FConfirmed[Folder]; }

 private:
  std::vector<bool> FListedLines;
  std::unordered_map<std::string, std::uint32_t> FListedByKey;
  std::unordered_map<std::uint32_t, TTestedFile> FRejected;
  std::vector<bool> FConfirmed;
};
