// How long the window stops answering while a handler works on a large input, measured the
// way a user feels it: a timer ticks every 10 ms on the window's thread, and the longest gap
// between two ticks, from the click to the end of the job, is the figure ("max_gap_ms"; the
// goal is below 100); "max_gap_cpu_ms" is the most CPU time the window's thread spent between
// two ticks, which tells a step of its own from a wait for a core on a busy machine. "total_ms"
// is how long the job takes. Inputs: a text of 100 MB (English, German, Russian and Japanese
// lines by turns) for the Keywords tab and the page creator, a keyword list of a million lines,
// 200,000 selected keywords or links to remove, a million found links to rebuild the link view
// from, a document of 100 MB for the Links Grabber (the clipboard, a clicked file or a fetched
// page), and a link check of 100,000 links whose answers (refused connections on the loopback)
// pour in as fast as the check can take them. Runs on the offscreen platform in a temporary
// program folder; run with
//   build/bench/bench/bench_responsive_gui --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "app/TForm1.h"
#include "tools/check/LinkCheckModel.h"
#include "tools/check/LinkCheckWindow.h"
#include "tools/keywords/KeywordListModel.h"
#include "tools/keywords/KeywordSearchTab.h"
#include "tools/keywords/KeywordsPage.h"
#include "tools/keywords/PageCreatorTab.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/PageContext.h"
#include "ui/TextListModel.h"

namespace {

using namespace pagelathe;

// A control of a page, found by its objectName as the language loader finds it.
template <typename T>
T* Child(QObject* root, const char* name) {
  return root->findChild<T*>(QString::fromLatin1(name));
}

struct Window {
  std::string folder;
  std::unique_ptr<TForm1> form;
  KeywordSearchTab* search = nullptr;
  PageCreatorTab* creator = nullptr;
  std::string text_file;
  std::string list_file;

  Window() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagelathe-bench-XXXXXX");
    folder = std::string(::mkdtemp(pattern.data())) + "/";
    std::ofstream(folder + "brevanoth-pagelathe.ini") << "[Options]\r\nfirstStart=0\r\n";
    form = std::make_unique<TForm1>(folder);
    form->Context().Texts().StringStop = "Stop";
    form->show();
    form->PageControl1()->setCurrentWidget(form->Page<KeywordsPage>());
    search = Child<KeywordSearchTab>(form->Page<KeywordsPage>(), "TabSheetKeywordsSearch");
    creator = Child<PageCreatorTab>(form->Page<KeywordsPage>(), "TabSheetKeywordsCreate");
    Child<QLineEdit>(search, "EditKWLength")->setText("4");
    Child<QLineEdit>(search, "EditKWFreq")->setText("4");

    // 100 MB of prose-like lines with some markup, in English, German, Russian and Japanese
    // by turns, so that the letters of every script are counted, folded and sorted.
    text_file = folder + "text.htm";
    {
      std::ofstream out(text_file, std::ios::binary);
      for (int i = 0; out.tellp() < 100000000; ++i) {
        switch (i % 4) {
          case 0:
            out << "<p>The quick brown fox " << i % 5000 << " jumps over the lazy dog, word"
                << i % 977 << " and more.</p>\r\n";
            break;
          case 1:
            out << "<p>Die Größe der Straße " << i % 5000 << " ÜBER Übersicht, Wort" << i % 977
                << " und mehr.</p>\r\n";
            break;
          case 2:
            out << "<p>Быстрая рыжая лиса " << i % 5000 << " прыгает, слово" << i % 977
                << " и ещё.</p>\r\n";
            break;
          default:
            out << "<p>日本語の文章 " << i % 5000 << " 素早い茶色の狐 単語" << i % 977
                << "。</p>\r\n";
        }
      }
    }
    list_file = folder + "keywords.txt";
    {
      std::ofstream out(list_file, std::ios::binary);
      for (int i = 0; i < 1000000; ++i)
        out << "keyword" << i << "\r\n";
    }
    TFileDialog::SetChooser([this](TFileDialog& dialog) {
      dialog.FileName = QString::fromStdString(next_file);
      return true;
    });
    QApplication::processEvents();
  }
  ~Window() {
    TFileDialog::SetChooser(nullptr);
    form.reset();
    std::filesystem::remove_all(folder);
  }
  std::string next_file;
};

// Made on first use; main destroys it while the application object still exists.
std::unique_ptr<Window>& WindowSlot() {
  static std::unique_ptr<Window> window;
  return window;
}

Window& TheWindow() {
  if (!WindowSlot()) WindowSlot() = std::make_unique<Window>();
  return *WindowSlot();
}

