// The arguments of one command: its options (each declared with its names, whether it takes
// a value, and its default as the help shows it) and its operands. Parsing follows the usual
// rules of command-line programs: "--name value", "--name=value", "-x value", "-xvalue", "--"
// ends the options, and "-" alone is an operand (standard input).
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pagelathe::cli {

// A mistake in the command line: the program says what, shows a short usage and exits with 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string long_name;  // without "--"
  char short_name = 0;    // 0: none
  std::string value;      // the name of its value in the help ("N", "FILE"); empty: a flag
  std::string help;       // one line
  std::string fallback;   // the default as the help shows it; empty: none shown
  // The value may be left out ("--cache" or "--cache=FILE"); it is then only taken after "=".
  bool optional_value = false;
};

class ParsedArguments {
 public:
  [[nodiscard]] bool Has(std::string_view long_name) const;
  // The value of the last occurrence, or nothing.
  [[nodiscard]] std::optional<std::string> Value(std::string_view long_name) const;
  [[nodiscard]] std::string ValueOr(std::string_view long_name, std::string fallback) const;
  // The values of every occurrence, in order (an option given several times).
  [[nodiscard]] std::vector<std::string> Values(std::string_view long_name) const;
  // The value read as an integer of the program's own rule (sign, decimal, "$" or "0x" hex);
  // a text that is none raises UsageError naming the option.
  [[nodiscard]] std::optional<int> IntValue(std::string_view long_name) const;
  [[nodiscard]] const std::vector<std::string>& Operands() const { return operands_; }

 private:
  friend ParsedArguments ParseArguments(const std::vector<OptionSpec>&,
                                        const std::vector<std::string>&);
  std::map<std::string, std::string, std::less<>> values_;
  std::map<std::string, std::vector<std::string>, std::less<>> all_values_;
  std::vector<std::string> operands_;
};

// Parses `arguments` (the words after the command name). "--help" and "-h" are always known.
// An unknown option, a missing value or a value given to a flag raises UsageError.
[[nodiscard]] ParsedArguments ParseArguments(const std::vector<OptionSpec>& options,
                                             const std::vector<std::string>& arguments);

// The option lines of a command's help: names, value, the help text and the default.
[[nodiscard]] std::string OptionHelp(const std::vector<OptionSpec>& options);

}  // namespace pagelathe::cli
