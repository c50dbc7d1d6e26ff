// pagelathe links: the Links Grabber's search over folders, files, standard input or a page
// fetched from a URL, with the page's view, sort and save.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Fetching.h"
#include "cli/Input.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "platform/Errors.h"
#include "platform/IntParse.h"
#include "platform/Letters.h"
#include "platform/TextList.h"
#include "platform/Utf8.h"
#include "tools/converter/HtmlPage.h"
#include "tools/links/FolderSearch.h"
#include "tools/links/LinkExtract.h"
#include "tools/links/LinkView.h"

namespace pagelathe::cli {
namespace {

// The caption of the saved HTML page of links (the language files' "StringLinks" in English).
constexpr const char* kLinksTitle = "Links";
// The file list's mask of the page ("All files (*.*)"), the first of its chooser.
constexpr const char* kAllFiles = "*.*";

int IndexOf(const std::string& option, const std::string& value,
            std::initializer_list<const char*> names) {
  int index = 0;
  for (const char* name : names) {
    if (value == name) return index;
    ++index;
  }
  std::string message = "option --" + option + ": '" + value + "' is not one of";
  for (const char* name : names)
    message.append(" ").append(name);
  throw UsageError(message);
}

std::string CheckedProtocol(const std::string& value) {
  for (const char* protocol : kSearchProtocols)
    if (value == protocol) return value;
  std::string message = "option --protocol: '" + value + "' is not one of";
  for (const char* protocol : kSearchProtocols)
    message.append(" ").append(protocol);
  throw UsageError(message);
}

bool EndsWithHtml(const std::string& path) {
  const std::string lower = AsciiLowerCase(path);
  return lower.ends_with(".htm") || lower.ends_with(".html");
}

// Searches a folder tree into `found`; the messages of the documents that could not be read
// or held go to `skipped`, and the search goes on without them.
void SearchFolder(const std::string& root, bool sub_dirs, const LinkExtractor& extractor,
                  LinkStore& found, std::vector<std::string>& skipped) {
  Progress progress;
  long long documents = 0;
  std::string folder_shown = root;
  FolderSearchCallbacks callbacks;
  callbacks.folder_started = [&](const std::string& folder) { folder_shown = folder; };
  callbacks.document_searched = [&](int, const std::string& name, const LinkStore& links,
                                    DocumentBuffer&) {
    found.AppendAll(links);
    ++documents;
    if (progress.Shown())
      progress.Show("Searching: " + IntToStr(documents) + " documents, " +
                    IntToStr(static_cast<long long>(found.size())) +
                    " links: " + JoinPath(folder_shown, name));
  };
  callbacks.document_skipped = [&](const std::string&, const std::string& message) {
    skipped.push_back(message);
  };
  FolderSearchResult result;
  RunFolderSearch(root, sub_dirs, kAllFiles, extractor, callbacks, result, &InterruptFlag());
  ThrowIfInterrupted();
}

}  // namespace

int RunLinks(const ParsedArguments& arguments) {
  const std::string protocol = CheckedProtocol(arguments.ValueOr("protocol", "http://"));
  const LinkShape link_type =
      LinkShapeAt(IndexOf("type", arguments.ValueOr("type", "domain"), {"full", "domain", "name"}));
  LinkViewOptions view;
  view.view = IndexOf("view", arguments.ValueOr("view", "link"), {"link", "html", "bb"});
  view.sort = !arguments.Has("no-sort");
  view.no_http = arguments.Has("no-http");
  view.link_type = link_type;
  view.protocol = protocol;
  const bool sub_dirs = !arguments.Has("no-subdirs");
  const std::optional<std::string> url = arguments.Value("url");
  const std::vector<std::string>& paths = arguments.Operands();
  if (url && !paths.empty()) throw UsageError("give either --url or PATH, not both");
  if (!url && paths.empty()) throw UsageError("no PATH given");

  TextList exclusions;
  if (const std::optional<std::string> file = arguments.Value("exclusions"))
    exclusions = SplitLines(ReadDocument(*file, kProfileLimit));
  const LinkExtractor extractor(protocol, link_type, exclusions);

  // The output is opened first, so that a file that cannot be written costs no search.
  const std::optional<std::string> output_path = arguments.Value("output");
  Output output = output_path ? Output(*output_path) : Output();

  LinkStore found;
  std::vector<std::string> skipped;
  if (url) {
    // A fetched page is one entry of the document, its line breaks inside.
    extractor.ExtractLines({FetchBody(*url, TlsOptionsOf(arguments))}, found);
  } else {
    std::vector<bool> folders;
    for (const std::string& path : paths)
      folders.push_back(IsFolderOperand(path));  // a missing path fails before anything is read
    for (size_t i = 0; i < paths.size(); ++i) {
      if (folders[i]) {
        SearchFolder(paths[i], sub_dirs, extractor, found, skipped);
      } else {
        extractor.ExtractFileText(ReadDocument(paths[i]), found);
      }
    }
  }

  const TextList lines = arguments.Has("raw") ? found.ToTextList() : BuildLinkView(found, view);
  if (output_path) {
    // As the Save button writes it: CR LF after every line (the links' own bytes), or the
    // HTML page of the links in the charset it declares.
    output.Write(EndsWithHtml(*output_path) ? HtmlPageBytes(LinkListHtmlPage(lines, kLinksTitle))
                                            : JoinLines(lines));
  } else {
    // Shown as the window shows them: decoded line by line (a Windows-1251 document's links
    // in UTF-8); --raw keeps the documents' bytes.
    const bool raw = arguments.Has("raw");
    for (const std::string& line : lines) {
      output.Write(raw || IsValidUtf8(line) ? line : DecodeText(line));
      output.Write("\n");
    }
  }
  output.Commit();
  // The links of the other documents stand; the exit status tells a script that some are
  // missing, as a batch conversion with skipped files does.
  for (const std::string& message : skipped)
    WriteError("pagelathe links: " + message + "\n");
  return skipped.empty() ? 0 : 1;
}

}  // namespace pagelathe::cli