// CPU time of the calling thread: what the window's thread itself spent, so that a long gap
// on a busy machine (the thread waiting for a core) can be told from a long step of its own.
double ThreadCpuMs() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs `start` from the event loop, then the loop until `done`, with the ticking timer.
void MeasureGaps(benchmark::State& state, const std::function<void()>& start,
                 const std::function<bool()>& done) {
  double worst_gap = 0;
  double worst_cpu_gap = 0;
  double total = 0;
  for (auto _ : state) {
    QElapsedTimer since_tick;
    QElapsedTimer clock;
    qint64 gap = 0;
    double cpu_at_tick = ThreadCpuMs();
    double cpu_gap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      gap = std::max(gap, since_tick.elapsed());
      since_tick.restart();
      const double now = ThreadCpuMs();
      cpu_gap = std::max(cpu_gap, now - cpu_at_tick);
      cpu_at_tick = now;
    });
    bool started = false;
    QTimer::singleShot(0, [&] {
      since_tick.start();
      cpu_at_tick = ThreadCpuMs();
      clock.start();
      ticker.start();
      start();
      started = true;
    });
    while (!started || !done())
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    gap = std::max(gap, since_tick.elapsed());
    cpu_gap = std::max(cpu_gap, ThreadCpuMs() - cpu_at_tick);
    ticker.stop();
    total = static_cast<double>(clock.elapsed());
    worst_gap = std::max(worst_gap, static_cast<double>(gap));
    worst_cpu_gap = std::max(worst_cpu_gap, cpu_gap);
  }
  state.counters["max_gap_ms"] = worst_gap;
  state.counters["max_gap_cpu_ms"] = worst_cpu_gap;
  state.counters["total_ms"] = total;
}

bool Idle() {
  return !TheWindow().search->Busy() && !TheWindow().creator->Busy();
}

