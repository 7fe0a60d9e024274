#pragma once
// Where a search hands its results: typed entries (folder, name, 64-bit size, time, attributes),
// formatted only by whoever shows or writes them.
#include <cstdint>
#include <string>

#include "core/FileSystem.h"

class TResultSink {
 public:
  virtual ~TResultSink() = default;
  // Bracket around a run's results: a nesting counter; what was added shows when it returns to 0.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // A new search begins: the last one's results go.
  virtual void Clear() = 0;
  // One result: Entry as found in Folder, which is written as the row shows it.
  virtual void Add(const std::string& Folder, const TFileEntry& Entry) = 0;
  // The results there are now; the user may have removed some meanwhile.
  virtual int Count() const = 0;
};

// Hands Entry, found in Folder (written as given), to the sink. A file's size is added to TotalBytes.
inline void AddResultRow(TResultSink& Results, const std::string& Folder, const TFileEntry& Entry,
                         std::uint64_t& TotalBytes) {
  Results.Add(Folder, Entry);
  if (!Entry.IsDirectory()) TotalBytes += Entry.Size;
}
