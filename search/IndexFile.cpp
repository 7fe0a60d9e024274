#include "search/IndexFile.h"

#include <cstring>

namespace {

constexpr std::string_view Magic = "TorvIdx1";
constexpr std::size_t HeaderSize = 8 + 1 + 4 * 8;

// A hash of a stream of bytes, eight at a time whatever the pieces they come in: it tells a damaged
// file from a whole one.
class TCheck {
 public:
  void Add(std::string_view Bytes) {
    std::size_t At = 0;
    while (FFill > 0 && At < Bytes.size()) Put(static_cast<unsigned char>(Bytes[At++]));
    for (; At + 8 <= Bytes.size(); At += 8) {
      std::uint64_t Word;
      std::memcpy(&Word, Bytes.data() + At, 8);
      Mix(Word);
    }
    while (At < Bytes.size()) Put(static_cast<unsigned char>(Bytes[At++]));
  }
  std::uint64_t Value() const {
    std::uint64_t Hash = (FHash ^ FWord ^ FFill) * 0x9E3779B97F4A7C15ull;
    return Hash ^ (Hash >> 29);
  }

 private:
  void Put(unsigned char Byte) {
    FWord |= static_cast<std::uint64_t>(Byte) << (8 * FFill);
    if (++FFill == 8) {
      Mix(FWord);
      FWord = 0;
      FFill = 0;
    }
  }
  void Mix(std::uint64_t Word) {
    FHash = (FHash ^ Word) * 0x9E3779B97F4A7C15ull;
    FHash ^= FHash >> 31;
  }
  std::uint64_t FHash = 0x6A09E667F3BCC909ull;
  std::uint64_t FWord = 0;
  unsigned FFill = 0;
};

void PutFixed(std::string& Out, std::uint64_t Value) {
  for (int I = 0; I < 8; ++I) Out.push_back(static_cast<char>(Value >> (8 * I)));
}

void PutVarint(std::string& Out, std::uint64_t Value) {
  while (Value >= 0x80) {
    Out.push_back(static_cast<char>((Value & 0x7F) | 0x80));
    Value >>= 7;
  }
  Out.push_back(static_cast<char>(Value));
}

std::uint64_t Zigzag(std::int64_t Value) {
  return (static_cast<std::uint64_t>(Value) << 1) ^ static_cast<std::uint64_t>(Value >> 63);
}
std::int64_t Unzigzag(std::uint64_t Value) {
  return static_cast<std::int64_t>(Value >> 1) ^ -static_cast<std::int64_t>(Value & 1);
}

// Reads what a writer put; every read fails (and stays failed) past the end.
class TReader {
 public:
  explicit TReader(std::string_view Bytes) : FBytes(Bytes) {}
  bool Ok() const { return FOk; }
  bool AtEnd() const { return FAt == FBytes.size(); }
  std::uint64_t Fixed() {
    if (FBytes.size() - FAt < 8) return Fail();
    std::uint64_t Value = 0;
    for (int I = 0; I < 8; ++I)
      Value |= static_cast<std::uint64_t>(static_cast<unsigned char>(FBytes[FAt + I])) << (8 * I);
    FAt += 8;
    return Value;
  }
  std::uint64_t Varint() {
    std::uint64_t Value = 0;
    for (unsigned Shift = 0; Shift < 64; Shift += 7) {
      if (FAt == FBytes.size()) return Fail();
      const unsigned char Byte = static_cast<unsigned char>(FBytes[FAt++]);
      Value |= static_cast<std::uint64_t>(Byte & 0x7F) << Shift;
      if (!(Byte & 0x80)) return Value;
    }
    return Fail();
  }
  std::string_view Text(std::uint64_t Length) {
    if (FBytes.size() - FAt < Length) {
      Fail();
      return {};
    }
    const std::string_view Out = FBytes.substr(FAt, Length);
    FAt += Length;
    return Out;
  }

 private:
  std::uint64_t Fail() {
    FOk = false;
    FAt = FBytes.size();
    return 0;
  }
  std::string_view FBytes;
  std::size_t FAt = 0;
  bool FOk = true;
};

}  // namespace

std::string IndexFileFor(const std::string& CacheFile) {
  constexpr std::string_view Suffix = ".cache";
  if (CacheFile.size() > Suffix.size() &&
      CacheFile.compare(CacheFile.size() - Suffix.size(), Suffix.size(), Suffix) == 0)
    return CacheFile.substr(0, CacheFile.size() - Suffix.size()) + ".index";
  return CacheFile + ".index";
}

