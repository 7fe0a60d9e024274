#pragma once
// The tests of one search on one entry: the name (first, as it needs nothing but the name), the size and
// the modification time, and the text a file must contain. Built from the criteria alone, so that each
// stage of a search (or each thread of one) can hold its own.
//
// A malformed name mask raises its EMaskError in the constructor.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "masks/Masks.h"
#include "search/ContentSearch.h"
#include "search/SearchCriteria.h"

// Files of this size or more are not read for the content test.
inline constexpr std::uint64_t ContentSizeLimit = 300000;

// Where the tests reach what an entry's name does not tell: the folder listing the entry came from (the
// walk), or a lookup by its path (the cache pass).
class TEntryAccess {
 public:
  virtual ~TEntryAccess() = default;
  // Completes the size, time and attributes of an entry that came without them; false when it has gone.
  virtual bool ReadDetails(TFileEntry& Entry) = 0;
  // Opens the file (a link is followed) for reading; null when it cannot be opened now.
  virtual std::unique_ptr<TFileReader> OpenFile(const TFileEntry& Entry) = 0;
};

// What the tests made of an entry whose name passed.
enum TVerdict {
  tvMatch,     // passes every test: it is a result
  tvNoMatch,   // has gone, or could not be opened for its text (perhaps held by another program now)
  tvRejected,  // its own details or bytes fail a test: as long as its size and stamp hold, judging it
               // again would tell the same
};

class TEntryTests {
 public:
  explicit TEntryTests(const TSearchCriteria& Criteria);
  TEntryTests(const TEntryTests&) = delete;
  TEntryTests& operator=(const TEntryTests&) = delete;

  bool PassesName(std::string_view Name);
  // The remaining tests, for an entry whose name passed. Sizes and times are read (through Access) for
  // the entries that get this far when the rows show them or a size or date criterion tests them;
  // without such a criterion a content test comes first, and only the files holding the text are read.
  TVerdict Judge(TFileEntry& Entry, TEntryAccess& Access);
  bool PassesSizeTime(std::uint64_t Size, TDateTime Time) const {
    return FMinimumSize <= Size && Size <= FMaximumSize && FStartTime <= Time && Time <= FEndTime;
  }

  bool HasContentText() const { return FHasText; }
  // Whether the run reads sizes and times at all (else rows carry names and kinds only).
  bool ReadsDetails() const { return FReadDetails; }
  // A file was left out because it was too large for the content test.
  bool LargeFilesSkipped() const { return FLargeFilesSkipped; }

 private:
  // Entry's size is the listed size: a link's own, not its target's, so a link is always opened. An
  // entry listed without its size takes the size of the file opened.
  TVerdict PassesContent(TFileEntry& Entry, TEntryAccess& Access);

  std::unique_ptr<TMask> FMask;
  std::string FNameExtension;  // '.ext' of a mask '*.ext', which a name test answers without the mask
  std::string FNameLiteral;    // 'text' of a mask '*text*', the same
  bool FNameAny = false;       // a mask of "*" alone matches every name
  std::string FTestName;       // reused for every name the mask tests
  std::uint64_t FMinimumSize = 0;
  std::uint64_t FMaximumSize = UINT64_MAX;  // no limit
  TDateTime FStartTime = 0.0;
  TDateTime FEndTime = 0.0;
  bool FHasText = false;
  TContentSearch FContentSearch;
  bool FReadDetails = true;
  bool FDetailsBeforeTests = true;
  bool FLargeFilesSkipped = false;
};

// '.ext' (lower-cased) for a name text of the form '*.ext' that the mask matches exactly as "ends with
// '.ext'", when ext is plain ASCII (no other letter folds to one of A to Z); empty for every other text.
std::string MaskExtension(const std::string& NameText);
// 'text' (lower-cased) for a name text of the form '*text*' whose text is plain ASCII without a
// wildcard, a set or an escape: the mask matches exactly the names that contain it, in any case
// of A to Z. Empty for every other text.
std::string MaskLiteral(const std::string& NameText);
