// The link check window. The worker finds the places of the shown links, hands the window a
// copy of them, then checks them; every result goes into a shared batch, and the window takes
// the batch in one queued call, then pauses 50 ms before it takes the next, so a check of
// thousands of links a second costs the window a few calls a second.
#include "tools/check/LinkCheckWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <mutex>
#include <utility>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "tools/check/CheckReport.h"
#include "tools/check/LinkCheck.h"
#include "tools/check/LinkCheckModel.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TextListModel.h"

namespace pagelathe {

// What the worker of one check and the window share.
struct LinkCheckWindow::Run {
  std::mutex mutex;
  std::vector<std::pair<size_t, CheckedLink>> results;  // not yet taken by the window
  bool drain_due = false;  // a drain is on its way or pausing: the worker posts no other
};

namespace {

// The places of every link chosen: at most this many in the menu of a double-click.
constexpr int kPlacesInMenu = 40;

}  // namespace

LinkCheckWindow::LinkCheckWindow(PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("FormLinkCheck");
  setWindowTitle("Link Check");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  CreateControls();
  connect(&context_, &PageContext::LanguageChanged, this, &LinkCheckWindow::LanguageApplied);
  LanguageApplied();
  UpdateControls();
}

LinkCheckWindow::~LinkCheckWindow() {
  CheckWorker->StopAndWait();
}

void LinkCheckWindow::CreateControls() {
  LabelCheckProgress = Named<QLabel>("LabelCheckProgress", this);
  pbCheck = Named<QProgressBar>("pbCheck", this);
  pbCheck->setTextVisible(false);
  pbCheck->setFixedSize(200, 16);

  model_ = new LinkCheckModel(this);
  model_->setObjectName("TableCheckLinksRows");
  TableCheckLinks = Named<QTableView>("TableCheckLinks", this);
  TableCheckLinks->setModel(model_);
  TableCheckLinks->setSelectionBehavior(QAbstractItemView::SelectRows);
  TableCheckLinks->setSelectionMode(QAbstractItemView::ExtendedSelection);
  TableCheckLinks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TableCheckLinks->setWordWrap(false);
  TableCheckLinks->setShowGrid(false);
  TableCheckLinks->setTextElideMode(Qt::ElideMiddle);  // both ends of a URL tell most
  // Rows of one height, never measured one by one: 100,000 of them cost nothing.
  QHeaderView* rows = TableCheckLinks->verticalHeader();
  rows->setVisible(false);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(TableCheckLinks->fontMetrics().height() + 6);
  QHeaderView* columns = TableCheckLinks->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(true);
  columns->setHighlightSections(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  const int widths[] = {300, 90, 46, 260};
  for (int column = 0; column < 4; ++column)
    TableCheckLinks->setColumnWidth(column, widths[column]);

  LabelCheckFilter = Named<QLabel>("LabelCheckFilter", "Show:", this);
  ComboBoxCheckFilter = Named<QComboBox>("ComboBoxCheckFilter", this);
  ComboBoxCheckFilter->addItems({"All links", "Failed (broken, timeout)", "OK", "Redirected",
                                 "Blocked", "Timeout", "Broken", "Excluded", "Not checked"});
  ComboBoxCheckFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  LabelCheckFilter->setBuddy(ComboBoxCheckFilter);
  ButtonCheckStop = Named<QPushButton>("ButtonCheckStop", "Stop", this);
  ButtonCheckCopy = Named<QPushButton>("ButtonCheckCopy", "Copy", this);
  ButtonCheckSave = Named<QPushButton>("ButtonCheckSave", "Save", this);
  ButtonCheckClose = Named<QPushButton>("ButtonCheckClose", "Close", this);
  for (QPushButton* button : {ButtonCheckStop, ButtonCheckCopy, ButtonCheckSave, ButtonCheckClose})
    button->setAutoDefault(false);  // Enter in the table does not stop the check

  SaveDialogCheck = new TFileDialog("SaveDialogCheck", TFileDialog::Kind::Save, this);
  SaveDialogCheck->SetFilter("CSV files (*.csv)|*.csv|HTML files (*.htm; *.html)|*.htm;*.html");
  SaveDialogCheck->DefaultExt = "csv";
  CheckWorker = new LinkCheckJob(this);
  CheckWorker->setObjectName("LinkCheckWorker");

  auto* progress = new QHBoxLayout;
  progress->addWidget(LabelCheckProgress, 1);
  progress->addWidget(pbCheck);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LabelCheckFilter);
  buttons->addWidget(ComboBoxCheckFilter);
  buttons->addStretch(1);
  for (QPushButton* button : {ButtonCheckStop, ButtonCheckCopy, ButtonCheckSave})
    buttons->addWidget(button);
  buttons->addSpacing(12);
  buttons->addWidget(ButtonCheckClose);
  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(8, 8, 8, 8);
  window->setSpacing(6);
  window->addLayout(progress);
  window->addWidget(TableCheckLinks, 1);
  window->addLayout(buttons);
  resize(960, 560);

  connect(ButtonCheckStop, &QPushButton::clicked, this, &LinkCheckWindow::ButtonCheckStopClick);
  connect(ButtonCheckCopy, &QPushButton::clicked, this, &LinkCheckWindow::ButtonCheckCopyClick);
  connect(ButtonCheckSave, &QPushButton::clicked, this, &LinkCheckWindow::ButtonCheckSaveClick);
  connect(ButtonCheckClose, &QPushButton::clicked, this, &LinkCheckWindow::reject);
  connect(ComboBoxCheckFilter, &QComboBox::currentIndexChanged, this,
          &LinkCheckWindow::ComboBoxCheckFilterChange);
  connect(TableCheckLinks, &QTableView::doubleClicked, this,
          &LinkCheckWindow::TableCheckLinksDoubleClick);
  connect(SaveDialogCheck, &TFileDialog::TypeChange, this,
          &LinkCheckWindow::SaveDialogCheckTypeChange);
}

bool LinkCheckWindow::Checking() const {
  return CheckWorker->Running();
}

void LinkCheckWindow::Check(ShownLinksRequest request) {
  CheckWorker->Stop();  // a check still running ends here, at once
  switch (request.source.kind) {
    case ShownLinksSource::Kind::kFolder:
      root_ = request.source.name;
      break;
    case ShownLinksSource::Kind::kFile:
      root_ = std::filesystem::path(request.source.name).parent_path().string();
      break;
    default:
      root_.clear();
  }
  model_->SetLinks({}, root_);
  run_ = std::make_shared<Run>();
  collecting_ = true;
  stopped_ = false;

  CheckOptions options;
  options.tls.ca_file = context_.Settings().CaFile;  // the authority Get trusts too
  auto shared = std::make_shared<const ShownLinksRequest>(std::move(request));
  CheckWorker->Start(
      [this, run = run_, request = std::move(shared), options](LongJob::Context& job) {
        std::vector<std::string> skipped;
        LinkSet links = CollectShownLinks(*request, skipped, &job.StopFlag());
        if (job.Stopped()) return;
        auto copy = std::make_shared<std::vector<CheckedLink>>(links.begin(), links.end());
        job.Post([this, run, copy, skipped = std::move(skipped)] {
          ShowLinks(run, std::move(*copy), skipped);
        });
        CheckCallbacks callbacks;
        callbacks.checked = [&](size_t index) {
          std::pair<size_t, CheckedLink> result{index, {}};
          CopyCheckResult(links[index], result.second);
          const std::lock_guard lock(run->mutex);
          run->results.push_back(std::move(result));
          if (!std::exchange(run->drain_due, true)) job.Post([this, run] { Drain(run); });
        };
        CheckLinks(links, options, callbacks, &job.StopFlag());
      },
      [this, run = run_] { FinishCheck(run); });
  UpdateControls();
  UpdateProgress();
  show();
  raise();
  activateWindow();
}

void LinkCheckWindow::ShowLinks(const std::shared_ptr<Run>& run, std::vector<CheckedLink> links,
                                const std::vector<std::string>& skipped) {
  if (run != run_) return;
  collecting_ = false;
  model_->SetLinks(std::move(links), root_);
  UpdateProgress();
  UpdateControls();
  if (!skipped.empty() && isVisible())
    ShowMessage(FailureListMessage("These documents could not be read again:", skipped), this);
}

void LinkCheckWindow::Drain(const std::shared_ptr<Run>& run) {
  if (run != run_) return;
  ShowResults(run);
  // The next batch waits out the pause; the worker posts nothing meanwhile.
  QTimer::singleShot(LongJobCore::kProgressInterval, this, [this, run] {
    if (run != run_) return;
    {
      const std::lock_guard lock(run->mutex);
      if (run->results.empty()) {
        run->drain_due = false;
        return;
      }
    }
    Drain(run);
  });
}

void LinkCheckWindow::FinishCheck(const std::shared_ptr<Run>& run) {
  if (run != run_) return;
  ShowResults(run);
  run_.reset();  // whatever the stopped worker still finds is not shown
  collecting_ = false;
  UpdateProgress();
  UpdateControls();
}

void LinkCheckWindow::ShowResults(const std::shared_ptr<Run>& run) {
  std::vector<std::pair<size_t, CheckedLink>> results;
  {
    const std::lock_guard lock(run->mutex);
    results.swap(run->results);
  }
  if (results.empty()) return;
  // A filter that lets rows in or out rebuilds the rows: the selection goes with the links.
  // (Without a filter every link keeps its row.)
  std::vector<size_t> selected;
  size_t current_link = static_cast<size_t>(-1);
  const QModelIndex current = TableCheckLinks->currentIndex();
  if (model_->CurrentFilter() != LinkCheckModel::kAll) {
    for (const QItemSelectionRange& range : TableCheckLinks->selectionModel()->selection())
      for (int row = range.top(); row <= range.bottom(); ++row)
        selected.push_back(model_->LinkAt(row));
    if (current.isValid()) current_link = model_->LinkAt(current.row());
  }
  if (model_->Apply(results)) {
    std::vector<int> rows;
    for (const size_t link : selected)
      if (const int row = model_->RowOf(link); row >= 0) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    QItemSelection kept;  // one range per run of rows, not one per row
    for (size_t i = 0; i < rows.size();) {
      size_t j = i + 1;
      while (j < rows.size() && rows[j] == rows[j - 1] + 1)
        ++j;
      kept.select(model_->index(rows[i], 0),
                  model_->index(rows[j - 1], LinkCheckModel::kColumns - 1));
      i = j;
    }
    TableCheckLinks->selectionModel()->select(kept, QItemSelectionModel::ClearAndSelect);
    if (const int row = model_->RowOf(current_link); row >= 0)
      TableCheckLinks->selectionModel()->setCurrentIndex(model_->index(row, current.column()),
                                                         QItemSelectionModel::NoUpdate);
  }
  UpdateProgress();
}

void LinkCheckWindow::ButtonCheckStopClick() {
  if (!Checking()) return;
  stopped_ = true;
  CheckWorker->Stop();  // FinishCheck runs now; the worker ends on its own soon after
}

void LinkCheckWindow::reject() {
  ButtonCheckStopClick();
  QDialog::reject();
}

void LinkCheckWindow::StopAndWait() {
  if (Checking()) stopped_ = true;
  CheckWorker->StopAndWait();
  hide();
}

void LinkCheckWindow::ComboBoxCheckFilterChange() {
  model_->SetFilter(ComboBoxCheckFilter->currentIndex());
}

std::vector<size_t> LinkCheckWindow::ChosenLinks() const {
  const std::vector<bool> marked = SelectedRowMarks(*TableCheckLinks);
  const bool any = std::find(marked.begin(), marked.end(), true) != marked.end();
  std::vector<size_t> links;
  for (size_t row = 0; row < marked.size(); ++row)
    if (marked[row] || !any) links.push_back(model_->LinkAt(static_cast<int>(row)));
  return links;
}

void LinkCheckWindow::ButtonCheckCopyClick() {
  // As a spreadsheet takes a table: a row per link, its cells separated by tabs.
  QString text;
  for (const size_t index : ChosenLinks()) {
    const CheckedLink& link = model_->Links()[index];
    if (!text.isEmpty()) text += QStringLiteral("\r\n");
    text += DocumentToQ(link.url) + '\t' + model_->StateText(link) + '\t' +
            (link.code > 0 ? QString::number(link.code) : QString()) + '\t' +
            DocumentToQ(OutcomeText(link)) + '\t' + DocumentToQ(PlacesText(link));
  }
  QApplication::clipboard()->setText(text);
}

void LinkCheckWindow::ButtonCheckSaveClick() {
  SaveDialogCheck->InitialDir = PathToQ(root_);
  SaveDialogCheck->FileName =
      SaveDialogCheck->FilterIndex == 2 ? "link-check.htm" : "link-check.csv";
  if (!SaveDialogCheck->Execute(this)) return;
  // The rows shown that have a result, in their order: a report tells what was found.
  LinkSet report;
  for (int row = 0; row < model_->rowCount(); ++row) {
    const CheckedLink& link = model_->Links()[model_->LinkAt(row)];
    if (!link.checked) continue;
    CheckedLink& copy = report[report.Add(link.url, {})];
    copy.places = link.places;
    CopyCheckResult(link, copy);
  }
  const ReportFormat format =
      SaveDialogCheck->FilterIndex == 2 ? ReportFormat::kHtml : ReportFormat::kCsv;
  // A file that cannot be written raises, and the error box tells; the old file stays whole.
  AtomicFile file(PathFromDialog(SaveDialogCheck->FileName));
  WriteReport(report, format, {}, [&file](std::string_view piece) { file.Write(piece); });
  file.Commit();
}

void LinkCheckWindow::SaveDialogCheckTypeChange() {
  const std::string extension = SaveDialogCheck->FilterIndex == 2 ? ".htm" : ".csv";
  SaveDialogCheck->SetLiveFileName(
      ToQ(ReplaceExtension(FromQ(SaveDialogCheck->LiveFileName()), extension)));
}

void LinkCheckWindow::TableCheckLinksDoubleClick(const QModelIndex& index) {
  if (!index.isValid()) return;
  const CheckedLink& link = model_->Links()[model_->LinkAt(index.row())];
  if (link.places.empty()) return;
  if (link.places.size() == 1) {
    emit PlaceChosen(link.places[0].document, link.places[0].line);
    return;
  }
  // A link of several places: the user picks one.
  QMenu menu(this);
  const int shown = std::min<int>(kPlacesInMenu, static_cast<int>(link.places.size()));
  for (int i = 0; i < shown; ++i) {
    const LinkPlace& place = link.places[static_cast<size_t>(i)];
    menu.addAction(PathToQ(place.document.str()) + ':' + QString::number(place.line))->setData(i);
  }
  if (QAction* chosen = menu.exec(QCursor::pos())) {
    const LinkPlace& place = link.places[static_cast<size_t>(chosen->data().toInt())];
    emit PlaceChosen(place.document, place.line);
  }
}

void LinkCheckWindow::LanguageApplied() {
  std::array<QString, 7> names;
  for (size_t i = 0; i < names.size(); ++i)
    names[i] = ComboBoxCheckFilter->itemText(LinkCheckModel::kFirstState + static_cast<int>(i));
  model_->SetStateNames(names);
  // The state column as wide as its longest word ("Перенаправлена" is twice "Redirected").
  const QFontMetrics metrics(TableCheckLinks->font());
  int state_width = metrics.horizontalAdvance(
      model_->headerData(LinkCheckModel::kState, Qt::Horizontal, Qt::DisplayRole).toString());
  for (const QString& name : names)
    state_width = std::max(state_width, metrics.horizontalAdvance(name));
  TableCheckLinks->setColumnWidth(LinkCheckModel::kState, state_width + 16);
  UpdateProgress();
}

void LinkCheckWindow::UpdateProgress() {
  const size_t total = model_->Links().size();
  const size_t checked = model_->CheckedCount();
  if (collecting_) {
    LabelCheckProgress->setText(ToQ(StringCheckCollecting));
  } else {
    LabelCheckProgress->setText(ToQ(stopped_ ? StringCheckStopped : StringCheckProgress)
                                    .arg(checked)
                                    .arg(total)
                                    .arg(model_->FailedCount()));
  }
  pbCheck->setRange(0, collecting_ ? 0 : std::max<int>(1, static_cast<int>(total)));
  pbCheck->setValue(collecting_ ? 0 : static_cast<int>(checked));
}

void LinkCheckWindow::UpdateControls() {
  ButtonCheckStop->setEnabled(Checking());
  ButtonCheckCopy->setEnabled(!collecting_);
  ButtonCheckSave->setEnabled(!collecting_);
}

}  // namespace pagelathe
