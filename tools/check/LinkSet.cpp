// The distinct links of a check and their places.
#include "tools/check/LinkSet.h"

#include <algorithm>
#include <stdexcept>

namespace pagelathe {

DocumentName::DocumentName() {
  static const auto empty = std::make_shared<const std::string>();
  name_ = empty;
}

DocumentName::DocumentName(std::string name)
    : name_(std::make_shared<const std::string>(std::move(name))) {}

void SplitFragment(std::string_view url, std::string& target, std::string& fragment) {
  const size_t hash = url.find('#');
  target.assign(url.substr(0, hash));
  fragment.assign(hash == std::string_view::npos ? std::string_view() : url.substr(hash + 1));
}

size_t LinkSet::AddPlace(size_t index, const LinkPlace& place) {
  std::vector<LinkPlace>& places = links_[index].places;
  // Places come document by document, so a repeat is the last one.
  if (places.empty() || !(places.back() == place)) places.push_back(place);
  return index;
}

size_t LinkSet::Append(std::string_view url, const LinkPlace& place) {
  if (links_.size() >= TextIndex::kNone) throw std::length_error("too many links");
  CheckedLink& link = links_.emplace_back();
  link.url.assign(url);
  link.places.push_back(place);
  return links_.size() - 1;
}

size_t LinkSet::Add(std::string_view url, const LinkPlace& place) {
  const auto url_of = [this](uint32_t i) { return std::string_view(links_[i].url); };
  if (const uint32_t found = by_url_.Find(url, url_of); found != TextIndex::kNone)
    return AddPlace(found, place);
  const size_t index = Append(url, place);
  SplitFragment(url, links_[index].target, links_[index].fragment);
  by_url_.Insert(static_cast<uint32_t>(index), url_of);
  return index;
}

size_t LinkSet::AddResolved(std::string_view url, std::string_view target,
                            std::string_view fragment, bool local, const LinkPlace& place) {
  std::string key(local ? "file:" : "");
  key.append(target).append("#").append(fragment);
  const auto key_of = [this](uint32_t i) { return std::string_view(resolved_keys_[i]); };
  if (const uint32_t found = by_resolved_key_.Find(key, key_of); found != TextIndex::kNone)
    return AddPlace(resolved_links_[found], place);
  const size_t index = Append(url, place);
  CheckedLink& link = links_[index];
  link.target.assign(target);
  link.fragment.assign(fragment);
  link.local = local;
  resolved_keys_.push_back(std::move(key));
  resolved_links_.push_back(static_cast<uint32_t>(index));
  by_resolved_key_.Insert(static_cast<uint32_t>(resolved_keys_.size() - 1), key_of);
  return index;
}

size_t LinkSet::Find(std::string_view url) const {
  const uint32_t found =
      by_url_.Find(url, [this](uint32_t i) { return std::string_view(links_[i].url); });
  return found == TextIndex::kNone ? static_cast<size_t>(-1) : found;
}

}  // namespace pagelathe
