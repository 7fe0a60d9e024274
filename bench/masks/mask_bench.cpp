// Times the name test on masks built to make a backtracking matcher work hard, over names of 250
// characters (the longest a file name usually gets), as the search calls it: folded, the end mark appended.
// Prints "key: value" lines: microseconds per name for each mask, then the worst of them; then the cost
// of folding a name of 250 characters (all ASCII) and of 200 characters with 40 of them beyond A to Z.
//
//   mask_bench [--names N] [--rounds N]
//
// Every figure is the best of the rounds: the machine may be busy with other work.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "masks/Masks.h"

namespace {

const char* const Masks[] = {
    "*a*a*a*a*a*a*b",
    "*(a)*(a)*(a)*(a)*(a)*(a)*b",
    "*?*?*?*?*?*?*b",
    "*[a-b]*[a-b]*[a-b]*[a-b]*b*c",
    "*!b*!b*!b*!b*!b*!b*c",
    "!a*a*a*a*a*a*b",
    "(bc)*(a)*(a)*(a)*(a)*(a)*b",
    "*aaaaaaaaaaaaaaaaaaaaaab*",
    "*a*b*",
    "*.txt",
};

// Names of 250 characters: long runs of "a" with a few other letters, the shape these masks
// make a backtracking matcher search the most; every other one ends in "b", so that the masks ending
// in "b" are matched all the way back to the first character.
std::vector<std::string> MakeNames(int Count) {
  std::mt19937 Random(250);
  std::vector<std::string> Names;
  for (int I = 0; I < Count; ++I) {
    std::string Name(250, 'a');
    for (int K = 0; K < 3; ++K) Name[Random() % 240] = "bac."[Random() % 4];
    if (I % 2) Name.back() = 'b';
    Names.push_back(Name + MaskEndMark);
  }
  return Names;
}

}  // namespace

int main(int Count, char** Arguments) {
  int NameCount = 20000, Rounds = 3;
  for (int I = 1; I + 1 < Count; I += 2) {
    const std::string Key = Arguments[I];
    if (Key == "--names") NameCount = std::atoi(Arguments[I + 1]);
    if (Key == "--rounds") Rounds = std::atoi(Arguments[I + 1]);
  }
  if (NameCount <= 0 || Rounds <= 0) {
    std::fprintf(stderr, "usage: mask_bench [--names N] [--rounds N]\n");
    return 2;
  }
  const std::vector<std::string> Names = MakeNames(NameCount);
  double Worst = 0;
  for (const char* Text : Masks) {
    const TMask Mask(MaskTextForSearch(Text));
    double Best = 1e30;
    long Hits = 0;
    for (int Round = 0; Round < Rounds; ++Round) {
      Hits = 0;
      const auto Start = std::chrono::steady_clock::now();
      for (const std::string& Name : Names) Hits += Mask.MatchFrom(Name, 1);
      Best =
          std::min(Best, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - Start).count());
    }
    const double PerName = Best / static_cast<double>(Names.size());
    std::printf("mask_us_per_name %s: %.2f (%ld of %zu match)\n", Text, PerName, Hits, Names.size());
    Worst = std::max(Worst, PerName);
  }
  std::printf("mask_worst_us_per_name: %.2f\n", Worst);
  // Folding the case of a name before its test, as the walk does for every name: plain ASCII names,
  // and names with a letter beyond A to Z in every fifth place.
  std::vector<std::string> Raw, Accented;
  for (const std::string& Name : Names) {
    Raw.push_back(Name.substr(0, Name.size() - 1));
    std::string Other;
    for (std::size_t I = 0; I < 200; ++I) Other += I % 5 ? std::string(1, Name[I] == 'a' ? 'A' : Name[I]) : "\xC3\x89";
    Accented.push_back(Other);
  }
  for (const auto& [Key, Set] :
       {std::pair{"name_fold_us_per_ascii_name", &Raw}, {"name_fold_us_per_accented_name", &Accented}}) {
    double Best = 1e30;
    std::string Folded;
    std::size_t Bytes = 0;
    for (int Round = 0; Round < Rounds; ++Round) {
      const auto Start = std::chrono::steady_clock::now();
      for (const std::string& Name : *Set) {
        NameForMask(Name, Folded);
        Bytes += Folded.size();
      }
      Best =
          std::min(Best, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - Start).count());
    }
    std::printf("%s: %.3f (%zu bytes)\n", Key, Best / static_cast<double>(Set->size()), Bytes / Rounds / Set->size());
  }
  return 0;
}
