// Name and value lines.
#include "net/TExStringList.h"

#include <algorithm>
#include <string_view>

#include "platform/Letters.h"

namespace pagelathe {
namespace {

// The text before the first ":"; a line without one has the empty name.
std::string_view NameOf(std::string_view line) {
  const size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

}  // namespace

int TExStringList::Add(const std::string& line) {
  if (!Sorted) {
    Strings.push_back(line);
    return Count() - 1;
  }
  const auto place = std::upper_bound(Strings.begin(), Strings.end(), line, TextLess());
  return static_cast<int>(Strings.insert(place, line) - Strings.begin());
}

int TExStringList::IndexOfName(const std::string& name) const {
  if (Strings.empty()) return -1;
  if (!Sorted) {
    for (size_t i = 0; i < Strings.size(); ++i) {
      const std::string_view line = Strings[i];
      const size_t colon = line.find(':');
      if (colon != std::string_view::npos && SameText(line.substr(0, colon), name)) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int order = CompareText(NameOf(Strings[static_cast<size_t>(middle)]), name);
    if (order == 0) return middle;
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

std::string TExStringList::GetValue(const std::string& name) const {
  const int index = IndexOfName(name);
  if (index < 0) return {};
  const std::string& line = Strings[static_cast<size_t>(index)];
  std::string value = line.size() > name.size() + 1 ? line.substr(name.size() + 1) : std::string();
  if (!value.empty() && value.front() == ' ') value.erase(0, 1);
  return value;
}

void TExStringList::SetValue(const std::string& name, const std::string& value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Strings.erase(Strings.begin() + index);
    return;
  }
  const std::string line = name + ": " + value;
  if (index < 0) {
    Add(line);
  } else if (!Sorted) {
    Strings[static_cast<size_t>(index)] = line;
  } else {
    // The new spelling may sort elsewhere: take the line out and put it back at its place.
    Strings.erase(Strings.begin() + index);
    Add(line);
  }
}

}  // namespace pagelathe
