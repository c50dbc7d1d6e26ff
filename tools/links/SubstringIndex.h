// A growing set of lines that answers "does any line contain this text?" without comparing
// the text with every line: lines are indexed by their 4-byte grams, a text is checked only
// against the lines that share its rarest gram, and texts shorter than a gram are looked up
// in the set of all short substrings. Texts found once are remembered.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pagelathe {

class SubstringIndex {
 public:
  // Adds a line. `contained` is a text known to be inside it (or empty), remembered so that
  // the same text is answered at once later.
  void Add(std::string line, std::string_view contained = {});

  // True when some line added so far contains `text` (the empty text: when there is a line).
  [[nodiscard]] bool AnyContains(std::string_view text);

  [[nodiscard]] size_t Size() const { return lines_.size(); }

 private:
  static constexpr size_t kGram = 4;
  void IndexGrams(uint32_t id);
  void AddShortSubstrings(std::string_view line);

  std::vector<std::string> lines_;
  std::unordered_map<uint32_t, std::vector<uint32_t>> grams_;  // gram -> ids, each id once
  bool short_built_ = false;            // built the first time a short text is asked for
  std::unordered_set<uint32_t> short_;  // substrings of 1 to 3 bytes, with their length
  std::unordered_set<std::string> known_;
};

}  // namespace pagelathe
