#pragma once
// Several folders in one search. A "Look in:" text names one folder, or several separated by ";"
// ('C:\Data;D:\Archive'), searched one after the other in the order given into the same results, with
// one set of counts and totals. A text that is itself an existing folder is always that one folder: a
// ";" may be part of a folder's name.
// Fails: TFolderListRun's constructor lets EMaskError through, before anything is searched, as
// TSearchRun's does; nothing else here fails.
#include <memory>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "search/ResultSink.h"
#include "search/SearchCache.h"
#include "search/SearchCriteria.h"
#include "search/SearchProgress.h"

inline constexpr char FolderListSeparator = ';';

struct TSearchFolders {
  // The folders to search, as typed (blanks around each one dropped), in the order given. One that is
  // the same as an earlier one, or lies inside another one of the list, is left out: its entries come
  // with that one, so that no result is listed twice.
  std::vector<std::string> Folders;
  // The first folder named that does not exist (the whole text when it names none); empty when every
  // one exists.
  std::string Missing;
  // The text named more than one folder.
  bool Several = false;
};

TSearchFolders SplitSearchFolders(const std::string& Typed, TFileSystem& Files);

// What the user is told when a folder is missing: FolderMissingText, followed by the folder when the text
// named several.
std::string MissingFolderText(const TSearchFolders& Folders);

class TSearchRun;

// One run per folder, into the same results; the counts the walk reports and the outcome add up.
class TFolderListRun {
 public:
  // The criteria's own folder is not used: each run takes one of Folders.
  TFolderListRun(const TSearchCriteria& Criteria, const std::vector<std::string>& Folders, TSearchCache& Cache,
                 TFileSystem& Files, TClock& Clock);
  ~TFolderListRun();
  TFolderListRun(const TFolderListRun&) = delete;
  TFolderListRun& operator=(const TFolderListRun&) = delete;

  // The folders in turn; a cancel request ends the folder being searched and leaves the rest.
  TSearchOutcome Execute(TResultSink& Results, TSearchProgress& Progress);

 private:
  std::vector<std::unique_ptr<TSearchRun>> FRuns;
};
