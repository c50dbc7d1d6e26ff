// The Search Keywords tab: a text, the words that occur in it often enough, and the keyword
// list that the user collects from them, from typed words and from files.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "platform/TextList.h"
#include "tools/keywords/KeywordSearch.h"
#include "ui/LongJob.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace pagelathe {

class KeywordListModel;
class MemoSlices;
class PageContext;
class TFileDialog;
class TPanel;
class TextListModel;

// The worker of the tab's long jobs: reading a file, counting the words of the text.
class KeywordJob : public LongJob {
  Q_OBJECT
 public:
  using LongJob::LongJob;
};

class KeywordSearchTab : public QWidget {
  Q_OBJECT
 public:
  explicit KeywordSearchTab(PageContext& context, QWidget* parent = nullptr);
  ~KeywordSearchTab() override;

  // Open, Insert From File and Search run as long jobs, one at a time: the file is read and
  // the words are counted on a worker, the memo is read and filled in slices, so the window
  // answers meanwhile. The job's button shows the stop text and stops it; the other two,
  // "case sensitive" and the text's Clear wait, and the memo cannot be edited. A stopped job
  // changes nothing but a memo that was being filled, which keeps what it got. Errors (a file
  // that cannot be read) are shown when the job ends, with everything as it was.
  void ButtonOpenFileClick();
  // A number that is not an integer raises the conversion error at once, with the rows
  // cleared; no job starts.
  void ButtonKWSearchClick();
  void cbCaseClick();
  void ListViewKWColumnClick(int column);
  void ButtonKWAddClick();
  void ButtonKWClearClick();
  void ButtonKWCheckClick();
  void ButtonKWUncheckClick();
  void EditKWKeyDown(int key);
  void ButtonKWInsertClick();
  void ButtonKWRemoveClick();
  void ListBoxKWKeyDown(int key);
  void ButtonKWClearTextClick();

  // The count captions: message text and number of rows / keywords.
  void UpdateWordsPanel();
  void UpdateKeywordsPanel();

  // What the page creator takes from this tab.
  [[nodiscard]] TextList KeywordItems() const;
  [[nodiscard]] const KeywordSortState& SortState() const { return sort_state_; }
  // The text memo, which Create Page's "insert from text" copies, and the file last chosen in
  // the open dialog, after which a created page is named.
  [[nodiscard]] QPlainTextEdit* TextMemo() const { return MemoKW; }
  [[nodiscard]] QString OpenedFileName() const;

  // True while Open, Insert From File or Search runs.
  [[nodiscard]] bool Busy() const { return job_ != Job::None; }
  // Stops a running job (the window closes).
  void StopJobs();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TPanel* PanelKWText;
  TPanel* PanelKWWords;
  TPanel* PanelKWKeywords;
  QPlainTextEdit* MemoKW;
  QLabel* LabelSearchLength;
  QLabel* LabelSearchFreq;
  QLineEdit* EditKWLength;
  QLineEdit* EditKWFreq;
  QCheckBox* cbCase;
  QTreeView* ListViewKW;
  KeywordListModel* ListViewKWRows;
  QListView* ListBoxKW;
  TextListModel* ListBoxKWItems;
  QLineEdit* EditKW;
  QPushButton* ButtonOpenFile;
  QPushButton* ButtonKWSearch;
  QPushButton* ButtonKWClearText;
  QPushButton* ButtonKWCheck;
  QPushButton* ButtonKWUncheck;
  QPushButton* ButtonKWAdd;
  QPushButton* ButtonKWRemove;
  QPushButton* ButtonKWInsert;
  QPushButton* ButtonKWClear;
  QProgressBar* pbKW;
  TFileDialog* OpenDialog1;
  KeywordJob* KeywordWorker;

  enum class Job { None, Open, Insert, Search };
  struct Outcome;

  void BuildControls();
  void LayOut();
  // Shows the open dialog in the keywords folder; the chosen path, or nothing on Cancel.
  bool ChooseFile(std::string& path);
  // The controls while a job runs, and back.
  void BeginJob(Job job, QPushButton* button);
  void EndJob();
  void StopJob();
  void CountWords(std::shared_ptr<const TextList> lines, QStringList blocks, int min_length,
                  int min_frequency, bool case_sensitive);

  PageContext& context_;
  KeywordSortState sort_state_;
  Job job_ = Job::None;
  bool stopping_ = false;
  QPushButton* job_button_ = nullptr;
  QString job_caption_;  // the job button's caption before it showed the stop text
  MemoSlices* memo_slices_;
  // The memo's lines as the last Open put them there, while the memo is unchanged since: a
  // search then need not read the memo back.
  std::shared_ptr<const TextList> memo_lines_;
};

}  // namespace pagelathe
