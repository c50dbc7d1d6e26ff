// The gram tables behind the repeat filter of the link list.
#include "tools/links/SubstringIndex.h"

#include <cstring>
#include <functional>

namespace pagelathe {
namespace {

// The high bits of a multiplicative hash, so that every byte of the key counts.
size_t SlotIndex(uint32_t key, size_t mask) {
  const uint64_t mixed = (key * 0x9E3779B97F4A7C15ull) >> 29;
  return static_cast<size_t>(mixed ^ (mixed >> 17)) & mask;
}

uint32_t ShortKey(std::string_view text) {
  uint32_t key = static_cast<uint32_t>(text.size()) << 24;
  for (size_t i = 0; i < text.size(); ++i)
    key |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * i);
  return key;
}

}  // namespace

GramTable::GramTable(size_t gram_length) : gram_length_(gram_length), slots_(1024) {}

uint32_t GramTable::KeyAt(std::string_view text, size_t i) const {
  if (gram_length_ == 4) {
    uint32_t gram;
    std::memcpy(&gram, text.data() + i, sizeof gram);
    return gram;
  }
  uint64_t gram;
  std::memcpy(&gram, text.data() + i, sizeof gram);
  gram *= 0xD6E8FEB86659FD93ull;
  return static_cast<uint32_t>(gram >> 32) ^ static_cast<uint32_t>(gram);
}

const GramTable::Slot* GramTable::Find(uint32_t key) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = SlotIndex(key, mask);; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.count == 0) return nullptr;
    if (slot.key == key) return &slot;
  }
}

GramTable::Slot& GramTable::Insert(uint32_t key) {
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const size_t mask = slots_.size() - 1;
  for (size_t i = SlotIndex(key, mask);; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.count == 0) {
      slot.key = key;
      ++used_;
      return slot;
    }
    if (slot.key == key) return slot;
  }
}

void GramTable::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.count == 0) continue;
    size_t i = SlotIndex(slot.key, mask);
    while (slots_[i].count != 0)
      i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void GramTable::AddLine(uint32_t id, std::string_view line) {
  for (size_t i = 0; i + gram_length_ <= line.size(); ++i) {
    Slot& slot = Insert(KeyAt(line, i));
    if (slot.count != 0 && slot.last_line == id) continue;  // once per line
    postings_.push_back({id, slot.head});
    slot.head = static_cast<uint32_t>(postings_.size() - 1);
    slot.last_line = id;
    ++slot.count;
  }
}

template <typename Visit>
bool GramTable::ForCandidates(std::string_view text, Visit visit) const {
  const Slot* rarest = nullptr;
  for (size_t i = 0; i + gram_length_ <= text.size(); ++i) {
    const Slot* slot = Find(KeyAt(text, i));
    if (!slot) return false;  // a gram no line has
    if (!rarest || slot->count < rarest->count) rarest = slot;
  }
  for (uint32_t p = rarest->head, left = rarest->count; left > 0; --left) {
    const Posting& posting = postings_[p];
    if (visit(posting.line)) return true;
    p = posting.next;
  }
  return false;
}

SubstringIndex::SubstringIndex() : remembered_(1024) {}

bool SubstringIndex::IsRemembered(std::string_view text, uint64_t hash) const {
  const size_t mask = remembered_.size() - 1;
  for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
    const Remembered& entry = remembered_[i];
    if (!entry.used) return false;
    if (entry.hash == hash && entry.text == text) return true;
  }
}

void SubstringIndex::Add(std::string line, std::string_view contained) {
  const auto id = static_cast<uint32_t>(lines_.size());
  const std::string_view added = lines_.emplace_back(std::move(line));
  long_grams_.AddLine(id, added);
  if (grams_built_) grams_.AddLine(id, added);
  if (short_built_) AddShortSubstrings(added);
  if (!contained.empty()) Remember(contained);
}

void SubstringIndex::Remember(std::string_view text) {
  const uint64_t hash = std::hash<std::string_view>()(text);
  if (IsRemembered(text, hash)) return;
  if (2 * (remembered_count_ + 1) > remembered_.size()) {
    std::vector<Remembered> old(remembered_.size() * 2);
    old.swap(remembered_);
    const size_t mask = remembered_.size() - 1;
    for (const Remembered& entry : old) {
      if (!entry.used) continue;
      size_t i = static_cast<size_t>(entry.hash) & mask;
      while (remembered_[i].used)
        i = (i + 1) & mask;
      remembered_[i] = entry;
    }
  }
  const size_t mask = remembered_.size() - 1;
  size_t i = static_cast<size_t>(hash) & mask;
  while (remembered_[i].used)
    i = (i + 1) & mask;
  remembered_[i] = {hash, remembered_texts_.emplace_back(text), true};
  ++remembered_count_;
}

void SubstringIndex::AddShortSubstrings(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i)
    for (size_t n = 1; n < 4 && i + n <= line.size(); ++n)
      short_.insert(ShortKey(line.substr(i, n)));
}

bool SubstringIndex::AnyContains(std::string_view text) {
  if (text.empty()) return !lines_.empty();
  if (text.size() < 4) {
    if (!short_built_) {
      short_built_ = true;
      for (const std::string& line : lines_)
        AddShortSubstrings(line);
    }
    return short_.count(ShortKey(text)) != 0;
  }
  if (IsRemembered(text, std::hash<std::string_view>()(text))) return true;
  GramTable* table = &long_grams_;
  if (text.size() < long_grams_.GramLength()) {
    if (!grams_built_) {
      grams_built_ = true;
      for (uint32_t id = 0; id < lines_.size(); ++id)
        grams_.AddLine(id, lines_[id]);
    }
    table = &grams_;
  }
  const bool found = table->ForCandidates(
      text, [this, text](uint32_t id) { return lines_[id].find(text) != std::string::npos; });
  if (found) Remember(text);
  return found;
}

}  // namespace pagelathe
