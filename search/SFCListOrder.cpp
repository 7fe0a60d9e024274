// The sorted order of the path list: collation keys for texts that were added, a merge with the
// texts that a saved file gave in order already.
#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>

#include "core/FormatSettings.h"
#include "search/SFCList.h"

namespace {

// Texts sorted together, keys and all, before runs are merged.
constexpr std::size_t SortRun = 1 << 18;

// The collation order of two paths. The part they share up to a separator weighs the same in both,
// so only what follows it is compared: for two names of one folder, the names alone.
int ComparePaths(std::string_view A, std::string_view B, char Delimiter) {
  const std::size_t Limit = std::min(A.size(), B.size());
  std::size_t Cut = 0;
  while (Cut < Limit && A[Cut] == B[Cut]) ++Cut;
  while (Cut > 0 && A[Cut - 1] != Delimiter) --Cut;
  return CompareTextCollated(A.substr(Cut), B.substr(Cut));
}

}  // namespace

int TSFCList::Compare(std::uint32_t A, std::uint32_t B, std::string& TextA, std::string& TextB) const {
  TextInto(A, TextA);
  TextInto(B, TextB);
  return ComparePaths(TextA, TextB, FDelimiter);
}

std::vector<std::uint32_t> TSFCList::Order(bool Unique) const {
  std::vector<std::uint32_t> Indexes;
  const auto All = [&] {
    Indexes.clear();
    Indexes.reserve(FLive);
    for (std::size_t I = 0; I < FCount; ++I)
      if (!Removed(I)) Indexes.push_back(static_cast<std::uint32_t>(I));
  };
  All();
  if (!FSorted) return Indexes;
  if (FOrderedPrefix > 0 && Unique && FPrefixChecked) {
    std::vector<std::uint32_t> Head, Tail;
    for (std::uint32_t Index : Indexes) (Index < FOrderedPrefix ? Head : Tail).push_back(Index);
    SortByKeys(Tail, true);
    MergeOrdered(Head, Tail, Indexes, true);
    return Indexes;
  }
  if (FOrderedPrefix == 0 || !Unique) {
    SortIndexes(Indexes, Unique);
    return Indexes;
  }
  SortIndexes(Indexes);
  // The ordered prefix was taken on trust: a file written by hand, or under another locale's collation,
  // may be out of order. One comparison of each text with the one before it finds that, and the texts
  // that the collation holds equal, at once; out of order, everything is sorted afresh.
  std::string Previous, Current;
  std::size_t Kept = 0;
  for (std::size_t I = 0; I < Indexes.size(); ++I) {
    if (I > 0) {
      const int Order = Compare(Indexes[Kept - 1], Indexes[I], Previous, Current);
      if (Order > 0) {
        All();
        SortByKeys(Indexes, true);
        return Indexes;
      }
      if (Order == 0) continue;
    }
    Indexes[Kept++] = Indexes[I];
  }
  Indexes.resize(Kept);
  return Indexes;
}

void TSFCList::SortIndexes(std::vector<std::uint32_t>& Indexes, bool Unique) const {
  if (!FSorted) {
    std::sort(Indexes.begin(), Indexes.end());
    return;
  }
  if (FOrderedPrefix == 0) {
    SortByKeys(Indexes, Unique);
    return;
  }
  std::vector<std::uint32_t> Head, Tail;
  for (std::uint32_t Index : Indexes) (Index < FOrderedPrefix ? Head : Tail).push_back(Index);
  std::sort(Head.begin(), Head.end());
  SortByKeys(Tail, Unique);
  MergeOrdered(Head, Tail, Indexes);
}

