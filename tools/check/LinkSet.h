// The distinct links of a check, each with every place where it stands and, once checked,
// its result. A link is its text as found; "page.html#a" and "page.html#b" are two links
// (their fragments differ) that share one request.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tools/check/LinkState.h"

namespace pagelathe {

// Where a link stands: a document (its path, or "-" for standard input, or the URL of a
// fetched page) and a line counted from 1.
struct LinkPlace {
  std::string document;
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
  size_t Insert(std::string_view key, std::string_view url, const LinkPlace& place, bool& added);
  // A deque: links never move, so the index can point into their own texts.
  std::deque<CheckedLink> links_;
  std::deque<std::string> resolved_keys_;
  std::unordered_map<std::string_view, size_t> index_;
};

// Splits "http://host/a#top" into the target "http://host/a" and the fragment "top".
void SplitFragment(std::string_view url, std::string& target, std::string& fragment);

}  // namespace pagelathe
