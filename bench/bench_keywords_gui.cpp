// The Keywords page with a hundred thousand result rows: the search that fills ListViewKW,
// the view painting them, and the keyword list taking them all. Runs on the offscreen
// platform in a temporary program folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/TForm1.h"
#include "tools/keywords/KeywordSearchTab.h"
#include "tools/keywords/KeywordsPage.h"
#include "ui/TextListModel.h"

namespace {

// A control of a page, found by its objectName as the language loader finds it.
template <typename T>
T* Child(QObject* root, const char* name) {
  return root->findChild<T*>(QString::fromLatin1(name));
}

using pagelathe::KeywordSearchTab;

struct Window {
  std::string folder;
  std::unique_ptr<pagelathe::TForm1> form;
  KeywordSearchTab* search = nullptr;

  Window() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagelathe-bench-XXXXXX");
    folder = std::string(::mkdtemp(pattern.data())) + "/";
    std::ofstream(folder + "brevanoth-pagelathe.ini") << "[Options]\r\nfirstStart=0\r\n";
    form = std::make_unique<pagelathe::TForm1>(folder);
    form->show();
    form->PageControl1()->setCurrentWidget(form->Page<pagelathe::KeywordsPage>());
    search =
        Child<KeywordSearchTab>(form->Page<pagelathe::KeywordsPage>(), "TabSheetKeywordsSearch");
    // 100,000 different words, each twice: "w0000001 w0000001 w0000002 ...".
    QString text;
    for (int i = 0; i < 100000; ++i) {
      const QString word = QString("w%1").arg(i, 7, 10, QChar('0'));
      text += word + ' ' + word + (i % 8 == 7 ? '\n' : ' ');
    }
    Child<QPlainTextEdit>(search, "MemoKW")->setPlainText(text);
    Child<QLineEdit>(search, "EditKWLength")->setText("1");
    Child<QLineEdit>(search, "EditKWFreq")->setText("1");
    QApplication::processEvents();
  }
  ~Window() {
    form.reset();
    std::filesystem::remove_all(folder);
  }
};

Window& TheWindow() {
  static Window window;
  return window;
}

// The search runs as a job: its results arrive through the window's events.
void SearchAndWait(KeywordSearchTab& search) {
  search.ButtonKWSearchClick();
  while (search.Busy())
    QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void BM_SearchFills100kRows(benchmark::State& state) {
  Window& window = TheWindow();
  for (auto _ : state) {
    SearchAndWait(*window.search);
    QApplication::processEvents();  // the view lays out and paints its visible rows
  }
  state.counters["rows"] = Child<QTreeView>(window.search, "ListViewKW")->model()->rowCount();
}
BENCHMARK(BM_SearchFills100kRows)->Unit(benchmark::kMillisecond);

void BM_ColumnClickOn100kRows(benchmark::State& state) {
  Window& window = TheWindow();
  SearchAndWait(*window.search);
  for (auto _ : state) {
    window.search->ListViewKWColumnClick(0);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ColumnClickOn100kRows)->Unit(benchmark::kMillisecond);

void BM_Add100kKeywords(benchmark::State& state) {
  Window& window = TheWindow();
  SearchAndWait(*window.search);
  for (auto _ : state) {
    window.search->ButtonKWClearClick();
    window.search->ButtonKWAddClick();
    QApplication::processEvents();
  }
  state.counters["items"] =
      Child<pagelathe::TextListModel>(window.search, "ListBoxKWItems")->rowCount();
}
BENCHMARK(BM_Add100kKeywords)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
