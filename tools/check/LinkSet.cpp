// The distinct links of a check and their places.
#include "tools/check/LinkSet.h"

#include <algorithm>

namespace pagelathe {

void SplitFragment(std::string_view url, std::string& target, std::string& fragment) {
  const size_t hash = url.find('#');
  target.assign(url.substr(0, hash));
  fragment.assign(hash == std::string_view::npos ? std::string_view() : url.substr(hash + 1));
}

size_t LinkSet::Insert(std::string_view key, std::string_view url, const LinkPlace& place,
                       bool& added) {
  const auto found = index_.find(key);
  added = found == index_.end();
  if (!added) {
    std::vector<LinkPlace>& places = links_[found->second].places;
    // Places come document by document, so a repeat is the last one.
    if (places.empty() || !(places.back() == place)) places.push_back(place);
    return found->second;
  }
  CheckedLink& link = links_.emplace_back();
  link.url.assign(url);
  link.places.push_back(place);
  return links_.size() - 1;
}

size_t LinkSet::Add(std::string_view url, const LinkPlace& place) {
  bool added = false;
  const size_t index = Insert(url, url, place, added);
  if (added) {
    CheckedLink& link = links_[index];
    index_.emplace(link.url, index);
    SplitFragment(url, link.target, link.fragment);
  }
  return index;
}

size_t LinkSet::AddResolved(std::string_view url, std::string_view target,
                            std::string_view fragment, bool local, const LinkPlace& place) {
  std::string key(local ? "file:" : "");
  key.append(target).append("#").append(fragment);
  bool added = false;
  const size_t index = Insert(key, url, place, added);
  if (added) {
    index_.emplace(resolved_keys_.emplace_back(std::move(key)), index);
    CheckedLink& link = links_[index];
    link.target.assign(target);
    link.fragment.assign(fragment);
    link.local = local;
  }
  return index;
}

size_t LinkSet::Find(std::string_view url) const {
  const auto found = index_.find(url);
  return found == index_.end() ? static_cast<size_t>(-1) : found->second;
}

}  // namespace pagelathe
