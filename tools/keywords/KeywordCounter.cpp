// The word counter. The rows must be those of sorting every word of the text (stable, without
// regard to letter case) and walking the runs of the sorted list. Sorting millions of words
// is slow, so the words are counted in hash tables as they come and only the distinct words
// are sorted; because the sort is stable, the runs of one word are its forms in text order.
#include "tools/keywords/KeywordCounter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "platform/IntParse.h"
#include "platform/Win1251.h"
#include "tools/keywords/WordSplit.h"

namespace pagelathe {
namespace {

constexpr uint32_t kNone = UINT32_MAX;

// Up to the first eight sort weights of a text packed into one number, so that most
// comparisons of the final sort touch no text. Weights are stored plus one, so that a text
// that ends early (padding 0) comes before its continuations, as in CompareText.
uint64_t SortPrefix(std::string_view text) {
  uint64_t key = 0;
  for (size_t i = 0; i < 8; ++i) {
    key <<= 8;
    if (i < text.size()) key |= static_cast<uint64_t>(SortWeight(text[i]) + 1);
  }
  return key;
}

// The hash of a text folded to lower case, without making the folded text.
size_t FoldedHash(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(LowerChar(c));
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash ^ (hash >> 29));
}

bool SameFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && LowerChar(a[i]) != LowerChar(b[i])) return false;
  return true;
}

}  // namespace

// Everything the count needs, kept compact: each distinct spelling ("form") once, each word
// without regard to case ("group") once, and per group its runs in the order of the text.
// The run being counted sits in the group itself; only runs that ended (with case
// sensitivity, where a change of spelling ends a run) go to a list. Both tables are open
// addressing over indices, so a distinct word costs some forty bytes besides its text.
class KeywordCounter::Counter {
 public:
  Counter(int min_length, bool case_sensitive)
      : min_length_(min_length), case_sensitive_(case_sensitive) {
    form_slots_.assign(1024, Slot{kNone, 0});
    group_slots_.assign(1024, kNone);
  }

  void AddLine(std::string_view line) {
    wordsplit::ForEachWord(line, min_length_, scratch_,
                           [this](std::string_view word) { Add(word); });
  }

  void Add(std::string_view word) {
    const uint32_t form = FindOrAddForm(word);
    Group& group = groups_[forms_[form].group];
    if (group.count > 0 && case_sensitive_ && group.form != form) {
      // The spelling changed: the run so far is complete.
      const auto run = static_cast<uint32_t>(runs_.size());
      runs_.push_back({group.form, group.count, kNone});
      if (group.tail == kNone) {
        group.head = run;
      } else {
        runs_[group.tail].next = run;
      }
      group.tail = run;
      group.count = 0;
    }
    ++group.count;
    group.form = form;
  }

  std::vector<KeywordEntry> Rows(int min_frequency) const {
    std::vector<std::pair<uint64_t, uint32_t>> order(groups_.size());
    for (uint32_t i = 0; i < order.size(); ++i)
      order[i] = {SortPrefix(Text(groups_[i].first_form)), i};
    // Distinct groups never compare equal: equal sort weights mean equal folded texts.
    std::sort(order.begin(), order.end(), [this](const auto& a, const auto& b) {
      if (a.first != b.first) return a.first < b.first;
      return CompareText(Text(groups_[a.second].first_form), Text(groups_[b.second].first_form)) <
             0;
    });
    std::vector<KeywordEntry> rows;
    auto emit = [&](uint32_t form, long long count) {
      if (count >= static_cast<long long>(min_frequency))
        rows.push_back({std::string(Text(form)), IntToStr(count), true});
    };
    for (const auto& entry : order) {
      const Group& group = groups_[entry.second];
      for (uint32_t r = group.head; r != kNone; r = runs_[r].next)
        emit(runs_[r].form, runs_[r].count);
      emit(group.form, group.count);
    }
    return rows;
  }

 private:
  struct Slot {
    uint32_t form;
    uint32_t tag;  // high bits of the hash, to pass over other words without reading them
  };
  struct Form {
    uint64_t offset;
    uint32_t length;
    uint32_t group;
  };
  struct Group {
    uint32_t first_form;
    uint32_t form;          // spelling of the current run: its last word
    long long count = 0;    // length of the current run
    uint32_t head = kNone;  // runs that ended, in text order
    uint32_t tail = kNone;
  };
  struct Run {
    uint32_t form;
    long long count;
    uint32_t next;
  };

