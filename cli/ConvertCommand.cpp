// pagelathe convert: the HTML Converter's batch from a source folder into a result folder, or
// one document converted to standard output. Both read and write in pieces (ConvertStream).
#include <filesystem>
#include <system_error>

#include "cli/Commands.h"
#include "cli/Input.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/FolderList.h"
#include "platform/Product.h"
#include "tools/converter/ConvertBatch.h"
#include "tools/converter/ConvertStream.h"

namespace pagelathe::cli {
namespace {

// The file list's masks of the page's two directions: its HTML entry and its text entry.
constexpr const char* kHtmlMask = "*.htm;*.shtm";
constexpr const char* kTextMask = "*.txt";

int RunBatch(const ConvertOptions& options) {
  if (!DirectoryExists(options.SourceFolder))
    throw EFileError("Cannot open folder \"" + options.SourceFolder +
                     "\". It does not exist or is not a folder.");
  std::error_code error;
  if (!DirectoryExists(options.ResultFolder) &&
      !std::filesystem::create_directories(options.ResultFolder, error))
    throw EFileError("Cannot create folder \"" + options.ResultFolder + "\". " +
                     (error ? error.message() : std::string("It is not a folder.")));

  Progress progress;
  std::vector<std::string> skipped;
  ConvertObserver observer;
  observer.Progress = [&](const std::string& name, int position) {
    progress.Show(" Converting: " + name + " (" + std::to_string(position) + "%)");
  };
  observer.Skipped = [&](const std::string& message) { skipped.push_back(message); };
  TextList folders = {options.SourceFolder};
  FolderCounters counters;
  const std::vector<std::string> names = ListFiles(options.SourceFolder, options.Mask);
  ConvertFiles(options, names, folders, counters, &InterruptFlag(), observer);
  ThrowIfInterrupted();
  for (const std::string& message : skipped)
    WriteError("pagelathe convert: " + message + "\n");
  return skipped.empty() ? 0 : 1;
}

// The name a document's output is named after: its file name without its folder.
std::string ListedName(const std::string& operand) {
  if (operand == "-") return "";
  const size_t slash = operand.rfind('/');
  return slash == std::string::npos ? operand : operand.substr(slash + 1);
}

// One document converted while it is read, in pieces, to the output.
void ConvertDocument(const ConvertOptions& options, const std::string& operand, Output& output) {
  UserFileStream stream;
  OpenDocument(operand, stream);
  const bool complete = ConvertInput(
      options, ConvertBaseName(ListedName(operand)), stream,
      [&output](std::string_view bytes) { output.Write(bytes); }, &InterruptFlag());
  ThrowIfInterrupted();
  if (!complete) throw Interruption();
  CheckStream(operand, stream);
}

}  // namespace

int RunConvert(const ParsedArguments& arguments) {
  if (arguments.Has("to-text") && arguments.Has("to-html"))
    throw UsageError("give either --to-text or --to-html");
  ConvertOptions options;
  options.Direction = arguments.Has("to-html") ? kTextToHtml : kHtmlToText;
  if (const std::optional<int> limit = arguments.IntValue("limit")) {
    options.LimitLines = true;
    options.CharsPerLine = *limit;
  }
  options.Generator = kProductCaption;
  const std::vector<std::string>& operands = arguments.Operands();
  if (operands.size() == 2) {
    options.SourceFolder = operands[0];
    options.ResultFolder = operands[1];
    options.ScanSubfolders = arguments.Has("subfolders");
    options.Mask =
        arguments.ValueOr("mask", options.Direction == kTextToHtml ? kTextMask : kHtmlMask);
    return RunBatch(options);
  }
  if (operands.size() != 1)
    throw UsageError(operands.empty() ? "no FILE given" : "too many operands");
  if (arguments.Has("subfolders") || arguments.Has("mask"))
    throw UsageError("--subfolders and --mask need SOURCE and RESULT folders");
  const std::string& operand = operands[0];
  Output output;
  ConvertDocument(options, operand, output);
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