// Head in storage order (the order a save wrote), Tail in collation order: the two merged. A few texts
// are placed by binary search among many; otherwise the two are walked side by side.
void TSFCList::MergeOrdered(const std::vector<std::uint32_t>& Head, const std::vector<std::uint32_t>& Tail,
                            std::vector<std::uint32_t>& Out, bool DropEqual) const {
  Out.clear();
  Out.reserve(Head.size() + Tail.size());
  std::string TextA, TextB;
  std::size_t From = 0;
  const bool FewInMany =
      static_cast<double>(Tail.size()) * std::log2(static_cast<double>(Head.size()) + 2) < Head.size() + Tail.size();
  for (std::uint32_t Item : Tail) {
    std::size_t To = From;
    if (FewInMany) {
      std::size_t High = Head.size();
      while (To < High) {  // the first head text after Item; equal texts keep the head's first
        const std::size_t Middle = To + (High - To) / 2;
        if (Compare(Head[Middle], Item, TextA, TextB) <= 0) {
          To = Middle + 1;
        } else {
          High = Middle;
        }
      }
    } else {
      while (To < Head.size() && Compare(Head[To], Item, TextA, TextB) <= 0) ++To;
    }
    Out.insert(Out.end(), Head.begin() + static_cast<std::ptrdiff_t>(From),
               Head.begin() + static_cast<std::ptrdiff_t>(To));
    if (!DropEqual || To == 0 || Compare(Head[To - 1], Item, TextA, TextB) != 0) Out.push_back(Item);
    From = To;
  }
  Out.insert(Out.end(), Head.begin() + static_cast<std::ptrdiff_t>(From), Head.end());
}

void TSFCList::SortByKeys(std::vector<std::uint32_t>& Indexes, bool Unique) const {
  // One collation key per text, then plain byte comparisons: far cheaper than asking the locale for
  // every comparison of the sort. Keys of millions of paths would take more memory than the paths
  // themselves, so runs of SortRun texts are sorted one after the other and then merged, each text's
  // key made once for its run and once when the merge reaches it.
  using TKeyed = std::pair<std::string, std::uint32_t>;
  std::string Text;
  const auto KeyOf = [&](std::uint32_t Index) {
    TextInto(Index, Text);
    return CollationKey(Text);
  };
  std::vector<TKeyed> Keyed;
  Keyed.reserve(std::min(Indexes.size(), SortRun));
  std::vector<std::size_t> RunEnds;
  for (std::size_t Start = 0; Start < Indexes.size(); Start += SortRun) {
    const std::size_t End = std::min(Indexes.size(), Start + SortRun);
    Keyed.clear();
    for (std::size_t I = Start; I < End; ++I) Keyed.emplace_back(KeyOf(Indexes[I]), Indexes[I]);
    std::sort(Keyed.begin(), Keyed.end());
    for (std::size_t I = Start; I < End; ++I) Indexes[I] = Keyed[I - Start].second;
    RunEnds.push_back(End);
  }
  std::string Last;
  bool Any = false;
  const auto Take = [&](std::string&& Key, std::uint32_t Index, std::vector<std::uint32_t>& Out) {
    if (Unique && Any && Key == Last) return;
    Out.push_back(Index);
    Last = std::move(Key);
    Any = true;
  };
  if (RunEnds.size() <= 1) {
    // One run: its keys are still at hand.
    std::vector<std::uint32_t> Out;
    Out.reserve(Keyed.size());
    for (TKeyed& Item : Keyed) Take(std::move(Item.first), Item.second, Out);
    Indexes.swap(Out);
    return;
  }
  // The head of every run, smallest first.
  struct THead {
    TKeyed Key;
    std::size_t Position, End;
    bool operator>(const THead& Other) const { return Key > Other.Key; }
  };
  std::priority_queue<THead, std::vector<THead>, std::greater<THead>> Heads;
  for (std::size_t Run = 0, Start = 0; Run < RunEnds.size(); Start = RunEnds[Run++])
    Heads.push(THead{{KeyOf(Indexes[Start]), Indexes[Start]}, Start, RunEnds[Run]});
  std::vector<std::uint32_t> Merged;
  Merged.reserve(Indexes.size());
  while (!Heads.empty()) {
    THead Head = Heads.top();
    Heads.pop();
    Take(std::move(Head.Key.first), Head.Key.second, Merged);
    if (++Head.Position < Head.End) {
      Head.Key = {KeyOf(Indexes[Head.Position]), Indexes[Head.Position]};
      Heads.push(std::move(Head));
    }
  }
  Indexes.swap(Merged);
}
