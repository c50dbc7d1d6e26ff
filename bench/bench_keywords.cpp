// The keyword count over large texts. As a benchmark program it times FindKeywords on a
// generated text; with "--generate FILE MEGABYTES" it writes such a text, and with
// "--count FILE" it counts a file's words as a whole process (bench/compare_keywords.sh times
// that against tr | sort -f | uniq -ic).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "platform/FileIO.h"
#include "platform/TextList.h"
#include "tools/keywords/KeywordSearch.h"

namespace {

using pagelathe::TextList;

// Text with a vocabulary of `vocabulary` words drawn with a Zipf-like skew, as natural text
// has: a few words very often, most rarely. Some words capitalised, some followed by marks.
std::string MakeText(size_t bytes, size_t vocabulary = 1000000) {
  std::mt19937_64 random(42);
  std::vector<std::string> words(vocabulary);
  const char* letters = "etaoinshrdlcumwfgypbvkjxqz";
  for (auto& word : words) {
    const size_t length = 2 + random() % 9;
    for (size_t i = 0; i < length; ++i)
      word += letters[(random() % 26) * (random() % 26) / 26];
  }
  std::string text;
  text.reserve(bytes + 100);
  size_t line = 0;
  while (text.size() < bytes) {
    // Rank k drawn with a chance of about 1/k, as word ranks in natural text go.
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(random);
    const auto rank = std::min(vocabulary - 1,
                               static_cast<size_t>(std::exp(u * std::log(double(vocabulary)))) - 1);
    std::string word = words[rank];
    if (random() % 10 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    text += word;
    line += word.size() + 1;
    const auto mark = random() % 20;
    if (mark == 0) text += ',';
    if (mark == 1) text += '.';
    if (line > 70) {
      text += "\r\n";
      line = 0;
    } else {
      text += ' ';
    }
  }
  return text;
}

const TextList& Lines(size_t megabytes) {
  static std::map<size_t, TextList> cache;
  auto it = cache.find(megabytes);
  if (it == cache.end())
    it = cache.emplace(megabytes, pagelathe::SplitLines(MakeText(megabytes << 20))).first;
  return it->second;
}

void BM_FindKeywords(benchmark::State& state) {
  const TextList& lines = Lines(static_cast<size_t>(state.range(0)));
  const bool case_sensitive = state.range(1) != 0;
  size_t rows = 0;
  for (auto _ : state) {
    auto result = pagelathe::FindKeywords(lines, 4, 4, case_sensitive);
    rows = result.size();
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (state.range(0) << 20));
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FindKeywords)
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({100, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_SortByCount(benchmark::State& state) {
  auto rows = pagelathe::FindKeywords(Lines(10), 1, 1, false);
  for (auto _ : state) {
    pagelathe::KeywordSortState sort_state;
    pagelathe::SortKeywordList(rows, 1, sort_state);
    pagelathe::SortKeywordList(rows, 0, sort_state);
  }
  state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_SortByCount)->Unit(benchmark::kMillisecond);

int Generate(const char* path, const char* megabytes) {
  pagelathe::WriteFileAtomic(path, MakeText(std::stoul(megabytes) << 20));
  return 0;
}

// The whole job of the count as one process: read the file, count, print "count word".
int Count(const char* path) {
  const auto start = std::chrono::steady_clock::now();
  const TextList lines = pagelathe::LoadTextList(path);
  const auto rows = pagelathe::FindKeywords(lines, 1, 1, false);
  std::string out;
  for (const auto& row : rows) {
    out += row.Count;
    out += ' ';
    out += row.Word;
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "%zu rows in %.2f s\n", rows.size(), took.count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--generate") == 0) return Generate(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "--count") == 0) return Count(argv[2]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
