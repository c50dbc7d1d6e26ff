// The name-value list under any sequence of lookups, writes and deletes, sorted or not.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/TExStringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  pagelathe::TExStringList list;
  list.Sorted = (data[0] & 1) != 0;
  // Each operation: a code byte, then a name and a value cut at byte 0.
  size_t i = 1;
  auto next = [&]() {
    std::string piece;
    while (i < size && data[i] != 0)
      piece += static_cast<char>(data[i++]);
    ++i;
    return piece;
  };
  while (i < size) {
    const uint8_t code = data[i++];
    const std::string name = next();
    const std::string value = next();
    switch (code % 4) {
      case 0:
        list.SetValue(name, value);
        // An unsorted list finds what it just wrote (a sorted one is ordered by whole lines
        // and searched by names, which need not agree).
        if (!list.Sorted && !value.empty() && name.find(':') == std::string::npos &&
            list.GetValue(name) != value && value.front() != ' ') {
          __builtin_trap();
        }
        break;
      case 1:
        list.Add(name);
        break;
      case 2: {
        const int index = list.IndexOfName(name);
        if (index < -1 || index >= list.Count()) __builtin_trap();
        break;
      }
      default:
        (void)list.GetValue(name);
        break;
    }
  }
  return 0;
}
