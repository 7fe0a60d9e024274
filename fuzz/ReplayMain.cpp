// Runs a fuzz target once over every file of the folders and files named on the command line: the
// saved corpus, replayed by CTest, so that every input that once found a fault stays a test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

namespace {
void Run(const std::filesystem::path& File) {
  std::ifstream In(File, std::ios::binary);
  const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
}
}  // namespace

int main(int Count, char** Arguments) {
  std::size_t Inputs = 0;
  for (int I = 1; I < Count; ++I) {
    const std::filesystem::path Path(Arguments[I]);
    if (std::filesystem::is_directory(Path)) {
      std::vector<std::filesystem::path> Files;
      for (const auto& Item : std::filesystem::directory_iterator(Path))
        if (Item.is_regular_file()) Files.push_back(Item.path());
      for (const auto& File : Files) Run(File);
      Inputs += Files.size();
    } else {
      Run(Path);
      ++Inputs;
    }
  }
  std::printf("%zu inputs replayed\n", Inputs);
  return Inputs > 0 ? 0 : 1;
}
