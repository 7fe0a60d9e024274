#include "core/TemporaryName.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>

namespace {

constexpr std::string_view Marker = ".tmp";

std::uint64_t Mix(std::uint64_t Value) {
  Value += 0x9E3779B97F4A7C15ull;
  Value = (Value ^ (Value >> 30)) * 0xBF58476D1CE4E5B9ull;
  Value = (Value ^ (Value >> 27)) * 0x94D049BB133111EBull;
  return Value ^ (Value >> 31);
}

}  // namespace

std::string TemporaryNameFor(std::string_view FileName) {
  static std::atomic<std::uint64_t> Counter{0};
  // The system's randomness, the clock and a counter: any one of them keeps names apart.
  std::random_device Device;
  std::uint64_t Value = (static_cast<std::uint64_t>(Device()) << 32) ^ Device();
  Value ^= Mix(static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  Value = Mix(Value ^ Mix(++Counter));
  std::string Name(FileName);
  Name += Marker;
  for (int Shift = 60; Shift >= 0; Shift -= 4) Name += "0123456789abcdef"[(Value >> Shift) & 15];
  return Name;
}

bool IsTemporaryNameOf(std::string_view Name, std::string_view FileName) {
  if (Name.size() <= FileName.size() + Marker.size() || Name.substr(0, FileName.size()) != FileName ||
      Name.substr(FileName.size(), Marker.size()) != Marker)
    return false;
  for (char C : Name.substr(FileName.size() + Marker.size()))
    if (!((C >= '0' && C <= '9') || (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'))) return false;
  return true;
}
