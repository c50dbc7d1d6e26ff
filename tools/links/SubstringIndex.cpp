// The gram index behind the repeat filter of the link list.
#include "tools/links/SubstringIndex.h"

#include <cstring>
#include <limits>

namespace pagelathe {
namespace {

uint32_t GramAt(std::string_view text, size_t i) {
  uint32_t gram;
  std::memcpy(&gram, text.data() + i, sizeof gram);
  return gram;
}

uint32_t ShortKey(std::string_view text) {
  uint32_t key = static_cast<uint32_t>(text.size()) << 24;
  for (size_t i = 0; i < text.size(); ++i)
    key |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * i);
  return key;
}

}  // namespace

void SubstringIndex::Add(std::string line, std::string_view contained) {
  const auto id = static_cast<uint32_t>(lines_.size());
  lines_.push_back(std::move(line));
  IndexGrams(id);
  if (short_built_) AddShortSubstrings(lines_.back());
  if (!contained.empty()) known_.emplace(contained);
}

void SubstringIndex::IndexGrams(uint32_t id) {
  const std::string_view line = lines_[id];
  for (size_t i = 0; i + kGram <= line.size(); ++i) {
    std::vector<uint32_t>& ids = grams_[GramAt(line, i)];
    if (ids.empty() || ids.back() != id) ids.push_back(id);
  }
}

void SubstringIndex::AddShortSubstrings(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i)
    for (size_t n = 1; n < kGram && i + n <= line.size(); ++n)
      short_.insert(ShortKey(line.substr(i, n)));
}

bool SubstringIndex::AnyContains(std::string_view text) {
  if (text.empty()) return !lines_.empty();
  if (text.size() < kGram) {
    if (!short_built_) {
      short_built_ = true;
      for (const std::string& line : lines_)
        AddShortSubstrings(line);
    }
    return short_.count(ShortKey(text)) != 0;
  }
  if (known_.count(std::string(text))) return true;
  const std::vector<uint32_t>* rarest = nullptr;
  for (size_t i = 0; i + kGram <= text.size(); ++i) {
    const auto it = grams_.find(GramAt(text, i));
    if (it == grams_.end()) return false;  // a gram no line has
    if (!rarest || it->second.size() < rarest->size()) rarest = &it->second;
  }
  for (const uint32_t id : *rarest) {
    if (lines_[id].find(text) != std::string::npos) {
      known_.emplace(text);
      return true;
    }
  }
  return false;
}

}  // namespace pagelathe
