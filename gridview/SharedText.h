#pragma once
// Immutable UTF-16 text shared by a reference count: the cells of a column that show the same folder,
// type or time hold one copy of it. The count is not atomic: the cells of a grid live on one thread.
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

class TSharedText {
 public:
  TSharedText() = default;
  explicit TSharedText(std::u16string_view Text) {
    if (Text.empty()) return;  // empty text takes no memory
    void* Memory = ::operator new(sizeof(TBlock) + Text.size() * sizeof(char16_t));
    FBlock = new (Memory) TBlock{1, static_cast<std::uint32_t>(Text.size())};
    std::memcpy(FBlock->Chars(), Text.data(), Text.size() * sizeof(char16_t));
  }
  TSharedText(const TSharedText& Other) noexcept : FBlock(Other.FBlock) {
    if (FBlock) ++FBlock->References;
  }
  TSharedText(TSharedText&& Other) noexcept : FBlock(std::exchange(Other.FBlock, nullptr)) {}
  TSharedText& operator=(TSharedText Other) noexcept {
    std::swap(FBlock, Other.FBlock);
    return *this;
  }
  ~TSharedText() {
    if (FBlock && --FBlock->References == 0) ::operator delete(FBlock);
  }

  std::u16string_view View() const {
    return FBlock ? std::u16string_view(FBlock->Chars(), FBlock->Length) : std::u16string_view();
  }

 private:
  // The characters follow the header in the same allocation.
  struct TBlock {
    std::uint32_t References;
    std::uint32_t Length;
    char16_t* Chars() { return reinterpret_cast<char16_t*>(this + 1); }
  };
  TBlock* FBlock = nullptr;
};
