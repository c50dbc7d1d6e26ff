// A growing set of lines that answers "does any line contain this text?" without comparing
// the text with every line. Lines are indexed by their 8-byte grams (and, once a text of 4 to
// 7 bytes is asked for, by their 4-byte grams); a text is checked only against the lines that
// share its rarest gram. Texts shorter than 4 bytes are looked up in the set of all short
// substrings. Texts found once are remembered, so repeats cost one hash lookup.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace pagelathe {

// Lines by gram: for each gram key, how many lines hold it and which. Keys of grams longer
// than 4 bytes are hashes, so a hit is only a candidate to be verified.
class GramTable {
 public:
  explicit GramTable(size_t gram_length);
  void AddLine(uint32_t id, std::string_view line);
  // The lines holding the rarest gram of `text` (at least gram_length bytes); nothing when
  // some gram of it is in no line.
  template <typename Visit>
  bool ForCandidates(std::string_view text, Visit visit) const;
  [[nodiscard]] size_t GramLength() const { return gram_length_; }

 private:
  struct Slot {
    uint32_t key = 0;
    uint32_t count = 0;  // lines holding the gram; 0: the slot is free
    uint32_t head = 0;   // newest posting
    uint32_t last_line = 0;
  };
  struct Posting {
    uint32_t line;
    uint32_t next;
  };
  [[nodiscard]] uint32_t KeyAt(std::string_view text, size_t i) const;
  [[nodiscard]] const Slot* Find(uint32_t key) const;
  Slot& Insert(uint32_t key);
  void Grow();

  size_t gram_length_;
  std::vector<Slot> slots_;  // open addressing, a power of two in size
  size_t used_ = 0;
  std::vector<Posting> postings_;
};

class SubstringIndex {
 public:
  SubstringIndex();

  // Adds a line. `contained` is a text known to be inside it (or empty), remembered so that
  // the same text is answered at once later.
  void Add(std::string line, std::string_view contained = {});

  // True when some line added so far contains `text` (the empty text: when there is a line).
  [[nodiscard]] bool AnyContains(std::string_view text);

  [[nodiscard]] size_t Size() const { return lines_.size(); }

 private:
  void AddShortSubstrings(std::string_view line);
  void Remember(std::string_view text);

  std::deque<std::string> lines_;
  GramTable long_grams_{8};
  GramTable grams_{4};
  bool grams_built_ = false;            // the 4-byte table, built the first time it is needed
  bool short_built_ = false;            // the same for the set of short substrings
  std::unordered_set<uint32_t> short_;  // substrings of 1 to 3 bytes, with their length
  // Remembered texts: an open-addressing set of views into `remembered_texts_` (a deque, so
  // the views stay valid), with each text's hash kept beside it.
  struct Remembered {
    uint64_t hash = 0;
    std::string_view text;
    bool used = false;
  };
  [[nodiscard]] bool IsRemembered(std::string_view text, uint64_t hash) const;
  std::deque<std::string> remembered_texts_;
  std::vector<Remembered> remembered_;
  size_t remembered_count_ = 0;
};

}  // namespace pagelathe
