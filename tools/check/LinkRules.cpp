// The rules of the link check that need no network: which codes count as success, the state
// of a final answer, and how long to wait before asking again.
#include <algorithm>
#include <ctime>
#include <stdexcept>

#include "tools/check/LinkCheck.h"

namespace pagelathe {

AcceptCodes::AcceptCodes() : ranges_{{200, 299}} {}

AcceptCodes AcceptCodes::Parse(const std::string& text) {
  AcceptCodes codes;
  codes.ranges_.clear();
  size_t at = 0;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    if (comma == std::string::npos) comma = text.size();
    std::string part = text.substr(at, comma - at);
    at = comma + 1;
    part.erase(0, part.find_first_not_of(' '));
    part.erase(part.find_last_not_of(' ') + 1);
    if (part.empty()) continue;
    const size_t dots = part.find("..");
    const auto number = [&part](const std::string& digits) {
      if (digits.empty() || digits.size() > 3 ||
          digits.find_first_not_of("0123456789") != std::string::npos)
        throw std::invalid_argument("'" + part + "' is not a status code or a range of them");
      return std::stoi(digits);
    };
    const int first = number(part.substr(0, dots));
    const int last = dots == std::string::npos ? first : number(part.substr(dots + 2));
    if (first < 100 || last > 599 || last < first)
      throw std::invalid_argument("'" + part + "' is not a status code or a range of them");
    codes.ranges_.emplace_back(first, last);
  }
  if (codes.ranges_.empty()) throw std::invalid_argument("no status code given");
  return codes;
}

bool AcceptCodes::Accepts(int code) const {
  for (const auto& [first, last] : ranges_)
    if (code >= first && code <= last) return true;
  return false;
}

LinkState StateOfAnswer(int code, int redirects, bool challenge, const AcceptCodes& accept) {
  if (challenge) return LinkState::kBlocked;
  if (accept.Accepts(code)) return redirects > 0 ? LinkState::kRedirected : LinkState::kOk;
  if (code == 401 || code == 403 || code == 429) return LinkState::kBlocked;
  return LinkState::kBroken;
}

double RetryDelay(const std::string& retry_after, int attempt, double cap, long long now,
                  double jitter) {
  if (!retry_after.empty()) {
    if (retry_after.find_first_not_of("0123456789") == std::string::npos && retry_after.size() < 10)
      return std::min(cap, static_cast<double>(std::stoll(retry_after)));
    std::tm when{};
    const char* end = strptime(retry_after.c_str(), "%a, %d %b %Y %H:%M:%S GMT", &when);
    if (end != nullptr) {
      const long long at = static_cast<long long>(timegm(&when));
      return std::clamp(static_cast<double>(at - now), 0.0, cap);
    }
  }
  const double base = static_cast<double>(1LL << std::clamp(attempt - 1, 0, 20));
  return std::min(cap, base * (1.0 + 0.25 * jitter));
}

}  // namespace pagelathe