void BM_KeywordsOpen100MB(benchmark::State& state) {
  Window& w = TheWindow();
  w.next_file = w.text_file;
  MeasureGaps(
      state, [&] { Child<QPushButton>(w.search, "ButtonOpenFile")->click(); }, Idle);
  state.counters["lines"] = Child<QPlainTextEdit>(w.search, "MemoKW")->document()->blockCount();
}
BENCHMARK(BM_KeywordsOpen100MB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_KeywordsSearchAfterOpen(benchmark::State& state) {
  Window& w = TheWindow();
  MeasureGaps(
      state, [&] { Child<QPushButton>(w.search, "ButtonKWSearch")->click(); }, Idle);
  state.counters["rows"] = Child<KeywordListModel>(w.search, "ListViewKWRows")->rowCount();
}
BENCHMARK(BM_KeywordsSearchAfterOpen)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_KeywordsSearchOfAnEditedText(benchmark::State& state) {
  Window& w = TheWindow();
  Child<QPlainTextEdit>(w.search, "MemoKW")
      ->appendPlainText("edited");  // the memo must be read back
  MeasureGaps(
      state, [&] { Child<QPushButton>(w.search, "ButtonKWSearch")->click(); }, Idle);
  state.counters["rows"] = Child<KeywordListModel>(w.search, "ListViewKWRows")->rowCount();
}
BENCHMARK(BM_KeywordsSearchOfAnEditedText)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CreatePageCopiesTheText(benchmark::State& state) {
  Window& w = TheWindow();
  auto* tabs = Child<QTabWidget>(w.form->Page<KeywordsPage>(), "PageControlKeywords");
  // Entering the tab copies the text of the first tab ("insert from text").
  MeasureGaps(
      state, [&] { tabs->setCurrentIndex(1); }, Idle);
  state.counters["text_lines"] =
      Child<QPlainTextEdit>(w.creator, "MemoPageText")->document()->blockCount();
}
BENCHMARK(BM_CreatePageCopiesTheText)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CreatePageOf100MB(benchmark::State& state) {
  Window& w = TheWindow();
  MeasureGaps(
      state, [&] { Child<QPushButton>(w.creator, "ButtonPageCreate")->click(); }, Idle);
  state.counters["code_lines"] =
      Child<QPlainTextEdit>(w.creator, "MemoPageCode")->document()->blockCount();
  Child<QTabWidget>(w.form->Page<KeywordsPage>(), "PageControlKeywords")->setCurrentIndex(0);
}
BENCHMARK(BM_CreatePageOf100MB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_InsertAMillionKeywords(benchmark::State& state) {
  Window& w = TheWindow();
  w.next_file = w.list_file;
  MeasureGaps(
      state, [&] { Child<QPushButton>(w.search, "ButtonKWInsert")->click(); }, Idle);
  state.counters["items"] = Child<TextListModel>(w.search, "ListBoxKWItems")->rowCount();
}
BENCHMARK(BM_InsertAMillionKeywords)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Remove200kKeywords(benchmark::State& state) {
  Window& w = TheWindow();
  QItemSelection selection(Child<TextListModel>(w.search, "ListBoxKWItems")->index(0),
                           Child<TextListModel>(w.search, "ListBoxKWItems")->index(199999));
  Child<QListView>(w.search, "ListBoxKW")
      ->selectionModel()
      ->select(selection, QItemSelectionModel::Select);
  MeasureGaps(
      state, [&] { Child<QPushButton>(w.search, "ButtonKWRemove")->click(); }, [] { return true; });
  state.counters["items"] = Child<TextListModel>(w.search, "ListBoxKWItems")->rowCount();
}
BENCHMARK(BM_Remove200kKeywords)->Unit(benchmark::kMillisecond)->Iterations(1);

// The link list: a million found links of 300,000 hosts, shown sorted.
void FillFoundLinks(Window& w) {
  w.form->Context().FoundLinks().clear();
  for (int i = 0; i < 1000000; ++i)
    w.form->Context().FoundLinks().push_back("http://www.host" + std::to_string(i % 300000) +
                                             ".example.com/page" + std::to_string(i % 7) + ".html");
}

void BM_LinkViewSortedRebuildOfAMillion(benchmark::State& state) {
  Window& w = TheWindow();
  w.form->PageControl1()->setCurrentWidget(w.form->Page<LinksGrabberPage>());
  FillFoundLinks(w);
  LinksGrabberPage* links = w.form->Page<LinksGrabberPage>();
  Child<TRadioGroup>(links, "RadioGroupLinks")->SetItemIndex(0);
  Child<QCheckBox>(links, "CheckBoxSort")->setChecked(false);
  // The click turns sorting on and rebuilds the view, sorted.
  MeasureGaps(
      state, [&] { Child<QCheckBox>(links, "CheckBoxSort")->click(); },
      [links] { return !links->ViewBusy(); });
  state.counters["shown"] = static_cast<double>(links->ShownLines().size());
}
BENCHMARK(BM_LinkViewSortedRebuildOfAMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LinkRemove200k(benchmark::State& state) {
  Window& w = TheWindow();
  LinksGrabberPage* links = w.form->Page<LinksGrabberPage>();
  QAbstractItemModel* model = Child<QListView>(links, "ListBoxLinks")->model();
  QItemSelection selection(model->index(0, 0), model->index(199999, 0));
  Child<QListView>(links, "ListBoxLinks")
      ->selectionModel()
      ->select(selection, QItemSelectionModel::Select);
  MeasureGaps(
      state, [&] { Child<QPushButton>(links, "ButtonRemove")->click(); }, [] { return true; });
  state.counters["shown"] = static_cast<double>(links->ShownLines().size());
}
BENCHMARK(BM_LinkRemove200k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LinksSearchOfA100MBDocument(benchmark::State& state) {
  Window& w = TheWindow();
  LinksGrabberPage* links = w.form->Page<LinksGrabberPage>();
  TextList document;
  {
    std::ifstream in(w.text_file, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
      document.push_back(line + " http://www.host" + std::to_string(document.size() % 40000) +
                         ".example.com/");
  }
  Child<TRadioGroup>(links, "RadioGroupLinks")->SetItemIndex(1);
  MeasureGaps(
      state, [&] { links->SearchDocument(std::move(document)); },
      [links] { return !links->ViewBusy(); });
  state.counters["shown"] = static_cast<double>(links->ShownLines().size());
}
BENCHMARK(BM_LinksSearchOfA100MBDocument)->Unit(benchmark::kMillisecond)->Iterations(1);

// 100,000 links of 1,000 ports of the loopback where nothing listens: every request is
// refused at once, so results arrive thousands a second, the worst case for the window.
void BM_LinkCheckOf100kLinks(benchmark::State& state) {
  Window& w = TheWindow();
  LinksGrabberPage* links = w.form->Page<LinksGrabberPage>();
  TextList document;
  for (int i = 0; i < 100000; ++i)
    document.push_back("<a href=\"http://127.0.0.1:" + std::to_string(1 + i % 1000) + "/page" +
                       std::to_string(i / 1000) + ".html\">");
  Child<TRadioGroup>(links, "RadioGroupLinks")->SetItemIndex(0);
  links->SearchDocument(std::move(document));
  while (links->ViewBusy())
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  auto* check = Child<LinkCheckWindow>(links, "FormLinkCheck");
  MeasureGaps(
      state, [&] { Child<QPushButton>(links, "ButtonCheckLinks")->click(); },
      [check] { return !check->Checking(); });
  auto* model = Child<LinkCheckModel>(check, "TableCheckLinksRows");
  state.counters["rows"] = model->rowCount();
  state.counters["checked"] = static_cast<double>(model->CheckedCount());
}
BENCHMARK(BM_LinkCheckOf100kLinks)->Unit(benchmark::kMillisecond)->Iterations(1);

// The filter over the 100,000 rows of the check above, and back.
void BM_LinkCheckFilterOf100kRows(benchmark::State& state) {
  auto* check = Child<LinkCheckWindow>(TheWindow().form->Page<LinksGrabberPage>(), "FormLinkCheck");
  auto* filter = Child<QComboBox>(check, "ComboBoxCheckFilter");
  MeasureGaps(
      state,
      [filter] {
        filter->setCurrentIndex(LinkCheckModel::kFailed);
        filter->setCurrentIndex(LinkCheckModel::kAll);
      },
      [] { return true; });
}
BENCHMARK(BM_LinkCheckFilterOf100kRows)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  Application app(argc, argv);  // the program's own, with its memory settings
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  WindowSlot().reset();
  return 0;
}
