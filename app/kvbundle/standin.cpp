/*
** Stand-in program files: pseudo-random but reproducible bytes.
*/
#include "standin.h"

#include <algorithm>

namespace kv {
namespace {

/* xorshift64*: small, fast, and the same everywhere. */
class Generator {
 public:
  explicit Generator(std::uint64_t start) : state_(start != 0 ? start : 0x9E3779B97F4A7C15ull) {}
  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }

 private:
  std::uint64_t state_;
};

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001B3ull;
  }
  return h;
}

}  // namespace

std::string MakeStandIn(std::uint64_t size, std::string_view name) {
  constexpr std::size_t kBlock = 512;
  const std::string text = "Stand-in for " + std::string(name) + ", not a program. ";
  Generator gen(Fnv1a(name));
  std::string out;
  out.reserve(static_cast<std::size_t>(size));
  out += "MZ";
  while (out.size() < size) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, size - out.size()));
    switch (gen.Next() % 10) {
      case 0: case 1: case 2: case 3:  // code-like: incompressible
        for (std::size_t i = 0; i < n; ++i) out.push_back(static_cast<char>(gen.Next() >> 56));
        break;
      case 4: case 5: case 6:  // strings
        for (std::size_t i = 0; i < n; ++i) out.push_back(text[i % text.size()]);
        break;
      default:  // padding
        out.append(n, '\0');
        break;
    }
  }
  out.resize(static_cast<std::size_t>(size));
  return out;
}

}  // namespace kv
