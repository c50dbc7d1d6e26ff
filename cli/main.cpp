// pagelathe: the tools of Brevanoth Pagelathe on the command line, over the same engines as
// the window. Exit status: 0 success, 1 failure (with the program's message on standard
// error), 2 a mistake in the command line (with a short usage), 128 + signal when interrupted.
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"
#include "platform/Product.h"

namespace pagelathe::cli {
namespace {

std::string ProgramHelp() {
  std::string text =
      "Usage: pagelathe COMMAND [OPTIONS] [ARGUMENTS]\n"
      "       pagelathe --help | --version | COMMAND --help\n\n"
      "The tools of " +
      std::string(kProductCaption) + ", for scripts:\n\n";
  for (const Command& command : AllCommands())
    text +=
        "  " + command.name + std::string(10 - command.name.size(), ' ') + command.summary + "\n";
  text +=
      "\nExit status: 0 success, 1 failure, 2 a mistake in the command line, 130 interrupted.\n"
      "See pagelathe(1).\n";
  return text;
}

std::string CommandHelp(const Command& command) {
  std::string text = "Usage: " + command.usage + "\n\n" + command.details + "\n";
  text += "\nOptions:\n" + OptionHelp(command.options);
  return text;
}

void Print(const std::string& text) {
  Output output;
  output.Write(text);
  output.Commit();
}

int UsageFailure(const std::string& where, const std::string& message, const std::string& usage,
                 const std::string& help_hint) {
  WriteError(where + ": " + message + "\nUsage: " + usage + "\nTry '" + help_hint +
             " --help' for more information.\n");
  return 2;
}

int Main(const std::vector<std::string>& words) {
  const std::string general_usage = "pagelathe COMMAND [OPTIONS] [ARGUMENTS]";
  if (words.empty())
    return UsageFailure("pagelathe", "no command given", general_usage, "pagelathe");
  const std::string& first = words[0];
  if (first == "--help" || first == "-h") {
    Print(ProgramHelp());
    return 0;
  }
  if (first == "--version" || first == "-V") {
    Print("pagelathe (" + std::string(kProductCaption) + ")\n");
    return 0;
  }
  const Command* command = nullptr;
  for (const Command& candidate : AllCommands())
    if (candidate.name == first) command = &candidate;
  if (!command) {
    const std::string what = first.starts_with("-") ? "unknown option '" + first + "'"
                                                    : "unknown command '" + first + "'";
    return UsageFailure("pagelathe", what, general_usage, "pagelathe");
  }
  const std::string where = "pagelathe " + command->name;
  try {
    const ParsedArguments arguments =
        ParseArguments(command->options, std::vector<std::string>(words.begin() + 1, words.end()));
    if (arguments.Has("help")) {
      Print(CommandHelp(*command));
      return 0;
    }
    return command->run(arguments);
  } catch (const UsageError& error) {
    return UsageFailure(where, error.what(), command->usage, where);
  } catch (const Interruption&) {
    return InterruptStatus();
  } catch (const std::bad_alloc&) {
    if (Interrupted()) return InterruptStatus();
    WriteError(where + ": Not enough memory.\n");
    return 1;
  } catch (const std::exception& error) {
    // A request or a read that the interrupt ended says so in its own words; that is no
    // failure to report.
    if (Interrupted()) return InterruptStatus();
    WriteError(where + ": " + error.what() + "\n");
    return 1;
  }
}

}  // namespace
}  // namespace pagelathe::cli

int main(int argc, char** argv) {
  pagelathe::cli::InstallInterruptHandler();
  return pagelathe::cli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
