// Speed of the links search: extraction over HTML pages, the displayed list of a million
// found links, and (with --walk) a whole-process run over a folder tree for comparison with
// grep -o (see compare_links_grep.sh).
//   bench_links                          Google Benchmark cases
//   bench_links --walk FOLDER [PROTOCOL]   print the full links of every document below FOLDER
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "tools/links/FolderSearch.h"
#include "tools/links/LinkExtract.h"
#include "tools/links/LinkView.h"

namespace pagelathe {
namespace {

// A page of ordinary markup: paragraphs, anchors to a few hosts, images and relative links.
std::string MakePage(std::mt19937& random) {
  std::string page = "<html><head><title>Page</title></head>\r\n<body>\r\n";
  for (int i = 0; i < 200; ++i) {
    const unsigned r = random();
    page += "<p class=\"text\">Some words about the subject, and more words " +
            std::to_string(r % 1000) + " of it.</p>\r\n";
    if (r % 3 == 0)
      page += "<a href=\"http://host" + std::to_string(r % 97) + ".example.org/dir/page" +
              std::to_string(r % 5000) + ".html\">Link text</a>\r\n";
    if (r % 5 == 0) page += "<img src=\"images/pic" + std::to_string(r % 50) + ".gif\">\r\n";
    if (r % 7 == 0) page += "<a href=\"../other/page.html\">Back</a>\r\n";
  }
  return page + "</body></html>\r\n";
}

void BM_ExtractLinks(benchmark::State& state) {
  std::mt19937 random(1);
  std::string text;
  for (int i = 0; i < 20; ++i)
    text += MakePage(random);
  const LinkExtractor extractor("http://", LinkShapeAt(static_cast<int>(state.range(0))),
                                {"www.spam.org"});
  size_t links = 0;
  for (auto _ : state) {
    LinkStore found;
    extractor.ExtractFileText(text, found);
    links = found.size();
    benchmark::DoNotOptimize(found.back().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["links"] = static_cast<double>(links);
}
BENCHMARK(BM_ExtractLinks)->Arg(0)->Arg(1)->Arg(2);

// A search gathering the links of N documents, two each, as the search and the command line
// do: the time per document must not grow with N (reports the fitted complexity).
void BM_GatherLinks(benchmark::State& state) {
  const LinkStore document{"http://www.example.org/a.html", "http://www.example.org/b.html"};
  for (auto _ : state) {
    LinkStore found;
    for (int64_t i = 0; i < state.range(0); ++i)
      found.AppendAll(document);
    benchmark::DoNotOptimize(found.back().data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GatherLinks)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

// A million found links of which 200,000 are distinct, in the order a search finds them.
const LinkStore& MillionLinks() {
  static const LinkStore links = [] {
    std::mt19937 random(2);
    TextList distinct;
    for (int i = 0; i < 200000; ++i)
      distinct.push_back("http://www.host" + std::to_string(i % 7919) + ".example.com/section" +
                         std::to_string(i % 13) + "/page" + std::to_string(i) + ".html");
    TextList found = distinct;
    while (found.size() < 1000000)
      found.push_back(distinct[random() % distinct.size()]);
    std::shuffle(found.begin(), found.end(), random);
    return LinkStore(found);
  }();
  return links;
}

void BM_BuildLinkView(benchmark::State& state) {
  const LinkStore& found = MillionLinks();
  LinkViewOptions options;
  options.sort = true;
  options.view = static_cast<int>(state.range(0));
  options.link_type = LinkShape::FullLink;
  options.protocol = "http://";
  size_t shown = 0;
  for (auto _ : state) {
    const TextList lines = BuildLinkView(found, options);
    shown = lines.size();
  }
  state.counters["shown"] = static_cast<double>(shown);
}
BENCHMARK(BM_BuildLinkView)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

// Prints the full links of every document below `folder`, one per line, as grep -o does: through
// a small buffer that stays in the cache.
int Walk(const std::string& folder, const std::string& protocol) {
  const LinkExtractor extractor(protocol, LinkShape::FullLink, {});
  constexpr size_t kBuffer = 64 * 1024;
  std::string out;
  out.reserve(kBuffer);
  FolderSearchCallbacks callbacks;
  callbacks.document_searched = [&out](int, const std::string&, const LinkStore& links,
                                       DocumentBuffer&) {
    for (std::string_view link : links) {
      if (out.size() + link.size() + 1 > kBuffer) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        out.clear();
      }
      out.append(link).push_back('\n');
    }
  };
  FolderSearchResult result;
  RunFolderSearch(folder, true, "*.*", extractor, callbacks, result);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace
}  // namespace pagelathe

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--walk") == 0)
    return pagelathe::Walk(argv[2], argc >= 4 ? argv[3] : "http://");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
