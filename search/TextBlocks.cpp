#include "search/TextBlocks.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {
std::size_t VarintSize(std::size_t Value) {
  std::size_t Size = 1;
  while (Value >= 0x80) Value >>= 7, ++Size;
  return Size;
}
}  // namespace

std::uint32_t TTextBlocks::Store(std::string_view Text) {
  const std::size_t Needed = VarintSize(Text.size()) + Text.size();
  // A text longer than a block gets one of its own, and the next text starts another.
  const bool OwnBlock = Needed > BlockSize;
  if (OwnBlock || FUsed + Needed > BlockSize) {
    if (FBlocks.size() >= (std::size_t(1) << (32 - OffsetBits))) throw std::length_error("Search cache too large");
    const std::size_t Size = std::max(BlockSize, Needed);
    FBlocks.emplace_back(new char[Size]);  // not zeroed: only what is stored is ever read
    FBytes += Size;
    FUsed = 0;
  }
  const std::size_t Offset = FUsed;
  char* At = FBlocks.back().get() + Offset;
  std::size_t Length = Text.size();
  do {
    *At++ = static_cast<char>((Length & 0x7F) | (Length >= 0x80 ? 0x80 : 0));
    Length >>= 7;
  } while (Length);
  if (!Text.empty()) std::memcpy(At, Text.data(), Text.size());
  FUsed = OwnBlock ? BlockSize : FUsed + Needed;
  return static_cast<std::uint32_t>(((FBlocks.size() - 1) << OffsetBits) | Offset);
}

std::string_view TTextBlocks::Get(std::uint32_t Ref) const {
  const char* At = FBlocks[Ref >> OffsetBits].get() + (Ref & (BlockSize - 1));
  std::size_t Length = 0;
  for (int Shift = 0;; Shift += 7) {
    const auto Byte = static_cast<unsigned char>(*At++);
    Length |= static_cast<std::size_t>(Byte & 0x7F) << Shift;
    if (!(Byte & 0x80)) break;
  }
  return std::string_view(At, Length);
}

void TTextBlocks::Overwrite(std::uint32_t Ref, std::string_view Text) {
  const std::string_view Stored = Get(Ref);
  if (Stored.size() == Text.size() && !Text.empty())
    std::memcpy(const_cast<char*>(Stored.data()), Text.data(), Text.size());
}

void TTextBlocks::Clear() {
  FBlocks.clear();
  FBlocks.shrink_to_fit();
  FUsed = BlockSize;
  FBytes = 0;
}
