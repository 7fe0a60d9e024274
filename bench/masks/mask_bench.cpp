// Times the name test on masks built to make a backtracking matcher work hard, over names of 250
// characters (the longest a file name usually gets), as the search calls it: lower-cased, the end mark appended.
// Prints "key: value" lines: microseconds per name for each mask, then the worst of them.
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
  return 0;
}
