// Small scanning helpers shared by the text library's sources (not part of its interface).
#pragma once

#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace pagelathe::textscan {

// Position of the first `c` in text[from, size), or npos.
inline std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  if (from >= text.size()) return std::string_view::npos;
  const void* hit = std::memchr(text.data() + from, c, text.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
             : std::string_view::npos;
}

// Reserves room for a result of `size` bytes. A large result is new memory from the kernel,
// and faulting it in 4 KB pages costs more than the text function itself, so the room is
// offered huge pages where the kernel has them (a hint: nothing changes when it declines).
inline void ReserveResult(std::string& result, std::size_t size) {
  result.reserve(size);
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (size < 4 * kHugePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(result.data());
  const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (start + size) & ~(kHugePage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// Replaces every occurrence of `from` (not empty) by `to`, left to right and without looking
// again at what was put in: the rule of a single "replace all". Returns the text untouched when
// `from` does not occur.
inline std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  std::size_t hit = text.find(from);
  if (hit == std::string::npos) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (hit != std::string::npos) {
    result.append(text, pos, hit - pos);
    result.append(to);
    pos = hit + from.size();
    hit = text.find(from, pos);
  }
  result.append(text, pos, std::string::npos);
  return result;
}

}  // namespace pagelathe::textscan
