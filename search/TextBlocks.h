#pragma once
// Texts kept back to back in large blocks, for lists of millions of short texts.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// Each text is stored behind its length and named by a 32-bit reference (block and offset): no
// allocation per text, and a stored text never moves, so views of it stay valid while the store lives.
class TTextBlocks {
 public:
  std::uint32_t Store(std::string_view Text);
  std::string_view Get(std::uint32_t Ref) const;
  // Puts Text, of the same length as the stored one, in its place.
  void Overwrite(std::uint32_t Ref, std::string_view Text);
  void Clear();
  std::size_t MemoryBytes() const { return FBytes + FBlocks.capacity() * sizeof(FBlocks[0]); }

 private:
  static constexpr unsigned OffsetBits = 20;
  static constexpr std::size_t BlockSize = std::size_t(1) << OffsetBits;
  std::vector<std::unique_ptr<char[]>> FBlocks;
  std::size_t FUsed = BlockSize;  // bytes used in the last block; a full block asks for the next
  std::size_t FBytes = 0;
};
