// What a host's robots.txt allows a robot of our name: the group for our product token, else
// the group for "*"; the longest matching Allow or Disallow rule decides ("*" and a final "$"
// in a rule as usual). A missing or empty file allows everything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagelathe {

class RobotsRules {
 public:
  [[nodiscard]] bool Allows(std::string_view path) const;

 private:
  friend RobotsRules ParseRobots(std::string_view text, std::string_view user_agent);
  struct Rule {
    std::string pattern;
    bool allow = false;
  };
  std::vector<Rule> rules_;
};

// The rules of `text` for the robot whose User-Agent is `user_agent` (its last product token,
// "BrevanothPagelathe" of "... BrevanothPagelathe/1.51", names its group).
[[nodiscard]] RobotsRules ParseRobots(std::string_view text, std::string_view user_agent);

}  // namespace pagelathe
