// The verdicts of the link check and the words that name them in every report.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pagelathe {

enum class LinkState {
  kOk,          // 2xx, or a code the user accepts, or a local file that is there
  kRedirected,  // ended on an accepted code after one or more redirects
  kBlocked,     // 401, 403, 429 after the retries, or a bot challenge: not called dead
  kTimeout,     // no answer within the connect or whole-request time-out
  kBroken,      // 404, 410, other 4xx/5xx, a loop, a lookup failure, refused, reset, TLS
  kExcluded,    // matched the exclusion list or an --exclude pattern: not requested
};

inline constexpr std::array<LinkState, 6> kAllLinkStates = {
    LinkState::kOk,      LinkState::kRedirected, LinkState::kBlocked,
    LinkState::kTimeout, LinkState::kBroken,     LinkState::kExcluded};

// "ok", "redirected", "blocked", "timeout", "broken", "excluded".
[[nodiscard]] const char* StateName(LinkState state);

// The state a word names (exactly one of the words above), or nothing.
[[nodiscard]] std::optional<LinkState> StateFromName(std::string_view name);

// A set of states, as --fail-on and the window's filter take them.
class StateSet {
 public:
  StateSet() = default;
  void Add(LinkState state) { bits_ |= 1U << static_cast<unsigned>(state); }
  [[nodiscard]] bool Has(LinkState state) const {
    return (bits_ >> static_cast<unsigned>(state)) & 1U;
  }
  [[nodiscard]] bool Empty() const { return bits_ == 0; }

  // "broken,timeout" (words joined by commas, blanks allowed around them). Raises
  // std::invalid_argument naming the word that is not a state.
  [[nodiscard]] static StateSet Parse(std::string_view text);

 private:
  unsigned bits_ = 0;
};

}  // namespace pagelathe
