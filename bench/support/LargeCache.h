#pragma once
// A cache file as large as a whole disk's, for the benchmarks of loading, searching and saving.
#include <string>

#include "search/SFCList.h"

// A cache file of Count paths as a save writes it (sorted, CR LF): Tree's paths, and paths of an
// archive elsewhere on the disk, "<disk>/Archive/Project 0042/Part 017/Document_0012345.txt", which
// sort before them.
void WriteLargeCache(const std::string& File, const TSFCList& Tree, long Count, char Delimiter);