  std::string_view Text(uint32_t form) const {
    return {bytes_.data() + forms_[form].offset, forms_[form].length};
  }

  static uint32_t Tag(size_t hash) { return static_cast<uint32_t>(hash >> 32) | 1u; }

  uint32_t FindOrAddForm(std::string_view word) {
    const size_t hash = std::hash<std::string_view>{}(word);
    const uint32_t tag = Tag(hash);
    const size_t mask = form_slots_.size() - 1;
    size_t slot = hash & mask;
    while (form_slots_[slot].form != kNone) {
      if (form_slots_[slot].tag == tag) {
        const Form& form = forms_[form_slots_[slot].form];
        if (form.length == word.size() &&
            std::memcmp(bytes_.data() + form.offset, word.data(), word.size()) == 0)
          return form_slots_[slot].form;
      }
      slot = (slot + 1) & mask;
    }
    const auto index = static_cast<uint32_t>(forms_.size());
    forms_.push_back({bytes_.size(), static_cast<uint32_t>(word.size()), 0});
    bytes_.append(word);
    forms_.back().group = GroupOf(word, index);
    form_slots_[slot] = {index, tag};
    if (forms_.size() * 2 > form_slots_.size()) GrowForms();
    return index;
  }

  uint32_t GroupOf(std::string_view word, uint32_t form) {
    const size_t mask = group_slots_.size() - 1;
    size_t slot = FoldedHash(word) & mask;
    while (group_slots_[slot] != kNone) {
      const uint32_t group = group_slots_[slot];
      if (SameFolded(Text(groups_[group].first_form), word)) return group;
      slot = (slot + 1) & mask;
    }
    const auto group = static_cast<uint32_t>(groups_.size());
    groups_.push_back({form, form});
    group_slots_[slot] = group;
    if (groups_.size() * 2 > group_slots_.size()) GrowGroups();
    return group;
  }

  void GrowForms() {
    std::vector<Slot> slots(form_slots_.size() * 2, Slot{kNone, 0});
    const size_t mask = slots.size() - 1;
    for (uint32_t i = 0; i < forms_.size(); ++i) {
      const size_t hash = std::hash<std::string_view>{}(Text(i));
      size_t slot = hash & mask;
      while (slots[slot].form != kNone)
        slot = (slot + 1) & mask;
      slots[slot] = {i, Tag(hash)};
    }
    form_slots_.swap(slots);
  }

  void GrowGroups() {
    std::vector<uint32_t> slots(group_slots_.size() * 2, kNone);
    const size_t mask = slots.size() - 1;
    for (uint32_t i = 0; i < groups_.size(); ++i) {
      size_t slot = FoldedHash(Text(groups_[i].first_form)) & mask;
      while (slots[slot] != kNone)
        slot = (slot + 1) & mask;
      slots[slot] = i;
    }
    group_slots_.swap(slots);
  }

  int min_length_;
  bool case_sensitive_;
  std::string scratch_;
  std::string bytes_;  // the text of every form, one after the other
  std::vector<Form> forms_;
  std::vector<Slot> form_slots_;       // over forms_, a power of two long
  std::vector<uint32_t> group_slots_;  // over groups_ by folded text, a power of two long
  std::vector<Group> groups_;
  std::vector<Run> runs_;
};

KeywordCounter::KeywordCounter(int min_length, bool case_sensitive)
    : counter_(std::make_unique<Counter>(min_length, case_sensitive)) {}
KeywordCounter::~KeywordCounter() = default;
KeywordCounter::KeywordCounter(KeywordCounter&&) noexcept = default;
KeywordCounter& KeywordCounter::operator=(KeywordCounter&&) noexcept = default;

void KeywordCounter::AddLine(std::string_view line) {
  counter_->AddLine(line);
}

std::vector<KeywordEntry> KeywordCounter::Rows(int min_frequency) const {
  return counter_->Rows(min_frequency);
}

}  // namespace pagelathe
