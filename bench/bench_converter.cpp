// The converter's hot paths: HtmlToText on a 100 MB page, the line cut, the joining of a
// file's lines, and a whole batch over a folder of pages. The folder is PAGELATHE_BENCH_PAGES
// when set (bench/bench_converter_compare.sh sets it), else a few thousand generated pages.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileIO.h"
#include "platform/FolderList.h"
#include "textlib/Dizerezez.h"
#include "tools/converter/ConvertBatch.h"
#include "tools/converter/HtmlText.h"

namespace pagelathe {
namespace {

// One screen of a typical page: headings, paragraphs, lists, links, entities, rules,
// attributes, Cyrillic words and runs of blanks.
const std::string kChunk =
    "<div class=\"post\" id=\"p17\"><h2>\xCD\xEE\xE2\xEE\xF1\xF2\xE8 of the week</h2>"
    "<p>Brevanoth&nbsp;Pagelathe  converts   pages <b>in one batch</b>, "
    "see <a href=\"http://www.example.com/docs/index.html\" title=\"docs\">the docs</a>.<br>"
    "Second line of the paragraph with a few more words to make it longer.<BR>\r\n"
    "<ul><li>first item<li>second item &amp; more<li>third</ul><hr>"
    "<table><tr><td>cell</td><td>&nbsp;</td></tr></table>"
    "<P>\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0! Plain text after the tags, "
    "and some more text to read.</p>\r\n<!-- comment --><script>var a = 1;</script></div>\r\n";

std::string MakeText(size_t bytes) {
  std::string text;
  text.reserve(bytes + kChunk.size());
  while (text.size() < bytes)
    text += kChunk;
  return text;
}

const std::string& HundredMegabytes() {
  static const std::string text = JoinedText(MakeText(100u << 20));
  return text;
}

void BM_HtmlToText(benchmark::State& state) {
  const std::string& text = HundredMegabytes();
  for (auto _ : state)
    benchmark::DoNotOptimize(HtmlToText(text, kSeparatorText));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_HtmlToText)->Unit(benchmark::kMillisecond)->MinTime(3);

// The two library passes that HtmlToText ends with, to see where its time goes.
void BM_DeleteTagThenDelDoubBlank(benchmark::State& state) {
  const std::string& text = HundredMegabytes();
  for (auto _ : state)
    benchmark::DoNotOptimize(DelDoubBlank(DeleteTag(text)));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DeleteTagThenDelDoubBlank)->Unit(benchmark::kMillisecond);

void BM_JoinedText(benchmark::State& state) {
  static const std::string bytes = MakeText(100u << 20);
  for (auto _ : state)
    benchmark::DoNotOptimize(JoinedText(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_JoinedText)->Unit(benchmark::kMillisecond);

void BM_CutToWidth(benchmark::State& state) {
  const std::string& text = HundredMegabytes();
  for (auto _ : state)
    benchmark::DoNotOptimize(CutToWidth(text, 75));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CutToWidth)->Unit(benchmark::kMillisecond);

// The folder of pages, and its total size.
struct Pages {
  std::string folder;
  std::vector<std::string> names;
  int64_t bytes = 0;
};

const Pages& BenchPages() {
  static const Pages pages = [] {
    Pages p;
    if (const char* folder = std::getenv("PAGELATHE_BENCH_PAGES")) {
      p.folder = WithFinalSlash(folder);
    } else {
      std::string pattern = (std::filesystem::temp_directory_path() / "bench-pages-XXXXXX");
      p.folder = WithFinalSlash(::mkdtemp(pattern.data()));
      const std::string page = MakeText(12000);
      for (int i = 0; i < 3000; ++i) {
        WriteFileAtomic(p.folder + "page" + std::to_string(i) + ".html", page);
      }
    }
    p.names = ListFiles(p.folder, "*.htm;*.shtm");
    for (const auto& name : p.names)
      p.bytes += std::filesystem::file_size(p.folder + name);
    return p;
  }();
  return pages;
}

void BM_ConvertFolder(benchmark::State& state) {
  const Pages& pages = BenchPages();
  std::string pattern = (std::filesystem::temp_directory_path() / "bench-result-XXXXXX");
  ConvertOptions options;
  options.SourceFolder = pages.folder;
  options.ResultFolder = WithFinalSlash(::mkdtemp(pattern.data()));
  options.LimitLines = state.range(0) != 0;
  for (auto _ : state) {
    TextList folders = {options.SourceFolder};
    FolderCounters counters;
    const ConvertResult result = ConvertFiles(options, pages.names, folders, counters, nullptr, {});
    if (result.Converted != static_cast<int>(pages.names.size())) state.SkipWithError("skipped");
  }
  std::filesystem::remove_all(options.ResultFolder);
  state.SetBytesProcessed(state.iterations() * pages.bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pages.names.size()));
  state.counters["files"] = static_cast<double>(pages.names.size());
}
BENCHMARK(BM_ConvertFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pagelathe

// Large texts come from mmap and go back to the system at every free, so each call would pay
// for faulting in fresh pages: on a virtual machine that costs more than the work measured
// (about 3 ms per MB here against 0.1 ms per MB for the copy itself). Keeping freed memory in
// the heap measures the steady state of a program that converts text after text. Run with
// --cold to measure with the system's defaults.
int main(int argc, char** argv) {
  bool cold = false;
  for (int i = 1; i < argc; ++i)
    cold = cold || std::string_view(argv[i]) == "--cold";
  if (!cold) {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i)
    if (std::string_view(argv[i]) != "--cold") args.push_back(argv[i]);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
