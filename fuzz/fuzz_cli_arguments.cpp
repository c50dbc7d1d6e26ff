// The command-line parser on any words: it parses or raises UsageError, and what it parses
// keeps every operand and the last value of every option.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Words are separated by NUL bytes; the first byte picks the command whose options apply.
  if (size < 1) return 0;
  const auto& commands = pagelathe::cli::AllCommands();
  const auto& command = commands[data[0] % commands.size()];
  std::vector<std::string> words(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back().push_back(static_cast<char>(data[i]));
    }
  }
  try {
    const auto parsed = pagelathe::cli::ParseArguments(command.options, words);
    if (parsed.Operands().size() > words.size()) std::abort();
    for (const auto& option : command.options) {
      try {
        (void)parsed.IntValue(option.long_name);
      } catch (const pagelathe::cli::UsageError&) {
      }
    }
  } catch (const pagelathe::cli::UsageError&) {
  }
  return 0;
}
