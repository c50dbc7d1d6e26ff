// The text library's hot paths on a 100 MB HTML text: tag removal and copying, blank
// collapsing and the two entity conversions, which must run at 200 MB/s or more. The link
// scanners run on a smaller page for comparison, and so do the line rule's two forms (the
// whole text split at once, and the same text fed in pieces as a stream arrives).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/LineStream.h"
#include "platform/TextList.h"
#include "textlib/Dizerezez.h"

namespace {

using namespace pagelathe;

// A table row of a typical page: tags with attributes, entities, runs of blanks, Cyrillic
// text (Windows-1251), an e-mail address and line breaks.
const std::string kRow =
    "<tr><td class=\"item\"><a href=\"http://example.com/catalog/page.html#top\" "
    "target=\"_blank\">Catalog &amp; prices</a></td>\r\n"
    "  <td>  Some   text with&nbsp;entities &lt;b&gt; and &quot;quotes&quot;,  "
    "\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0   write to info@example.com. </td>\r\n"
    "  <td><img src=\"/img/logo.gif\" alt=\"logo\" width=\"88\" height=\"31\"></td></tr>\r\n";

std::string MakePage(std::size_t bytes) {
  std::string page = "<html><head><title>Bench</title></head><body><table>\r\n";
  page.reserve(bytes + kRow.size());
  while (page.size() < bytes)
    page += kRow;
  page += "</table></body></html>\r\n";
  return page;
}

const std::string& BigPage() {
  static const std::string page = MakePage(100u << 20);
  return page;
}

const std::string& SmallPage() {
  static const std::string page = MakePage(4u << 20);
  return page;
}

template <std::string (*Function)(const std::string&)>
void RunOnText(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    std::string result = Function(text);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

template <TextList (*Function)(const std::string&)>
void RunScan(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    TextList result = Function(text);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

void BM_DeleteTag(benchmark::State& s) {
  RunOnText<DeleteTag>(s, BigPage());
}
void BM_DelDoubBlank(benchmark::State& s) {
  RunOnText<DelDoubBlank>(s, BigPage());
}
void BM_CopyTag(benchmark::State& s) {
  RunOnText<CopyTag>(s, BigPage());
}
void BM_ChangeHSym(benchmark::State& s) {
  RunOnText<ChangeHSym>(s, BigPage());
}
void BM_ChangeTSym(benchmark::State& s) {
  RunOnText<ChangeTSym>(s, BigPage());
}
void BM_DeleteTagThenDelDoubBlank(benchmark::State& state) {
  for (auto _ : state) {
    std::string result = DelDoubBlank(DeleteTag(BigPage()));
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(BigPage().size()));
}
void BM_GetHtmllink(benchmark::State& s) {
  RunScan<GetHtmllink>(s, SmallPage());
}
void BM_GetHtmlMail(benchmark::State& s) {
  RunScan<GetHtmlMail>(s, SmallPage());
}
void BM_StrToMail(benchmark::State& s) {
  RunScan<StrToMail>(s, SmallPage());
}
void BM_SplitLines(benchmark::State& state) {
  for (auto _ : state) {
    TextList lines = SplitLines(BigPage());
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(BigPage().size()));
}
void BM_LineStream(benchmark::State& state) {
  const std::string_view text = BigPage();
  constexpr size_t kPiece = 64 * 1024;  // as a file or a socket gives it
  for (auto _ : state) {
    LineStream stream;
    size_t total = 0;
    const auto count = [&total](std::string_view line) { total += line.size() + 1; };
    for (size_t at = 0; at < text.size(); at += kPiece)
      stream.Feed(text.substr(at, std::min(kPiece, text.size() - at)), count);
    stream.Finish(count);
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_DeleteTag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DelDoubBlank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyTag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeHSym)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeTSym)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteTagThenDelDoubBlank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetHtmllink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetHtmlMail)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrToMail)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineStream)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
