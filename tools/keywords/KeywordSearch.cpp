// Word counting. The rows must be those of sorting every word of the text (stable, without
// regard to letter case) and walking the runs of the sorted list. Sorting millions of words
// is slow, so the words are counted in hash tables as they come and only the distinct words
// are sorted; because the sort is stable, the runs of one word are its forms in text order.
#include "tools/keywords/KeywordSearch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <unordered_map>

#include "platform/IntParse.h"
#include "platform/Win1251.h"
#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

constexpr uint32_t kNone = UINT32_MAX;

bool IsDeletedMark(char c) {
  return c == '.' || c == ',' || c == '?' || c == '!' || c == '*' || c == '-';
}

bool LongEnough(size_t length, int min_length) {
  return static_cast<long long>(length) >= static_cast<long long>(min_length);
}

// Calls `take(word)` for every kept word of `line`; `scratch` holds the line without its
// deleted marks and must outlive the calls.
template <typename Take>
void ForEachWord(std::string_view line, int min_length, std::string& scratch, Take&& take) {
  scratch.clear();
  scratch.reserve(line.size());
  for (char c : line)
    if (!IsDeletedMark(c)) scratch.push_back(c);
  const std::string_view clean(scratch);
  size_t start = 0;
  for (size_t i = 0; i <= clean.size(); ++i) {
    if (i < clean.size() && clean[i] != ' ') continue;
    // Every blank ends a piece, and so does the blank put after the line.
    const std::string_view piece = clean.substr(start, i - start);
    if (LongEnough(piece.size(), min_length)) take(piece);
    start = i + 1;
  }
}

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

// Everything the count needs, kept compact: each distinct spelling ("form") once, each word
// without regard to case ("group") once, and per group its runs in the order of the text.
// The run being counted sits in the group itself; only runs that ended (with case
// sensitivity, where a change of spelling ends a run) go to a list.
class WordCounter {
 public:
  explicit WordCounter(bool case_sensitive) : case_sensitive_(case_sensitive) {
    slots_.assign(1024, Slot{kNone, 0});
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
    size_t offset;
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
    const size_t mask = slots_.size() - 1;
    size_t slot = hash & mask;
    while (slots_[slot].form != kNone) {
      if (slots_[slot].tag == tag) {
        const Form& form = forms_[slots_[slot].form];
        if (form.length == word.size() &&
            std::memcmp(bytes_.data() + form.offset, word.data(), word.size()) == 0)
          return slots_[slot].form;
      }
      slot = (slot + 1) & mask;
    }
    const auto index = static_cast<uint32_t>(forms_.size());
    forms_.push_back({bytes_.size(), static_cast<uint32_t>(word.size()), 0});
    hashes_.push_back(hash);
    bytes_.append(word);
    forms_.back().group = GroupOf(word, index);
    slots_[slot] = {index, tag};
    if (forms_.size() * 2 > slots_.size()) Grow();
    return index;
  }

  uint32_t GroupOf(std::string_view word, uint32_t form) {
    folded_.assign(word);
    for (char& c : folded_)
      c = LowerChar(c);
    auto [it, added] = group_of_folded_.try_emplace(folded_, static_cast<uint32_t>(groups_.size()));
    if (added) groups_.push_back({form, form});
    return it->second;
  }

  void Grow() {
    std::vector<Slot> slots(slots_.size() * 2, Slot{kNone, 0});
    const size_t mask = slots.size() - 1;
    for (uint32_t i = 0; i < forms_.size(); ++i) {
      size_t slot = hashes_[i] & mask;
      while (slots[slot].form != kNone)
        slot = (slot + 1) & mask;
      slots[slot] = {i, Tag(hashes_[i])};
    }
    slots_.swap(slots);
  }

  bool case_sensitive_;
  std::string bytes_;  // the text of every form, one after the other
  std::vector<Form> forms_;
  std::vector<size_t> hashes_;  // of each form, read only when the table grows
  std::vector<Slot> slots_;     // open addressing over forms_, a power of two long
  std::string folded_;
  std::unordered_map<std::string, uint32_t> group_of_folded_;
  std::vector<Group> groups_;
  std::vector<Run> runs_;
};

// The "Word" column's order: ASCII letters without regard to case, every other byte by its
// code, a text before its own continuations.
int CompareAsciiText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 'a' + 'A');
    if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 'a' + 'A');
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CountValue(const std::string& count) {
  std::string digits;
  digits.reserve(count.size());
  for (char c : count)
    if (c != ' ') digits.push_back(c);
  return StrToInt(digits);
}

// Reorders `rows` by `keys` (one per row), stable, ascending or descending.
template <typename Key, typename Less>
void StableSortBy(std::vector<KeywordEntry>& rows, const std::vector<Key>& keys, int direction,
                  Less less) {
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return direction < 0 ? less(keys[b], keys[a]) : less(keys[a], keys[b]);
  });
  std::vector<KeywordEntry> sorted;
  sorted.reserve(rows.size());
  for (size_t i : order)
    sorted.push_back(std::move(rows[i]));
  rows.swap(sorted);
}

}  // namespace

TextList SplitWords(std::string_view line, int min_length) {
  TextList words;
  std::string scratch;
  ForEachWord(line, min_length, scratch, [&](std::string_view word) { words.emplace_back(word); });
  return words;
}

std::vector<KeywordEntry> FindKeywords(const TextList& lines, int min_length, int min_frequency,
                                       bool case_sensitive) {
  WordCounter counter(case_sensitive);
  std::string scratch;
  for (const auto& line : lines)
    ForEachWord(line, min_length, scratch, [&](std::string_view word) { counter.Add(word); });
  return counter.Rows(min_frequency);
}

void SortKeywordList(std::vector<KeywordEntry>& rows, int column, KeywordSortState& state) {
  int direction = column != state.LastColumn ? -1 : state.Direction;
  if (column == 0) {
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows)
      keys.push_back(row.Word);
    StableSortBy(rows, keys, direction, [](const std::string& a, const std::string& b) {
      return CompareAsciiText(a, b) < 0;
    });
  } else if (column == 1) {
    std::vector<int> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows)
      keys.push_back(CountValue(row.Count));  // may throw: no change
    StableSortBy(rows, keys, direction, std::less<int>());
  }
  state.Direction = -direction;
  state.LastColumn = column;
}

void CleanOpenedText(TextList& lines) {
  for (auto& line : lines)
    line = DelDoubBlank(DeleteTag(line));
}

}  // namespace pagelathe
