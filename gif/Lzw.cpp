#include "gif/Lzw.h"

#include <cstring>
#include <memory>

namespace {

constexpr int MaxCodeBits = 12;
constexpr unsigned TableSize = 1u << MaxCodeBits;

// Copies a string that earlier output already holds. Short strings move as two words loaded before
// either is stored, so the bytes past the string (which the next string overwrites) never matter.
inline void CopyRun(std::uint8_t* Out, std::size_t To, std::size_t From, std::size_t Length) {
  if (Length <= 16) {
    std::uint64_t A, B;
    std::memcpy(&A, Out + From, 8);
    std::memcpy(&B, Out + From + 8, 8);
    std::memcpy(Out + To, &A, 8);
    std::memcpy(Out + To + 8, &B, 8);
  } else {
    std::memcpy(Out + To, Out + From, Length);
  }
}

}  // namespace

// Every table entry past the first free code is an earlier string plus one index, and the decoder
// has written that string to Out already: an entry is kept as where its string starts in Out and
// its length, and decoding a code is one copy within Out.
TLzwDecodeResult LzwDecode(const std::uint8_t* Data, std::size_t Size, int MinCodeSize, std::uint8_t* Out,
                           std::size_t Capacity) {
  TLzwDecodeResult Result;
  const unsigned Clear = 1u << MinCodeSize, End = Clear + 1, FirstFree = Clear + 2;
  std::uint32_t Offset[TableSize];
  std::uint16_t Length[TableSize];
  unsigned Next = FirstFree, Width = unsigned(MinCodeSize) + 1;
  std::size_t PrevPos = 0, PrevLen = 0, Pos = 0;
  bool HavePrev = false;

  std::uint64_t Bits = 0;
  unsigned BitCount = 0;
  std::size_t InPos = 0;
  const std::uint64_t TotalBits = std::uint64_t(Size) * 8;
  std::uint64_t Consumed = 0;
  for (;;) {
    if (BitCount < Width) {
      // Whole-word refill: the input carries LzwInputSlack readable bytes past its end.
      std::uint64_t Word;
      std::memcpy(&Word, Data + (InPos < Size ? InPos : Size), 8);
      if (InPos >= Size) Word = 0;
      Bits |= Word << BitCount;
      const unsigned Taken = (63 - BitCount) >> 3;
      InPos += Taken;
      BitCount += Taken * 8;
    }
    const unsigned Code = unsigned(Bits) & ((1u << Width) - 1);
    Bits >>= Width;
    BitCount -= Width;
    Consumed += Width;
    if (Consumed > TotalBits) break;  // the data ran out in the middle of a code
    if (Code == Clear) {
      Next = FirstFree;
      Width = unsigned(MinCodeSize) + 1;
      HavePrev = false;
      continue;
    }
    if (Code == End) {
      Result.EndCode = true;
      break;
    }
    std::size_t Len;
    if (Code < Clear) {
      Len = 1;
      Out[Pos] = std::uint8_t(Code);
    } else if (!HavePrev) {
      Result.BadCode = true;  // after a clear only a single index can follow
      break;
    } else if (Code < Next) {
      Len = Length[Code];
      if (Pos + Len > Capacity) {
        std::memmove(Out + Pos, Out + Offset[Code], Capacity - Pos);
        Pos = Capacity;
        break;
      }
      CopyRun(Out, Pos, Offset[Code], Len);
    } else if (Code == Next && Next < TableSize) {
      // The string being defined: the previous one and its own first index.
      Len = PrevLen + 1;
      if (Pos + Len > Capacity) {
        std::memmove(Out + Pos, Out + PrevPos, Capacity - Pos);
        Pos = Capacity;
        break;
      }
      CopyRun(Out, Pos, PrevPos, PrevLen);
      Out[Pos + PrevLen] = Out[PrevPos];
    } else {
      Result.BadCode = true;
      break;
    }
    if (HavePrev && Next < TableSize) {
      Offset[Next] = std::uint32_t(PrevPos);
      Length[Next] = std::uint16_t(PrevLen + 1);
      ++Next;
      if (Next == (1u << Width) && Width < MaxCodeBits) ++Width;
    }
    HavePrev = true;
    PrevPos = Pos;
    PrevLen = Len;
    Pos += Len;
    if (Pos >= Capacity) {
      Pos = Capacity;
      break;
    }
  }
  Result.Written = Pos;
  return Result;
}

namespace {

class TBitWriter {
 public:
  explicit TBitWriter(std::vector<std::uint8_t>& Out) : FOut(Out) {}
  void Put(unsigned Code, unsigned Width) {
    FBits |= std::uint64_t(Code) << FCount;
    FCount += Width;
    while (FCount >= 8) {
      FOut.push_back(std::uint8_t(FBits));
      FBits >>= 8;
      FCount -= 8;
    }
  }
  void Flush() {
    if (FCount > 0) FOut.push_back(std::uint8_t(FBits));
    FBits = 0;
    FCount = 0;
  }

