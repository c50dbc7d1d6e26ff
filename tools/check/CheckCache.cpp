// The cache file: a line per success, "time<TAB>state<TAB>code<TAB>permanent<TAB>target<TAB>
// final URL", written whole through AtomicFile.
#include "tools/check/CheckCache.h"

#include <fstream>
#include <stdexcept>

#include "platform/AtomicFile.h"

namespace pagelathe {
namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  for (;;) {
    const size_t tab = line.find('\t', at);
    fields.push_back(line.substr(at, tab - at));
    if (tab == std::string_view::npos) return fields;
    at = tab + 1;
  }
}

bool IsSuccess(LinkState state) {
  return state == LinkState::kOk || state == LinkState::kRedirected;
}

}  // namespace

CheckCache::CheckCache(std::string path, long long max_age_s, long long now)
    : path_(std::move(path)), max_age_s_(max_age_s), now_(now) {
  std::ifstream file(path_, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != 6) continue;
    Entry entry;
    try {
      entry.time = std::stoll(std::string(fields[0]));
      entry.code = std::stoi(std::string(fields[2]));
    } catch (const std::exception&) {
      continue;
    }
    const std::optional<LinkState> state = StateFromName(fields[1]);
    if (!state || !IsSuccess(*state) || fields[4].empty()) continue;
    entry.state = *state;
    entry.permanent = fields[3] == "1";
    entry.final_url.assign(fields[5]);
    entries_[std::string(fields[4])] = std::move(entry);
  }
}

bool CheckCache::Fill(CheckedLink& link) const {
  const auto found = entries_.find(link.target);
  if (found == entries_.end() || found->second.time < now_ - max_age_s_) return false;
  const Entry& entry = found->second;
  link.state = entry.state;
  link.code = entry.code;
  link.permanent = entry.permanent;
  link.final_url = entry.final_url;
  link.chain.clear();
  if (!entry.final_url.empty()) link.chain.push_back(entry.final_url);
  link.message = "from the cache";
  link.cached = true;
  return true;
}

void CheckCache::Store(const CheckedLink& link) {
  if (link.local || link.cached) return;
  if (!IsSuccess(link.state) || !link.fragment.empty()) {
    // A failure now forgets an earlier success of the same target.
    if (!IsSuccess(link.state)) entries_.erase(link.target);
    return;
  }
  // Texts with a tab or a line break could not be read back.
  for (const std::string* text : {&link.target, &link.final_url})
    if (text->find_first_of("\t\r\n") != std::string::npos) return;
  entries_[link.target] = {now_, link.state, link.code, link.permanent, link.final_url};
}

void CheckCache::Save() const {
  std::string bytes;
  for (const auto& [target, entry] : entries_) {
    if (entry.time < now_ - max_age_s_) continue;
    bytes.append(std::to_string(entry.time))
        .append("\t")
        .append(StateName(entry.state))
        .append("\t")
        .append(std::to_string(entry.code))
        .append(entry.permanent ? "\t1\t" : "\t0\t")
        .append(target)
        .append("\t")
        .append(entry.final_url)
        .append("\n");
  }
  AtomicFile file(path_);
  file.Write(bytes);
  file.Commit();
}

long long ParseDuration(const std::string& text) {
  if (text.empty()) throw std::invalid_argument("an empty duration");
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
    ++digits;
  const std::string unit = text.substr(digits);
  long long scale = 0;
  if (unit.empty() || unit == "s") scale = 1;
  if (unit == "m") scale = 60;
  if (unit == "h") scale = 3600;
  if (unit == "d") scale = 86400;
  if (unit == "w") scale = 7 * 86400;
  if (digits == 0 || digits > 9 || scale == 0)
    throw std::invalid_argument("'" + text + "' is not a duration such as 45s, 30m, 12h, 1d or 2w");
  return std::stoll(text.substr(0, digits)) * scale;
}

}  // namespace pagelathe
