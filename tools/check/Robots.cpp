// robots.txt, read once per host when the check is asked to obey it.
#include "tools/check/Robots.h"

#include <algorithm>
#include <cctype>

#include "platform/Letters.h"

namespace pagelathe {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

// Whether `path` matches `pattern` from its start: "*" stands for any run, a final "$" for
// the end. Greedy with one remembered star, so it is linear in practice.
bool Matches(std::string_view pattern, std::string_view path) {
  const bool anchored = !pattern.empty() && pattern.back() == '$';
  if (anchored) pattern.remove_suffix(1);
  size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
  while (t < path.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == path[t]) {
      ++p;
      ++t;
    } else if (p == pattern.size() && !anchored) {
      return true;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

}  // namespace

bool RobotsRules::Allows(std::string_view path) const {
  size_t best = 0;
  bool allowed = true;
  for (const Rule& rule : rules_) {
    if (rule.pattern.empty() || !Matches(rule.pattern, path)) continue;
    if (rule.pattern.size() > best || (rule.pattern.size() == best && rule.allow)) {
      best = rule.pattern.size();
      allowed = rule.allow;
    }
  }
  return allowed;
}

RobotsRules ParseRobots(std::string_view text, std::string_view user_agent) {
  std::string token(user_agent.substr(user_agent.rfind(' ') + 1));
  token = AsciiLowerCase(token.substr(0, token.find('/')));
  RobotsRules ours, anyone;
  bool have_ours = false;
  bool in_ours = false, in_anyone = false, agents_done = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    line = Trim(line.substr(0, line.find('#')));
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string field = AsciiLowerCase(Trim(line.substr(0, colon)));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (field == "user-agent") {
      if (agents_done) in_ours = in_anyone = agents_done = false;
      const std::string agent = AsciiLowerCase(value);
      if (agent == "*") in_anyone = true;
      if (!token.empty() && agent.find(token) != std::string::npos) in_ours = have_ours = true;
    } else if (field == "allow" || field == "disallow") {
      agents_done = true;
      const RobotsRules::Rule rule{std::string(value), field == "allow"};
      if (in_ours) ours.rules_.push_back(rule);
      if (in_anyone) anyone.rules_.push_back(rule);
    }
  }
  return have_ours ? ours : anyone;
}

}  // namespace pagelathe
