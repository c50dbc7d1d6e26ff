// The link check window of the Links Grabber: the links the list shows, checked on a worker
// (tools/check), in a table that fills as results come, coloured and filtered by state, with
// the places where each link stands; Stop, Copy, Save as CSV or HTML, and a double-click that
// takes the Links Grabber to a place.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "tools/check/ShownLinks.h"
#include "ui/LongJob.h"

class QComboBox;
class QLabel;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTableView;

namespace pagelathe {

class LinkCheckModel;
class PageContext;
class TFileDialog;

// The worker of the link check.
class LinkCheckJob : public LongJob {
  Q_OBJECT
 public:
  using LongJob::LongJob;
};

class LinkCheckWindow : public QDialog {
  Q_OBJECT
 public:
  explicit LinkCheckWindow(PageContext& context, QWidget* parent = nullptr);
  // Stops a running check and waits for its thread.
  ~LinkCheckWindow() override;

  // Shows the window and checks the links of `request`; a check still running ends first.
  void Check(ShownLinksRequest request);
  // True from Check until the check ends or is stopped.
  [[nodiscard]] bool Checking() const;
  // The main window closes: the check stops, its thread is waited for, the window goes.
  void StopAndWait();

  // Handlers.
  void ButtonCheckStopClick();
  void ButtonCheckCopyClick();
  void ButtonCheckSaveClick();
  void ComboBoxCheckFilterChange();
  void TableCheckLinksDoubleClick(const QModelIndex& index);
  void SaveDialogCheckTypeChange();

  // Message texts, filled by the language file: %1 links checked of %2, %3 of them failed.
  std::string StringCheckProgress = "Checked %1 of %2 links, %3 failed";
  std::string StringCheckStopped = "Stopped: checked %1 of %2 links, %3 failed";
  std::string StringCheckCollecting = "Finding where the links stand ...";

 signals:
  // The user asked to see a place where a link stands (a document and its line).
  void PlaceChosen(const std::string& document, int line);

 public slots:
  // Closing the window (its close button, Escape, Close) stops the check.
  void reject() override;

 private:
  struct Run;
  void CreateControls();
  // The worker's news, on the window's thread; each is for the run it names, and nothing
  // comes of news for a run that has ended.
  void ShowLinks(const std::shared_ptr<Run>& run, std::vector<CheckedLink> links,
                 const std::vector<std::string>& skipped);
  void Drain(const std::shared_ptr<Run>& run);
  void FinishCheck(const std::shared_ptr<Run>& run);
  // Takes the results the worker has put by and shows them.
  void ShowResults(const std::shared_ptr<Run>& run);
  // The state words (the filter's items) and the progress line after a language is applied.
  void LanguageApplied();
  void UpdateProgress();
  void UpdateControls();
  // The links of the selected rows, or of every row shown when none is selected.
  [[nodiscard]] std::vector<size_t> ChosenLinks() const;

  PageContext& context_;
  LinkCheckModel* model_ = nullptr;
  std::shared_ptr<Run> run_;  // the run whose news the window takes
  std::string root_;          // places below it are shown relative to it
  bool collecting_ = false;   // the worker still finds the places
  bool stopped_ = false;      // the last check was stopped

  QLabel* LabelCheckProgress = nullptr;
  QProgressBar* pbCheck = nullptr;
  QTableView* TableCheckLinks = nullptr;
  QLabel* LabelCheckFilter = nullptr;
  QComboBox* ComboBoxCheckFilter = nullptr;
  QPushButton* ButtonCheckStop = nullptr;
  QPushButton* ButtonCheckCopy = nullptr;
  QPushButton* ButtonCheckSave = nullptr;
  QPushButton* ButtonCheckClose = nullptr;
  TFileDialog* SaveDialogCheck = nullptr;
  LinkCheckJob* CheckWorker = nullptr;
};

}  // namespace pagelathe
