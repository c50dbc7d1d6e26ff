// Command-line parsing.
#include "cli/CommandLine.h"

#include <algorithm>

#include "platform/IntParse.h"

namespace pagelathe::cli {
namespace {

const OptionSpec kHelp{"help", 'h', "", "show this help and exit", ""};

const OptionSpec* FindLong(const std::vector<OptionSpec>& options, std::string_view name) {
  if (name == kHelp.long_name) return &kHelp;
  for (const OptionSpec& option : options)
    if (option.long_name == name) return &option;
  return nullptr;
}

const OptionSpec* FindShort(const std::vector<OptionSpec>& options, char name) {
  if (name == kHelp.short_name) return &kHelp;
  for (const OptionSpec& option : options)
    if (option.short_name != 0 && option.short_name == name) return &option;
  return nullptr;
}

}  // namespace

bool ParsedArguments::Has(std::string_view long_name) const {
  return values_.find(long_name) != values_.end();
}

std::optional<std::string> ParsedArguments::Value(std::string_view long_name) const {
  const auto it = values_.find(long_name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string ParsedArguments::ValueOr(std::string_view long_name, std::string fallback) const {
  return Value(long_name).value_or(std::move(fallback));
}

std::vector<std::string> ParsedArguments::Values(std::string_view long_name) const {
  const auto it = all_values_.find(long_name);
  return it == all_values_.end() ? std::vector<std::string>() : it->second;
}

std::optional<int> ParsedArguments::IntValue(std::string_view long_name) const {
  const std::optional<std::string> text = Value(long_name);
  if (!text) return std::nullopt;
  const std::optional<int> value = ParseInteger(*text);
  if (!value) {
    std::string message = "option --";
    message.append(long_name).append(": '").append(*text).append("' is not a valid integer value");
    throw UsageError(message);
  }
  return value;
}

ParsedArguments ParseArguments(const std::vector<OptionSpec>& options,
                               const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  bool options_ended = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (options_ended || word.size() < 2 || word[0] != '-') {
      parsed.operands_.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    const OptionSpec* option = nullptr;
    std::optional<std::string> value;
    std::string shown;  // the option as the user wrote it, for messages
    if (word[1] == '-') {
      const size_t equals = word.find('=');
      const std::string name = word.substr(2, equals == std::string::npos ? equals : equals - 2);
      shown = "--" + name;
      option = FindLong(options, name);
      if (equals != std::string::npos) value = word.substr(equals + 1);
    } else {
      shown = word.substr(0, 2);
      option = FindShort(options, word[1]);
      if (word.size() > 2) value = word.substr(2);
    }
    if (!option) throw UsageError("unknown option '" + shown + "'");
    if (option->optional_value) {
      if (word[1] != '-' && value)
        throw UsageError("option '" + shown + "' takes its value after =");
      if (!value) value.emplace();
    } else if (option->value.empty()) {
      if (value) {
        if (word[1] == '-') throw UsageError("option '" + shown + "' takes no value");
        throw UsageError("unknown option '" + word + "'");
      }
      value.emplace();
    } else if (!value) {
      if (i + 1 == arguments.size()) throw UsageError("option '" + shown + "' needs a value");
      value = arguments[++i];
    }
    parsed.values_[option->long_name] = *value;
    parsed.all_values_[option->long_name].push_back(*value);
  }
  return parsed;
}

std::string OptionHelp(const std::vector<OptionSpec>& options) {
  std::vector<std::pair<std::string, const OptionSpec*>> rows;
  for (const OptionSpec& option : options) {
    std::string names = option.short_name ? std::string("-") + option.short_name + ", " : "    ";
    names += "--" + option.long_name;
    if (option.optional_value)
      names += "[=" + option.value + "]";
    else if (!option.value.empty())
      names += " " + option.value;
    rows.emplace_back(std::move(names), &option);
  }
  rows.emplace_back("-h, --help", &kHelp);
  size_t width = 0;
  for (const auto& row : rows)
    width = std::max(width, row.first.size());
  std::string text;
  for (const auto& [names, option] : rows) {
    text += "  " + names + std::string(width - names.size() + 2, ' ') + option->help;
    if (!option->fallback.empty()) text += " (default: " + option->fallback + ")";
    text += '\n';
  }
  return text;
}

}  // namespace pagelathe::cli