bool WriteIndexFile(TFileWriter& Writer, const TFolderIndex& Index, const TSFCList& List,
                    const std::vector<std::uint32_t>* FileLines, const TIndexedCacheFile& Cache) {
  const auto FileLine = [&](std::uint32_t Line) { return FileLines ? (*FileLines)[Line] : Line; };
  // The folders that can be written: every entry a line of the file.
  std::uint64_t Folders = 0;
  Index.ForEach([&](std::uint32_t, const TFolderIndex::TFolderView& View) {
    for (std::uint32_t I = 0; I < View.Count; ++I)
      if (FileLine(TFolderIndex::LineOf(View.Items[I])) == NoFileLine) return;
    ++Folders;
  });
  std::string Bytes(Magic);
  Bytes.push_back(List.Delimiter());
  PutFixed(Bytes, Cache.Size);
  PutFixed(Bytes, Cache.Stamp);
  PutFixed(Bytes, Cache.Lines);
  PutFixed(Bytes, Folders);
  bool Ok = true;
  TCheck Hash;
  std::string Own, FolderText;
  const auto Flush = [&](bool Last) {
    if (!Last && Bytes.size() < (1u << 20)) return;
    Hash.Add(Bytes);
    Ok = Ok && Writer.Write(Bytes);
    Bytes.clear();
  };
  Index.ForEach([&](std::uint32_t Folder, const TFolderIndex::TFolderView& View) {
    for (std::uint32_t I = 0; I < View.Count; ++I)
      if (FileLine(TFolderIndex::LineOf(View.Items[I])) == NoFileLine) return;
    // The folder by its own line where the file holds it in this very spelling.
    List.FolderTextInto(Folder, FolderText);
    const std::string_view Text = FolderText;
    std::uint64_t Base = 0;
    bool ByLine = false;
    if (Text.size() > 1) {
      const std::string_view Path = Text.substr(0, Text.size() - 1);
      const std::ptrdiff_t Line = List.IndexOf(Path);
      if (Line >= 0) {
        List.TextInto(static_cast<std::size_t>(Line), Own);
        Base = FileLine(static_cast<std::uint32_t>(Line));
        ByLine = Own == Path && Base != NoFileLine;
      }
    }
    if (ByLine) {
      PutVarint(Bytes, Base + 1);
    } else {
      Base = 0;
      PutVarint(Bytes, 0);
      PutVarint(Bytes, Text.size());
      Bytes.append(Text);
    }
    PutFixed(Bytes, View.Stamp);
    PutVarint(Bytes, View.Count);
    std::int64_t Previous = static_cast<std::int64_t>(Base);
    for (std::uint32_t I = 0; I < View.Count; ++I) {
      const std::int64_t Line = FileLine(TFolderIndex::LineOf(View.Items[I]));
      PutVarint(Bytes, Zigzag(Line - Previous) << 2 | (View.Items[I] & 3));
      Previous = Line;
    }
    Flush(false);
  });
  Flush(true);
  PutFixed(Bytes, Hash.Value());
  return Ok && Writer.Write(Bytes);
}

bool IndexBelongsTo(std::string_view Bytes, const TIndexedCacheFile& Cache) {
  if (Bytes.size() < HeaderSize + 8 || Bytes.substr(0, Magic.size()) != Magic) return false;
  TReader Read(Bytes.substr(Magic.size() + 1));
  return Read.Fixed() == Cache.Size && Read.Fixed() == Cache.Stamp;
}

bool ReadIndexFile(std::string_view Bytes, const TIndexedCacheFile& Cache, TSFCList& List, TFolderIndex& Index,
                   std::string& Why) {
  Index.Clear();
  const auto Reject = [&](const char* Reason) {
    Index.Clear();
    Why = Reason;
    return false;
  };
  if (Bytes.size() < HeaderSize + 8 || Bytes.substr(0, Magic.size()) != Magic)
    return Reject("not an index of this version");
  const std::string_view Body = Bytes.substr(0, Bytes.size() - 8);
  TCheck Hash;
  Hash.Add(Body);
  if (TReader(Bytes.substr(Body.size())).Fixed() != Hash.Value()) return Reject("damaged");
  TReader Read(Body);
  Read.Text(Magic.size());
  const char Delimiter = List.Delimiter();
  if (Read.Text(1) != std::string_view(&Delimiter, 1)) return Reject("made for other paths");
  const std::uint64_t Size = Read.Fixed(), Stamp = Read.Fixed(), Lines = Read.Fixed();
  if (Size != Cache.Size || Stamp != Cache.Stamp || Lines != Cache.Lines || Lines != List.Count())
    return Reject("made for another cache file");
  const std::uint64_t Folders = Read.Fixed();
  std::vector<std::uint32_t> Items;
  std::string Text;
  for (std::uint64_t F = 0; F < Folders && Read.Ok(); ++F) {
    const std::uint64_t Ref = Read.Varint();
    std::uint64_t Base = 0;
    if (Ref == 0) {
      Text.assign(Read.Text(Read.Varint()));
    } else {
      Base = Ref - 1;
      if (Base >= Lines) return Reject("damaged");
      List.TextInto(Base, Text);
      Text.push_back(List.Delimiter());
    }
    const std::uint64_t FolderStamp = Read.Fixed();
    const std::uint64_t Count = Read.Varint();
    if (!Read.Ok() || Count > Lines) return Reject("damaged");
    std::uint32_t Folder = List.FindFolder(Text);
    if (Folder == TSFCList::NoFolder) {
      if (Count > 0) return Reject("damaged");
      Folder = List.AddFolder(Text);
    }
    Items.clear();
    std::int64_t Previous = static_cast<std::int64_t>(Base);
    for (std::uint64_t I = 0; I < Count; ++I) {
      const std::uint64_t Coded = Read.Varint();
      const std::int64_t Line = Previous + Unzigzag(Coded >> 2);
      if (!Read.Ok() || Line < 0 || static_cast<std::uint64_t>(Line) >= Lines || Line > TFolderIndex::MaxLine ||
          List.FolderOf(static_cast<std::size_t>(Line)) != Folder)
        return Reject("damaged");
      Items.push_back(static_cast<std::uint32_t>(Line) << 2 | static_cast<std::uint32_t>(Coded & 3));
      Previous = Line;
    }
    Index.Replace(Folder, FolderStamp, Items.data(), Items.size());
  }
  if (!Read.Ok() || !Read.AtEnd()) return Reject("damaged");
  Index.SetChanged(false);
  return true;
}
