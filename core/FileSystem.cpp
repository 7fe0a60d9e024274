#include "core/FileSystem.h"

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

}  // namespace

bool TFileSystem::ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) {
  std::string Data;
  if (!ReadFile(Path, std::string::npos, Data)) return false;
  OnPiece(Data);
  return true;
}

std::unique_ptr<TFileWriter> TFileSystem::CreateFileAtomically(const std::string& Path) {
  return std::make_unique<TBufferedWriter>(*this, Path);
}