 private:
  std::vector<std::uint8_t>& FOut;
  std::uint64_t FBits = 0;
  unsigned FCount = 0;
};

// The encoder's table: (prefix code, index) pairs in an open-addressed hash twice the table's size.
// A multiplicative hash spreads the 20-bit keys over every slot, so a full table is half empty and
// probes stay short.
class TLzwHash {
 public:
  void Reset() { std::memset(FKeys, 0, sizeof(FKeys)); }
  // The code of Prefix followed by Index, or -1; Slot is where a new entry would go.
  int Find(unsigned Prefix, unsigned Index, unsigned& Slot) const {
    const std::uint32_t Key = (Prefix << 8 | Index) + 1;
    unsigned H = (Key * 0x9E3779B1u) >> (32 - SizeBits);
    while (FKeys[H] != 0) {
      if (FKeys[H] == Key) return FCodes[H];
      H = (H + 1) & (Size - 1);
    }
    Slot = H;
    return -1;
  }
  void Add(unsigned Slot, unsigned Prefix, unsigned Index, unsigned Code) {
    FKeys[Slot] = (Prefix << 8 | Index) + 1;
    FCodes[Slot] = std::uint16_t(Code);
  }

 private:
  static constexpr unsigned SizeBits = MaxCodeBits + 1;
  static constexpr unsigned Size = 1u << SizeBits;
  std::uint32_t FKeys[Size];
  std::uint16_t FCodes[Size];
};

}  // namespace

namespace {

// When to empty a full table. A fresh table codes about as well as the one just filled did over its
// life; a full table that still does better than that, window by window, is worth keeping.
class TClearPolicy {
 public:
  explicit TClearPolicy(const TLzwEncodeOptions& Options) : FOptions(Options) {}
  void Coded(unsigned Width) {
    FBits += Width;
    ++FCodes;
  }
  void Filled(std::size_t Consumed) {
    FFreshRatio = double(Consumed - FStart) / double(FBits);
    FWindowStart = Consumed;
    FBits = 0;
    FCodes = 0;
  }
  // Called for each code coded with a full table, Consumed indices into the stream.
  bool ClearNow(std::size_t Consumed) {
    if (FOptions.ClearDelay > 0) return FCodes > FOptions.ClearDelay;
    if (!FOptions.AdaptiveClear) return true;
    const std::size_t Window = Consumed - FWindowStart;
    if (Window < WindowSize) return false;
    const bool Worse = double(Window) / double(FBits) < FFreshRatio;
    FWindowStart = Consumed;
    FBits = 0;
    return Worse;
  }
  void Cleared(std::size_t Consumed) {
    FStart = Consumed;
    FBits = 0;
    FCodes = 0;
  }

 private:
  static constexpr std::size_t WindowSize = 512;
  const TLzwEncodeOptions& FOptions;
  std::size_t FStart = 0, FWindowStart = 0, FBits = 0, FCodes = 0;
  double FFreshRatio = 0;
};

}  // namespace

std::vector<std::uint8_t> LzwEncode(const std::uint8_t* Indices, std::size_t Count, int MinCodeSize,
                                    const TLzwEncodeOptions& Options) {
  std::vector<std::uint8_t> Out;
  Out.reserve(Count / 2 + 16);
  TBitWriter Writer(Out);
  TClearPolicy Policy(Options);
  const unsigned Clear = 1u << MinCodeSize, End = Clear + 1, FirstFree = Clear + 2;
  const unsigned IndexMask = Clear - 1;
  auto Hash = std::make_unique<TLzwHash>();
  Hash->Reset();
  unsigned Next = FirstFree, Width = unsigned(MinCodeSize) + 1;
  Writer.Put(Clear, Width);
  if (Count > 0) {
    unsigned Prefix = Indices[0] & IndexMask;
    for (std::size_t I = 1; I < Count; ++I) {
      const unsigned Index = Indices[I] & IndexMask;
      unsigned Slot = 0;
      const int Code = Hash->Find(Prefix, Index, Slot);
      if (Code >= 0) {
        Prefix = unsigned(Code);
        continue;
      }
      Writer.Put(Prefix, Width);
      Policy.Coded(Width);
      // The decoder widens its codes once its table (one entry behind this one) reaches the width.
      if (Next == (1u << Width) && Width < MaxCodeBits) ++Width;
      if (Next < TableSize) {
        Hash->Add(Slot, Prefix, Index, Next++);
        if (Next == TableSize) Policy.Filled(I);
      } else if (Policy.ClearNow(I)) {
        Writer.Put(Clear, Width);
        Hash->Reset();
        Next = FirstFree;
        Width = unsigned(MinCodeSize) + 1;
        Policy.Cleared(I);
      }
      Prefix = Index;
    }
    Writer.Put(Prefix, Width);
    if (Next == (1u << Width) && Width < MaxCodeBits) ++Width;
  }
  Writer.Put(End, Width);
  Writer.Flush();
  return Out;
}
