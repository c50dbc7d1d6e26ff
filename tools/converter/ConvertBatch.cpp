// The batch over folders and files.
#include "tools/converter/ConvertBatch.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/FolderList.h"

namespace pagelathe {
namespace {

bool Stopped(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}

// True when the two names in their folders are one existing file (hard links, and symbolic
// links followed, included).
bool SameFile(int input_folder, const std::string& input, int output_folder,
              const std::string& output) {
  struct stat a {
  }, b{};
  return ::fstatat(input_folder, input.c_str(), &a, 0) == 0 &&
         ::fstatat(output_folder, output.c_str(), &b, 0) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// The two folders of one pass: open descriptors, and their paths for messages.
struct PassFolders {
  int input = -1;
  std::string input_path;
  int output = -1;
  int output_error = 0;     // errno of an output folder that could not be opened or made
  std::string output_path;  // with a final "/"
};

// Converts one file of a pass; raises EFileError naming the file. False when stopped.
bool ConvertFile(const ConvertOptions& options, const PassFolders& folders, const std::string& name,
                 const std::atomic<bool>* stop) {
  const std::string input = JoinPath(folders.input_path, name);
  const std::string output_name = OutputName(options, name);
  const std::string output = folders.output_path + output_name;
  if (folders.output < 0)
    throw EFileError("Cannot create file \"" + output + "\". " +
                     std::strerror(folders.output_error));
  if (SameFile(folders.input, name, folders.output, output_name))
    throw EFileError("Cannot convert file \"" + input + "\" into itself.");
  // Opened without blocking and only as a regular file under the limit, so a pipe or a device
  // put among the files, or a huge sparse file, is skipped at once.
  UserFileStream stream;
  if (const ReadResult opened =
          stream.OpenAt(folders.input, name, UserFileStream::Accept::kRegularOnly);
      !opened.ok())
    throw EFileError(ReadFailureMessage(input, opened, stream.Limit()));
  AtomicFile file(folders.output, output_name, output);
  if (!ConvertInput(
          options, ConvertBaseName(name), stream,
          [&file](std::string_view bytes) { file.Write(bytes); }, stop))
    return false;  // the old output stays as it was
  if (!stream.Status().ok())
    throw EFileError(ReadFailureMessage(input, stream.Status(), stream.Limit()));
  file.Commit();
  return true;
}

// ConvertFolderPass: the files `names` of one folder into its output folder. A file that
// cannot be converted is skipped and reported; the pass goes on.
ConvertResult ConvertFolderPass(const ConvertOptions& options, const PassFolders& folders,
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
    try {
      if (!ConvertFile(options, folders, name, stop)) {
        result.Stopped = true;
        return result;
      }
      ++result.Converted;
    } catch (const Exception& error) {
      ++result.Skipped;
      if (observer.Skipped) observer.Skipped(error.what());
    } catch (const std::bad_alloc&) {  // one file too large to convert ends nothing else
      ++result.Skipped;
      if (observer.Skipped) {
        std::string message = "Cannot convert file \"";
        message.append(JoinPath(folders.input_path, name)).append("\". Not enough memory.");
        observer.Skipped(message);
      }
    }
    if (options.ScanSubfolders && observer.Progress) {
      observer.Progress(name, static_cast<int>(100 * i / count));
    }
  }
  return result;
}

}  // namespace

std::string OutputName(const ConvertOptions& options, const std::string& name) {
  return ConvertBaseName(name) + (options.Direction == kTextToHtml ? ".html" : ".txt");
}

std::string OutputFolder(const std::string& result_folder) {
  if (!result_folder.empty() && result_folder.back() == '/') return result_folder;
  return result_folder + "/";
}

ConvertResult ConvertFiles(const ConvertOptions& options, const std::vector<std::string>& names,
                           TextList& folder_list, FolderCounters& counters,
                           const std::atomic<bool>* stop, const ConvertObserver& observer) {
  // The walk's paths begin with the start folder as the walk spells it, with a final "/".
  const std::string& source = options.SourceFolder;
  const std::string start = source.empty() || source.back() == '/' ? source : source + "/";
  if (folder_list.empty()) folder_list.push_back(source);
  const size_t first_walked = folder_list.size();  // where the walk's folders begin
  FolderTree tree = SingleFolderTree(source);
  if (options.ScanSubfolders) {
    tree = WalkFolders(source, folder_list, counters, stop, true);
    if (Stopped(stop)) return {0, 0, true};
    if (observer.FoldersCollected) observer.FoldersCollected(folder_list, counters);
  }
  const std::string result_folder = OutputFolder(options.ResultFolder);
  FolderOpener inputs(tree, source);
  FolderOpener outputs(tree, result_folder, FolderChain::Mode::kCreate);
  ConvertResult total;
  const auto skip = [&](const std::string& message) {
    ++total.Skipped;
    if (observer.Skipped) observer.Skipped(message);
  };
  for (size_t f = 0; f < tree.places.size(); ++f) {
    PassFolders folders;
    std::vector<std::string> files;
    const FolderPlace& place = tree.places[f];
    if (f == 0) {
      if (names.empty()) continue;
      folders.input_path = source;
      folders.output_path = result_folder;
      files = names;
    } else {
      const std::string& path = folder_list[first_walked + f - 1];
      folders.input_path = path;
      folders.output_path = result_folder + path.substr(start.size()) + "/";
      if (place.error != 0) {
        skip(FolderFailureMessage(path, place.error, place.opened));
        if (!place.opened) continue;
      }
    }
    // Opened at its first need: most folders hold nothing to convert.
    const auto open_input = [&] {
      if (folders.input >= 0) return true;
      folders.input = inputs.Open(f);
      if (folders.input < 0 && errno != 0)
        skip(FolderFailureMessage(folders.input_path, errno, false));
      return folders.input >= 0;
    };
    if ((f == 0 || NeedsLookUp(tree.listings[f])) && !open_input()) continue;
    if (f != 0) files = FilesAmong(folders.input, std::move(tree.listings[f]), options.Mask);
    if (files.empty() || !open_input()) continue;
    folders.output = outputs.Open(f);
    if (folders.output < 0) folders.output_error = errno != 0 ? errno : ENOENT;
    const ConvertResult pass = ConvertFolderPass(options, folders, files, stop, observer);
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
