#pragma once
// The synthetic tree the search benchmarks walk, made on first use and reused while its marker file
// says it has the same shape.
#include <string>

struct TBenchTreeShape {
  std::string Root;
  long Files = 200000;
  long Folders = 10000;
};

// Folders: a first level of about the square root of the count, the rest spread below them; files in
// eight name patterns spread evenly over all folders ("Report_000000.txt", "photo_1.JPG", ...). Every
// fourth text file carries a few lines of text, one in eight of those BenchNeedle.
void MakeBenchTree(const TBenchTreeShape& Shape);

inline constexpr const char* BenchNeedle = "Quarterly Needle Figures";

// The system's temporary folder followed by Name.
std::string BenchTempPath(const std::string& Name);
