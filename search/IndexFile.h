#pragma once
// The folder index on disk, beside the cache file it belongs to ('search.cache' gives 'search.index').
//
// Layout (integers little-endian; "varint" is 7 bits a byte, low first, high bit set while more follow):
//   "TorvIdx1"                        8 bytes: what the file is, and the layout's version
//   delimiter                         1 byte: the file system's path delimiter the paths were made with
//   cache size, cache stamp, lines    3 x 8 bytes: the cache file the index belongs to, as it was written
//   folders                           8 bytes
//   per folder:
//     folder     varint: n > 0 names the folder by line n - 1 of the cache file (its own path), 0 is
//                followed by a varint length and the folder's text (with its trailing delimiter)
//     stamp      8 bytes: the folder's settled stamp when it was listed
//     count      varint, then count varints: each entry's cache line as the difference from the one
//                before (the first from the folder's own line, or 0), zigzag-coded, shifted past the
//                entry's two kind bits (folder, link)
//   check        8 bytes: a hash of every byte before it
// A reader trusts nothing it has not checked: the version, the cache file's size, stamp and line count,
// the hash, and that every entry's line lies in the folder named. Any doubt and the file is ignored.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"
#include "search/FolderIndex.h"
#include "search/SFCList.h"

// The cache file an index belongs to.
struct TIndexedCacheFile {
  std::uint64_t Size = 0, Stamp = 0, Lines = 0;
};

std::string IndexFileFor(const std::string& CacheFile);

// A line of the list that the cache file does not hold.
inline constexpr std::uint32_t NoFileLine = UINT32_MAX;

// Writes the folders of Index whose entries are all lines of the cache file. FileLines gives each
// storage index of List its line in the file (NoFileLine for none); null when they are the same.
bool WriteIndexFile(TFileWriter& Writer, const TFolderIndex& Index, const TSFCList& List,
                    const std::vector<std::uint32_t>* FileLines, const TIndexedCacheFile& Cache);

// Whether Bytes start as an index of this version for the cache file Cache (its size and stamp; the
// lines are checked by ReadIndexFile).
bool IndexBelongsTo(std::string_view Bytes, const TIndexedCacheFile& Cache);

// Reads the index for List, loaded just now from the cache file Cache (its storage indexes are the
// file's lines). False, with the reason in Why and Index left empty, when the bytes are not an index of
// that file as this version writes it.
bool ReadIndexFile(std::string_view Bytes, const TIndexedCacheFile& Cache, TSFCList& List, TFolderIndex& Index,
                   std::string& Why);
