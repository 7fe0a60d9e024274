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
// has written that string already: while it is still in the caller's buffer, decoding a code is one
// copy within that buffer; older strings are rebuilt backwards from the entry's prefix chain.
TLzwDecoder::TLzwDecoder(const std::uint8_t* Data, std::size_t Size, int MinCodeSize, std::size_t Limit)
    : FData(Data),
      FSize(Size),
      FLimit(Limit < MaxLimit ? Limit : MaxLimit),
      FMinCodeSize(unsigned(MinCodeSize)),
      FClear(1u << MinCodeSize),
      FNext(FClear + 2),
      FWidth(unsigned(MinCodeSize) + 1) {
  for (unsigned I = 0; I < FClear; ++I) {
    FSuffix[I] = std::uint8_t(I);
    FPrefix[I] = 0;
    FLength[I] = 1;
  }
  if (FLimit == 0) FFinished = true;
}

void TLzwDecoder::Rebuild(unsigned Code, std::size_t Length, std::uint8_t* To, std::size_t Count) const {
  for (std::size_t I = Length; I-- > 0;) {
    if (I < Count) To[I] = FSuffix[Code];
    Code = FPrefix[Code];
  }
}

// The state lives in locals while decoding: stores through Out may alias the members, and the
// compiler would otherwise load them again after every string.
std::size_t TLzwDecoder::Decode(std::uint8_t* Out, std::size_t Room) {
  const std::size_t Base = FPos;
  std::size_t Pos = 0;
  const unsigned Clear = FClear, End = FClear + 1;
  unsigned Next = FNext, Width = FWidth, PrevCode = FPrevCode;
  std::size_t PrevPos = FPrevPos, PrevLen = FPrevLen, InPos = FInPos;
  std::uint64_t Bits = FBits, Consumed = FConsumed;
  unsigned BitCount = FBitCount;
  bool HavePrev = FHavePrev, Finished = FFinished;
  const std::uint8_t* const Data = FData;
  const std::size_t Size = FSize;
  const std::uint64_t TotalBits = std::uint64_t(Size) * 8;
  // The most this call may write: the buffer, or what is left of the limit.
  const std::size_t Rest = FLimit - Base, Stop = Room < Rest ? Room : Rest;
  unsigned Code = 0;
  if (FPending >= 0 && !Finished) {
    Code = unsigned(FPending);
    FPending = -1;
    goto Placed;  // the code the last buffer had no room for
  }
  while (!Finished) {
    {
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
      Code = unsigned(Bits) & ((1u << Width) - 1);
      Bits >>= Width;
      BitCount -= Width;
      Consumed += Width;
      if (Consumed > TotalBits) {
        Finished = true;  // the data ran out in the middle of a code
        break;
      }
    }
  Placed:
    if (Code == Clear) {
      Next = Clear + 2;
      Width = FMinCodeSize + 1;
      HavePrev = false;
      continue;
    }
    if (Code == End) {
      FEndCode = Finished = true;
      break;
    }
    std::size_t Len;
    std::uint8_t* const To = Out + Pos;
    if (Code < Clear) {
      Len = 1;
      if (Pos >= Stop) {
        FPending = int(Code);  // the buffer is full: the next one takes it
        break;
      }
      *To = std::uint8_t(Code);
    } else if (!HavePrev || Code > Next || Code >= TableSize) {
      FBadCode = Finished = true;  // after a clear only a single index can follow; past the table nothing
      break;
    } else {
      const bool Known = Code < Next;
      Len = Known ? FLength[Code] : PrevLen + 1;
      if (Pos + Len > Stop) {
        if (Stop < Rest) {
          FPending = int(Code);  // the next buffer takes it
          break;
        }
        // The limit cuts the string: what fits, and the end.
        const std::size_t Count = Stop - Pos;
        Rebuild(Known ? Code : PrevCode, Known ? Len : PrevLen, To, Count);
        if (!Known && Count > PrevLen) To[PrevLen] = To[0];
        Pos = Stop;
        Finished = true;
        break;
      }
      // A string still in the buffer is copied; an older one is rebuilt from its prefixes. The
      // string being defined is the previous one and its own first index.
      const std::size_t From = Known ? FOffset[Code] : PrevPos, FromLen = Known ? Len : PrevLen;
      if (From >= Base)
        CopyRun(Out, Pos, From - Base, FromLen);
      else
        Rebuild(Known ? Code : PrevCode, FromLen, To, FromLen);
      if (!Known) To[PrevLen] = To[0];
    }
    if (HavePrev && Next < TableSize) {
      FOffset[Next] = std::uint32_t(PrevPos);
      FLength[Next] = std::uint16_t(PrevLen + 1);
      FPrefix[Next] = std::uint16_t(PrevCode);
      FSuffix[Next] = *To;
      ++Next;
      if (Next == (1u << Width) && Width < MaxCodeBits) ++Width;
    }
    HavePrev = true;
    PrevCode = Code;
    PrevPos = Base + Pos;
    PrevLen = Len;
    Pos += Len;
    if (Pos >= Rest) Finished = true;
  }
  FNext = Next;
  FWidth = Width;
  FPrevCode = PrevCode;
  FPrevPos = PrevPos;
  FPrevLen = PrevLen;
  FInPos = InPos;
  FBits = Bits;
  FConsumed = Consumed;
  FBitCount = BitCount;
  FHavePrev = HavePrev;
  FFinished = Finished;
  FPos = Base + Pos;
  return Pos;
}

TLzwDecodeResult LzwDecode(const std::uint8_t* Data, std::size_t Size, int MinCodeSize, std::uint8_t* Out,
                           std::size_t Capacity) {
  auto Decoder = std::make_unique<TLzwDecoder>(Data, Size, MinCodeSize, Capacity);
  TLzwDecodeResult Result;
  Result.Written = Decoder->Decode(Out, Capacity);
  Result.EndCode = Decoder->EndCode();
  Result.BadCode = Decoder->BadCode();
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
