#include "core/FileSystem.h"

#include <algorithm>
#include <cstring>

namespace {

// Collects the pieces and writes them at once: for file systems that only write whole files.
class TBufferedWriter : public TFileWriter {
 public:
  TBufferedWriter(TFileSystem& Files, std::string Path) : FFiles(Files), FPath(std::move(Path)) {}
  bool Write(std::string_view Data) override {
    FData.append(Data);
    return true;
  }
  bool Commit() override { return FFiles.WriteFileAtomically(FPath, FData); }

 private:
  TFileSystem& FFiles;
  std::string FPath;
  std::string FData;
};

// A file already read whole.
class TWholeFileReader : public TFileReader {
 public:
  TWholeFileReader(std::string Data, std::uint64_t Size) : FData(std::move(Data)), FSize(Size) {}
  std::uint64_t Size() const override { return FSize; }
  std::ptrdiff_t Read(char* Buffer, std::size_t Count) override {
    const std::size_t Taken = std::min(Count, FData.size() - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, Taken);
    FPosition += Taken;
    return static_cast<std::ptrdiff_t>(Taken);
  }

 private:
  std::string FData;
  std::uint64_t FSize;
  std::size_t FPosition = 0;
};

}  // namespace

std::unique_ptr<TFileReader> TFileSystem::OpenFile(const std::string& Path) {
  std::string Data;
  std::uint64_t Size = 0;
  if (!ReadFile(Path, std::string::npos, Data, &Size)) return nullptr;
  return std::make_unique<TWholeFileReader>(std::move(Data), Size);
}

bool WriteWhole(const std::unique_ptr<TFileWriter>& Writer, std::string_view Data) {
  return Writer && Writer->Write(Data) && Writer->Commit();
}

bool TFileSystem::ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) {
  std::string Data;
  if (!ReadFile(Path, std::string::npos, Data)) return false;
  OnPiece(Data);
  return true;
}

std::unique_ptr<TFileWriter> TFileSystem::CreateFileAtomically(const std::string& Path) {
  return std::make_unique<TBufferedWriter>(*this, Path);
}

bool TFileSystem::SamePath(std::string_view A, std::string_view B) const {
  std::string KeyA(A), KeyB(B);
  PathKey(KeyA);
  PathKey(KeyB);
  return KeyA == KeyB;
}
