// The distinct links of a check, each with every place where it stands and, once checked,
// its result. A link is its text as found; "page.html#a" and "page.html#b" are two links
// (their fragments differ) that share one request.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/check/LinkState.h"

namespace pagelathe {

// The name of a document, shared by every place in it: a site of 100,000 links in 1,000
// pages keeps 1,000 names, not 100,000. It reads as the std::string it holds.
class DocumentName {
 public:
  DocumentName();
  DocumentName(std::string name);  // NOLINT: a place is made from a plain name
  DocumentName(const char* name) : DocumentName(std::string(name)) {}  // NOLINT: likewise
  [[nodiscard]] const std::string& str() const { return *name_; }
  operator const std::string&() const { return *name_; }  // NOLINT: reads as its text
  friend bool operator==(const DocumentName& a, const DocumentName& b) {
    return a.name_ == b.name_ || *a.name_ == *b.name_;
  }

 private:
  std::shared_ptr<const std::string> name_;
};

// Where a link stands: a document (its path, or "-" for standard input, or the URL of a
// fetched page) and a line counted from 1.
struct LinkPlace {
  DocumentName document;
  int line = 0;
  friend bool operator==(const LinkPlace&, const LinkPlace&) = default;
};

struct CheckedLink {
  // What is checked.
  std::string url;       // as found (for a relative link: as written in the document)
  std::string target;    // what is requested: an absolute URL without its fragment, or for a
                         // local link the file's path
  std::string fragment;  // the part after "#", without it; empty: none
  bool local = false;    // a file of the disk, checked without a request
  std::vector<LinkPlace> places;

  // The result.
  bool checked = false;
  LinkState state = LinkState::kOk;
  int code = 0;                    // the last HTTP status, 0 when none
  std::string final_url;           // where the redirects ended (empty without a redirect)
  std::string message;             // what went wrong, or the reason for the state
  std::vector<std::string> chain;  // the URLs the redirects went through, the final one last
  bool permanent = false;          // every redirect of the chain was permanent (301 or 308)
  bool cached = false;             // the result came from the cache of an earlier run
};

// An open-addressing set of numbers, each standing for a text that `key_of` gives back: four
// to eight bytes a link, where a node-based map takes some fifty.
class TextIndex {
 public:
  static constexpr uint32_t kNone = static_cast<uint32_t>(-1);
  // The number whose text is `text`, or kNone.
  template <typename KeyOf>
  [[nodiscard]] uint32_t Find(std::string_view text, const KeyOf& key_of) const {
    if (slots_.empty()) return kNone;
    const size_t mask = slots_.size() - 1;
    for (size_t i = std::hash<std::string_view>{}(text)&mask;; i = (i + 1) & mask) {
      if (slots_[i] == 0) return kNone;
      if (key_of(slots_[i] - 1) == text) return slots_[i] - 1;
    }
  }
  // Adds `number`, whose text is not in the set yet.
  template <typename KeyOf>
  void Insert(uint32_t number, const KeyOf& key_of) {
    if ((used_ + 1) * 2 > slots_.size()) {
      std::vector<uint32_t> old(std::max<size_t>(64, slots_.size() * 2));
      old.swap(slots_);
      for (const uint32_t slot : old)
        if (slot != 0) Place(slot - 1, key_of(slot - 1));
    }
    Place(number, key_of(number));
    ++used_;
  }

 private:
  void Place(uint32_t number, std::string_view text) {
    const size_t mask = slots_.size() - 1;
    size_t i = std::hash<std::string_view>{}(text)&mask;
    while (slots_[i] != 0)
      i = (i + 1) & mask;
    slots_[i] = number + 1;
  }
  std::vector<uint32_t> slots_;  // a number + 1; 0 is a free slot
  size_t used_ = 0;
};

class LinkSet {
 public:
  // Adds a place of the link `url`: a new link is appended, a known one gains the place (a
  // place already known is not added twice). Returns the link's index.
  size_t Add(std::string_view url, const LinkPlace& place);
  // As Add, for a link whose target and fragment are known (a resolved relative link): the
  // same text in two folders is two links, one target written two ways is one.
  size_t AddResolved(std::string_view url, std::string_view target, std::string_view fragment,
                     bool local, const LinkPlace& place);

  [[nodiscard]] size_t size() const { return links_.size(); }
  [[nodiscard]] bool empty() const { return links_.empty(); }
  [[nodiscard]] CheckedLink& operator[](size_t i) { return links_[i]; }
  [[nodiscard]] const CheckedLink& operator[](size_t i) const { return links_[i]; }
  [[nodiscard]] auto begin() { return links_.begin(); }
  [[nodiscard]] auto end() { return links_.end(); }
  [[nodiscard]] auto begin() const { return links_.begin(); }
  [[nodiscard]] auto end() const { return links_.end(); }
  // The index of a link added by Add, or npos.
  [[nodiscard]] size_t Find(std::string_view url) const;

 private:
  size_t AddPlace(size_t index, const LinkPlace& place);
  size_t Append(std::string_view url, const LinkPlace& place);
  std::deque<CheckedLink> links_;
  TextIndex by_url_;  // the links of Add, by their text
  // The links of AddResolved, by "[file:]target#fragment".
  std::vector<std::string> resolved_keys_;
  std::vector<uint32_t> resolved_links_;
  TextIndex by_resolved_key_;
};

// Splits "http://host/a#top" into the target "http://host/a" and the fragment "top".
void SplitFragment(std::string_view url, std::string& target, std::string& fragment);

}  // namespace pagelathe
