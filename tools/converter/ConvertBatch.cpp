// The batch over folders and files.
#include "tools/converter/ConvertBatch.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/FolderList.h"
#include "platform/IntParse.h"
#include "platform/Utf8.h"
#include "textlib/Dizerezez.h"
#include "tools/converter/HtmlPage.h"

namespace pagelathe {
namespace {

bool Stopped(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}

// True when both paths name one existing file (hard and symbolic links included).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

TextList ConvertText(const ConvertOptions& options, const std::string& joined,
                     const std::string& base_name) {
  if (options.Direction == kTextToHtml) {
    const std::string title = DecodeText(base_name);
    return BuildHtmlPage(title, title, title, options.Generator, title, {DecodeText(joined)});
  }
  if (options.LimitLines) return CutToWidth(DelDoubBlank(DeleteTag(joined)), options.CharsPerLine);
  std::string text = HtmlToText(joined, options.Separator);
  if (text.empty()) return {};
  return {std::move(text)};
}

std::string ConvertedBytes(const ConvertOptions& options, const std::string& joined,
                           const std::string& base_name) {
  TextList lines = ConvertText(options, joined, base_name);
  return options.Direction == kTextToHtml ? HtmlPageBytes(std::move(lines)) : JoinLines(lines);
}

std::string OutputName(const ConvertOptions& options, const std::string& name) {
  return ConvertBaseName(name) + (options.Direction == kTextToHtml ? ".html" : ".txt");
}

std::string OutputFolder(const std::string& result_folder) {
  if (!result_folder.empty() && result_folder.back() == '/') return result_folder;
  return result_folder + "/";
}

ConvertResult ConvertFolderPass(const ConvertOptions& options, const std::string& input_folder,
                                const std::string& output_folder,
                                const std::vector<std::string>& names,
                                const std::atomic<bool>* stop, const ConvertObserver& observer) {
  ConvertResult result;
  const size_t count = names.size();
  for (size_t i = 0; i < count; ++i) {
    if (Stopped(stop)) {
      result.Stopped = true;
      return result;
    }
    const std::string& name = names[i];
    const std::string input = JoinPath(input_folder, name);
    const std::string output = output_folder + OutputName(options, name);
    try {
      if (SameFile(input, output)) {
        throw EFileError("Cannot convert file \"" + input + "\" into itself.");
      }
      // Read without blocking and only as a regular file under the limit, so a pipe or a
      // device put among the files, or a huge sparse file, is skipped at once.
      std::string joined = JoinedText(ReadUserFile(input, kDocumentLimit));
      WriteFileAtomic(output, ConvertedBytes(options, joined, ConvertBaseName(name)));
      ++result.Converted;
    } catch (const Exception& error) {
      ++result.Skipped;
      if (observer.Skipped) observer.Skipped(error.what());
    } catch (const std::bad_alloc&) {  // one file too large to convert ends nothing else
      ++result.Skipped;
      if (observer.Skipped) {
        std::string message = "Cannot convert file \"";
        message.append(input).append("\". Not enough memory.");
        observer.Skipped(message);
      }
    }
    if (options.ScanSubfolders && observer.Progress) {
      observer.Progress(name, static_cast<int>(100 * i / count));
    }
  }
  return result;
}

ConvertResult ConvertFiles(const ConvertOptions& options, const std::vector<std::string>& names,
                           TextList& folder_list, FolderCounters& counters,
                           const std::atomic<bool>* stop, const ConvertObserver& observer) {
  // The walk's paths begin with the start folder as the walk spells it, with a final "/".
  const std::string& source = options.SourceFolder;
  const std::string start = source.empty() || source.back() == '/' ? source : source + "/";
  if (folder_list.empty()) folder_list.push_back(source);
  if (options.ScanSubfolders) {
    CollectFolders(source, folder_list, counters, stop);
    if (Stopped(stop)) return {0, 0, true};
    if (observer.FoldersCollected) observer.FoldersCollected(folder_list, counters);
  }
  const std::string result_folder = OutputFolder(options.ResultFolder);
  ConvertResult total;
  for (size_t f = 0; f < folder_list.size(); ++f) {
    ConvertResult pass;
    if (f == 0) {
      pass = ConvertFolderPass(options, source, result_folder, names, stop, observer);
    } else {
      const std::string& folder = folder_list[f];
      if (!folder.starts_with(start)) continue;  // not from the walk
      const std::vector<std::string> files = ListFiles(folder, options.Mask);
      if (files.empty()) continue;
      const std::string output = result_folder + folder.substr(start.size()) + "/";
      std::error_code ignored;  // a folder that cannot be made shows as failed writes
      std::filesystem::create_directories(output, ignored);
      pass = ConvertFolderPass(options, folder, output, files, stop, observer);
    }
    total.Converted += pass.Converted;
    total.Skipped += pass.Skipped;
    if (pass.Stopped || Stopped(stop)) {
      total.Stopped = true;
      break;
    }
  }
  return total;
}

std::string SkippedFilesMessage(const std::vector<std::string>& skipped, size_t limit) {
  return FailureListMessage("These files were not converted:", skipped, limit);
}

}  // namespace pagelathe
