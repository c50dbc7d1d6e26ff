// The word counter. The rows must be those of sorting every word of the text (stable, without
// regard to letter case) and walking the runs of the sorted list. Sorting millions of words
// is slow, so the words are counted in hash tables as they come and only the distinct words
// are sorted; because the sort is stable, the runs of one word are its forms in text order.
// A word is looked up by its bytes; only a spelling met for the first time pays for the letter
// rules (NFC, its length in characters, its case fold), and ASCII pays for none of them.
#include "tools/keywords/KeywordCounter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "platform/IntParse.h"
#include "platform/Letters.h"
#include "tools/keywords/WordSplit.h"

namespace pagelathe {
namespace {

constexpr uint32_t kNone = UINT32_MAX;

size_t HashOf(std::string_view text) {
  return std::hash<std::string_view>{}(text);
}

}  // namespace

// Everything the count needs, kept compact: each distinct spelling ("form") once, each word
// without regard to case ("group") once, and per group its runs in the order of the text.
// A spelling that is not in NFC points at the form of its NFC twin, and a spelling too short
// to count is remembered as such, so either is settled by one look-up the next time. The run
// being counted sits in the group itself; only runs that ended (with case sensitivity, where
// a change of spelling ends a run) go to a list. Both tables are open addressing over
// indices, so a distinct word costs some fifty bytes besides its text and its fold.
class KeywordCounter::Counter {
 public:
  Counter(int min_length, bool case_sensitive)
      : min_length_(min_length), case_sensitive_(case_sensitive) {
    form_slots_.assign(1024, Slot{kNone, 0});
    group_slots_.assign(1024, kNone);
  }

  // The words are looked up a batch at a time: each word of the batch is hashed and its slot
  // asked for first, so that the table's memory comes in for several words at once instead of
  // one miss after the other; then they are counted in text order.
  void AddLine(std::string_view line) {
    wordsplit::ForEachPiece(line, scratch_, [this](std::string_view word, bool ascii) {
      // An ASCII word's length is its size: a short one is never looked up.
      if (ascii && !wordsplit::LongEnough(word.size(), min_length_)) return;
      const size_t hash = HashOf(word);
      __builtin_prefetch(&form_slots_[hash & (form_slots_.size() - 1)]);
      Pending pending{word, hash, ascii, kNone};
      if (word.data() == scratch_.data()) {  // a copy without marks, which the next one reuses
        pending.held = static_cast<uint32_t>(held_.size());
        held_.append(word);
      }
      pending_.push_back(pending);
      if (pending_.size() == kBatch) Flush();
    });
    Flush();
  }

  void Flush() {
    for (const Pending& p : pending_)
      Add(p.held == kNone ? p.word : std::string_view(held_).substr(p.held, p.word.size()), p.hash,
          p.ascii);
    pending_.clear();
    held_.clear();
  }

