// The found-links store.
#include "platform/LinkStore.h"

#include <algorithm>

namespace pagelathe {

LinkStore::LinkStore(std::initializer_list<std::string_view> links) {
  for (std::string_view link : links)
    push_back(link);
}

LinkStore::LinkStore(const TextList& links) {
  size_t chars = 0;
  for (const std::string& link : links)
    chars += link.size();
  reserve(links.size(), chars);
  for (const std::string& link : links)
    push_back(link);
}

void LinkStore::AppendAll(const LinkStore& other) {
  if (this == &other) {
    const LinkStore copy = other;
    AppendAll(copy);
    return;
  }
  // Room first, so that memory refused leaves the store as it was; the room grows by at
  // least half, so that a search appending one document's links at a time stays linear.
  const size_t needed = ends_.size() + other.ends_.size();
  if (needed > ends_.capacity()) ends_.reserve(std::max(needed, ends_.capacity() * 3 / 2));
  const size_t base = chars_.size();
  chars_.append(other.chars_);
  for (const size_t end : other.ends_)
    ends_.push_back(base + end);
}

TextList LinkStore::ToTextList() const {
  TextList lines;
  lines.reserve(size());
  for (std::string_view link : *this)
    lines.emplace_back(link);
  return lines;
}

}  // namespace pagelathe
