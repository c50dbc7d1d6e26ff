// pagelathe check: the links of folders, files, standard input or a fetched page, each
// checked once (tools/check), reported as text, CSV, JSON, JUnit or Markdown, with the
// permanent redirects mended in the documents on request.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <regex>
#include <stdexcept>

#include "cli/Commands.h"
#include "cli/Fetching.h"
#include "cli/Input.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "platform/Errors.h"
#include "platform/FileRead.h"
#include "platform/IntParse.h"
#include "platform/Paths.h"
#include "tools/check/CheckCache.h"
#include "tools/check/CheckReport.h"
#include "tools/check/FixRedirects.h"
#include "tools/check/LinkCheck.h"
#include "tools/check/LinkSources.h"
#include "tools/links/LinkExtract.h"

namespace pagelathe::cli {
namespace {

double SecondsOption(const ParsedArguments& arguments, const char* name, double fallback) {
  const std::optional<std::string> text = arguments.Value(name);
  if (!text) return fallback;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text->c_str(), &end);
  if (text->empty() || *end != '\0' || errno != 0 || !(value > 0) || value > 86400)
    throw UsageError(std::string("option --") + name + ": '" + *text +
                     "' is not a number of seconds");
  return value;
}

int CountOption(const ParsedArguments& arguments, const char* name, int fallback, int least) {
  const std::optional<int> value = arguments.IntValue(name);
  if (!value) return fallback;
  if (*value < least || *value > 100000)
    throw UsageError(std::string("option --") + name + ": " + std::to_string(*value) +
                     " is out of range");
  return *value;
}

template <typename Parse>
auto Parsed(const char* option, const std::string& text, Parse parse) {
  try {
    return parse(text);
  } catch (const std::invalid_argument& error) {
    throw UsageError(std::string("option --") + option + ": " + error.what());
  }
}

CheckOptions CheckOptionsOf(const ParsedArguments& arguments) {
  CheckOptions options;
  options.timeout_s = SecondsOption(arguments, "timeout", options.timeout_s);
  options.connect_timeout_s =
      SecondsOption(arguments, "connect-timeout", options.connect_timeout_s);
  options.max_connections = CountOption(arguments, "max-connections", options.max_connections, 1);
  options.per_host = CountOption(arguments, "per-host", options.per_host, 1);
  options.retries = CountOption(arguments, "retries", options.retries, 0);
  options.user_agent = arguments.ValueOr("user-agent", options.user_agent);
  if (const std::optional<std::string> accept = arguments.Value("accept"))
    options.accept = Parsed("accept", *accept, AcceptCodes::Parse);
  for (const std::string& pattern : arguments.Values("exclude")) {
    try {
      options.exclude.emplace_back(pattern, std::regex::ECMAScript | std::regex::optimize);
    } catch (const std::regex_error& error) {
      throw UsageError("option --exclude: '" + pattern +
                       "' is not a regular expression: " + error.what());
    }
  }
  options.tls = TlsOptionsOf(arguments);
  options.fragments = arguments.Has("fragments");
  options.robots = arguments.Has("robots");
  return options;
}

}  // namespace

