// The link list with 200,000 lines: filling the model-based view in one batch, drawing it, and
// jumping to its end, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include "ui/TextListModel.h"

namespace pagelathe {
namespace {

TextList Lines(int count) {
  TextList lines;
  lines.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    lines.push_back("http://www.host" + std::to_string(i) + ".example.com/page.html");
  return lines;
}

void BM_FillAndShowLinkList(benchmark::State& state) {
  const TextList lines = Lines(static_cast<int>(state.range(0)));
  TextListModel model(TextListModel::Display::DocumentBytes);
  QListView view;
  view.setModel(&model);
  view.setUniformItemSizes(true);
  view.setSelectionMode(QAbstractItemView::ExtendedSelection);
  view.resize(260, 230);
  view.show();
  for (auto _ : state) {
    model.SetLines(lines);
    QApplication::processEvents();  // lays out and paints the visible rows
    view.scrollToBottom();
    view.selectAll();
    QApplication::processEvents();
    state.PauseTiming();
    model.Clear();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FillAndShowLinkList)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pagelathe

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
