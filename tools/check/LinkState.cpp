// The words of the states.
#include "tools/check/LinkState.h"

#include <stdexcept>

namespace pagelathe {

const char* StateName(LinkState state) {
  switch (state) {
    case LinkState::kOk:
      return "ok";
    case LinkState::kRedirected:
      return "redirected";
    case LinkState::kBlocked:
      return "blocked";
    case LinkState::kTimeout:
      return "timeout";
    case LinkState::kBroken:
      return "broken";
    case LinkState::kExcluded:
      return "excluded";
  }
  return "broken";
}

std::optional<LinkState> StateFromName(std::string_view name) {
  for (const LinkState state : kAllLinkStates)
    if (name == StateName(state)) return state;
  return std::nullopt;
}

StateSet StateSet::Parse(std::string_view text) {
  StateSet set;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    std::string_view word = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    while (!word.empty() && word.front() == ' ')
      word.remove_prefix(1);
    while (!word.empty() && word.back() == ' ')
      word.remove_suffix(1);
    if (word.empty()) continue;
    const std::optional<LinkState> state = StateFromName(word);
    if (!state) {
      throw std::invalid_argument(
          "'" + std::string(word) +
          "' is not one of ok, redirected, blocked, timeout, broken, excluded");
    }
    set.Add(*state);
  }
  return set;
}

}  // namespace pagelathe