int RunCheck(const ParsedArguments& arguments) {
  SourceOptions sources;
  if (const std::optional<std::string> protocol = arguments.Value("protocol")) {
    bool known = false;
    for (const char* p : kSearchProtocols)
      known = known || *protocol == p;
    if (!known)
      throw UsageError("option --protocol: '" + *protocol + "' is not a protocol of links");
    sources.protocols = {*protocol};
  }
  sources.sub_dirs = !arguments.Has("no-subdirs");
  const CheckOptions options = CheckOptionsOf(arguments);
  const ReportFormat format =
      Parsed("format", arguments.ValueOr("format", "text"), ReportFormatFromName);
  const StateSet fail_on =
      Parsed("fail-on", arguments.ValueOr("fail-on", "broken,timeout"), StateSet::Parse);
  const long long max_age = Parsed("max-age", arguments.ValueOr("max-age", "1d"), ParseDuration);
  const bool dry_run = arguments.Has("dry-run");
  const bool fix = arguments.Has("fix-redirects");
  if (dry_run && !fix) throw UsageError("--dry-run goes with --fix-redirects");
  const std::optional<std::string> url = arguments.Value("url");
  const std::vector<std::string>& paths = arguments.Operands();
  if (url && !paths.empty()) throw UsageError("give either --url or PATH, not both");
  if (!url && paths.empty()) throw UsageError("no PATH given");
  if (const std::optional<std::string> file = arguments.Value("exclusions"))
    sources.exclusion_lines = SplitLines(ReadDocument(*file, kProfileLimit));

  const std::optional<std::string> output_path = arguments.Value("output");
  Output output = output_path ? Output(*output_path) : Output();

  LinkSet links;
  LinkCollector collector(sources, links);
  std::vector<std::string> skipped;
  if (url) {
    TNMHTTP http;
    http.Tls = options.tls;
    CancelOnInterrupt(http);
    http.Get(*url);
    http.Disconnect();
    // Relative links of the page go where the redirects ended.
    collector.AddText(*url, http.Body, http.RequestUrl);
  } else {
    std::vector<bool> folders;
    for (const std::string& path : paths)
      folders.push_back(IsFolderOperand(path));
    for (size_t i = 0; i < paths.size(); ++i) {
      if (folders[i]) {
        collector.AddFolder(paths[i], skipped, &InterruptFlag());
      } else if (paths[i] == "-") {
        collector.AddText("-", ReadDocument("-"), "");
      } else {
        collector.AddFile(paths[i], ReadDocument(paths[i]));
      }
      ThrowIfInterrupted();
    }
  }

  std::optional<CheckCache> cache;
  if (arguments.Has("cache")) {
    std::string file = arguments.ValueOr("cache", "");
    if (file.empty()) file = FolderOf(ExecutablePath()) + "pagelathe-check.cache";
    cache.emplace(file, max_age, static_cast<long long>(std::time(nullptr)));
  }

  Progress progress;
  size_t done = 0, failed = 0;
  CheckCallbacks callbacks;
  callbacks.checked = [&](size_t index) {
    ++done;
    if (fail_on.Has(links[index].state)) ++failed;
    if (progress.Shown())
      progress.Show("Checking: " + std::to_string(done) + " of " + std::to_string(links.size()) +
                    " links, " + std::to_string(failed) + " failed");
  };
  for (const CheckedLink& link : links)
    if (link.checked) callbacks.checked(static_cast<size_t>(&link - &links[0]));
  CheckLinks(links, options, callbacks, &InterruptFlag(), cache ? &*cache : nullptr);
  ThrowIfInterrupted();
  if (cache) cache->Save();

  WriteReport(links, format, {}, [&output](std::string_view piece) { output.Write(piece); });
  std::vector<DocumentFix> fixes;
  if (fix) {
    fixes = PlanRedirectFixes(links);
    if (dry_run) output.Write(UnifiedDiff(fixes));
  }
  output.Commit();
  if (fix && !dry_run) {
    ApplyFixes(fixes);
    int replacements = 0;
    for (const DocumentFix& document : fixes)
      replacements += document.replacements;
    const auto count = [](size_t n, const char* word) {
      return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    WriteError(
        "pagelathe check: " + count(static_cast<size_t>(replacements), "permanent redirect") +
        " mended in " + count(fixes.size(), "document") + "\n");
  }
  for (const std::string& message : skipped)
    WriteError("pagelathe check: " + message + "\n");
  bool failing = !skipped.empty();
  for (const CheckedLink& link : links)
    failing = failing || fail_on.Has(link.state);
  return failing ? 1 : 0;
}

}  // namespace pagelathe::cli
