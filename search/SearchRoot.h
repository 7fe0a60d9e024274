#pragma once
// The folder a search starts from, in the two spellings a run needs: in full as the disk spells it
// (what the cache and the walk use) and as the user typed it (what the rows show).
#include <string>
#include <string_view>

#include "core/FileSystem.h"

struct TSearchRoot {
  std::string Full;   // a full path, folders spelled as on disk, no trailing separator ('C:\' gives 'C:')
  std::string Shown;  // as typed (a relative root stays relative), folders spelled as on disk
  char Delimiter = '\\';
  // Folder, at or below Full, as a row shows it: below the root as typed.
  std::string ShownFolder(std::string_view Folder) const;
};

// The root of a search for the "Look in:" text Typed. Every trailing separator goes (and "/" is one on
// Windows): 'C:\Data\\' would otherwise put a second spelling of each path into the cache.
TSearchRoot ResolveSearchRoot(const std::string& Typed, TFileSystem& Files);