  void Add(std::string_view word, size_t hash, bool ascii) {
    const uint32_t form = forms_[FindOrAddForm(word, hash, ascii)].canonical;
    if (form == kNone) return;  // too short
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

  std::vector<KeywordEntry> Rows(int min_frequency) {
    // The look-up tables are done with: their memory goes before the rows are made.
    std::vector<Slot>().swap(form_slots_);
    std::vector<uint32_t>().swap(group_slots_);
    // The groups by their sort keys, held one after the other in one text. Distinct groups
    // never compare equal: equal sort keys mean equal folded texts.
    struct Keyed {
      uint64_t offset;
      uint32_t length;
      uint32_t group;
    };
    std::string keys;
    std::vector<Keyed> order(groups_.size());
    for (uint32_t i = 0; i < order.size(); ++i) {
      const std::string key = SortKey(Folded(groups_[i]));
      order[i] = {keys.size(), static_cast<uint32_t>(key.size()), i};
      keys.append(key);
    }
    const auto key_of = [&keys](const Keyed& k) {
      return std::string_view(keys).substr(k.offset, k.length);
    };
    std::sort(order.begin(), order.end(),
              [&key_of](const Keyed& a, const Keyed& b) { return key_of(a) < key_of(b); });
    std::string().swap(keys);
    std::vector<KeywordEntry> rows;
    auto emit = [&](uint32_t form, long long count) {
      if (count >= static_cast<long long>(min_frequency))
        rows.push_back({std::string(Text(form)), IntToStr(count), true});
    };
    for (const Keyed& entry : order) {
      const Group& group = groups_[entry.group];
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
    uint32_t canonical;  // the form counted for this spelling (its NFC twin), kNone: too short
    uint32_t group;      // of a canonical form
  };
  struct Group {
    uint64_t folded_offset;  // the case fold of the word, in bytes_
    uint32_t folded_length;
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
  struct Pending {
    std::string_view word;
    size_t hash;
    bool ascii;
    uint32_t held;  // offset of the word in held_, kNone: the word is in the line
  };
  static constexpr size_t kBatch = 16;

  std::string_view Text(uint32_t form) const {
    return {bytes_.data() + forms_[form].offset, forms_[form].length};
  }
  std::string_view Folded(const Group& group) const {
    return {bytes_.data() + group.folded_offset, group.folded_length};
  }

  static uint32_t Tag(size_t hash) { return static_cast<uint32_t>(hash >> 32) | 1u; }

  uint32_t FindOrAddForm(std::string_view word, size_t hash, bool ascii) {
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
    forms_.push_back({bytes_.size(), static_cast<uint32_t>(word.size()), index, 0});
    bytes_.append(word);
    form_slots_[slot] = {index, tag};
    if (forms_.size() * 2 > form_slots_.size()) GrowForms();
    Settle(index, ascii);
    return index;
  }

  // The letter rules for a spelling met for the first time.
  void Settle(uint32_t index, bool ascii) {
    if (ascii) {
      std::string folded(Text(index));
      for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      forms_[index].group = GroupOf(folded, index);
      return;
    }
    const std::string word(Text(index));
    if (!IsNfc(word)) {
      const std::string normal = Nfc(word);
      // The NFC twin is a form of its own (it may be met as it is, too), settled here.
      const uint32_t twin = forms_[FindOrAddForm(normal, HashOf(normal), false)].canonical;
      forms_[index].canonical = twin;
      return;
    }
    if (!wordsplit::LongEnough(CharLength(word), min_length_)) {
      forms_[index].canonical = kNone;
      return;
    }
    forms_[index].group = GroupOf(FoldCase(word), index);
  }

  uint32_t GroupOf(std::string_view folded, uint32_t form) {
    const size_t mask = group_slots_.size() - 1;
    size_t slot = HashOf(folded) & mask;
    while (group_slots_[slot] != kNone) {
      const uint32_t group = group_slots_[slot];
      if (Folded(groups_[group]) == folded) return group;
      slot = (slot + 1) & mask;
    }
    const auto group = static_cast<uint32_t>(groups_.size());
    groups_.push_back({bytes_.size(), static_cast<uint32_t>(folded.size()), form});
    bytes_.append(folded);
    group_slots_[slot] = group;
    if (groups_.size() * 2 > group_slots_.size()) GrowGroups();
    return group;
  }

  void GrowForms() {
    std::vector<Slot> slots(form_slots_.size() * 2, Slot{kNone, 0});
    const size_t mask = slots.size() - 1;
    for (uint32_t i = 0; i < forms_.size(); ++i) {
      const size_t hash = HashOf(Text(i));
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
      size_t slot = HashOf(Folded(groups_[i])) & mask;
      while (slots[slot] != kNone)
        slot = (slot + 1) & mask;
      slots[slot] = i;
    }
    group_slots_.swap(slots);
  }

  int min_length_;
  bool case_sensitive_;
  std::string scratch_;
  std::vector<Pending> pending_;  // the batch, at most kBatch words
  std::string held_;              // the batch's words that were copied without their marks
  std::string bytes_;  // the text of every form and every group's fold, one after the other
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

std::vector<KeywordEntry> KeywordCounter::Rows(int min_frequency) {
  return counter_->Rows(min_frequency);
}

}  // namespace pagelathe
