// The commands of the program: each a name, its usage, its options with their defaults, and
// the function that runs it on the parsed arguments and returns the exit status (0 success,
// 1 failure; a mistake in the command line raises UsageError, which gives 2).
#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace pagelathe::cli {

struct Command {
  std::string name;
  std::string usage;    // the lines after "Usage: "
  std::string summary;  // one line for the program's help
  std::string details;  // the paragraph of the command's help
  std::vector<OptionSpec> options;
  int (*run)(const ParsedArguments& arguments);
};

// Every command, in the order the help lists them.
[[nodiscard]] const std::vector<Command>& AllCommands();

int RunLinks(const ParsedArguments& arguments);
int RunConvert(const ParsedArguments& arguments);
int RunKeywords(const ParsedArguments& arguments);
int RunPage(const ParsedArguments& arguments);
int RunColor(const ParsedArguments& arguments);
int RunGradient(const ParsedArguments& arguments);
int RunFetch(const ParsedArguments& arguments);
int RunCheck(const ParsedArguments& arguments);

// Shared helpers of the commands.

// Writes a message to standard error in UTF-8, the file names in it decoded (ShownName).
void WriteError(const std::string& text);

}  // namespace pagelathe::cli
