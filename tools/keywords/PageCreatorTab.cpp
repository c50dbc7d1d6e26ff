// The Create Page tab.
#include "tools/keywords/PageCreatorTab.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/FileIO.h"
#include "tools/converter/HtmlPage.h"
#include "tools/keywords/KeywordSearchTab.h"
#include "tools/keywords/MemoLines.h"
#include "tools/keywords/MemoSlices.h"
#include "tools/keywords/PageCreator.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

PageCreatorTab::FileOpener& CurrentOpener() {
  static PageCreatorTab::FileOpener opener;
  return opener;
}

// Without a desktop launcher (a bare X session, a minimal install) nothing opens the page;
// the user learns where it is instead of seeing nothing happen.
std::string PreviewFailedMessage(const std::string& path) {
  std::string message = "No program was found to show the page. It is saved as \"";
  message.append(path).append("\".");
  return message;
}

QPlainTextEdit* MakeMemo(const char* name, QWidget* parent) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return memo;
}

}  // namespace

void PageCreatorTab::SetFileOpener(FileOpener opener) {
  CurrentOpener() = std::move(opener);
}

PageCreatorTab::PageCreatorTab(PageContext& context, KeywordSearchTab& search, QWidget* parent)
    : QWidget(parent), context_(context), search_(search), slices_(new MemoSlices(this)) {
  setObjectName("TabSheetKeywordsCreate");
  BuildControls();
  LayOut();
}

PageCreatorTab::~PageCreatorTab() {
  StopJobs();
}

void PageCreatorTab::StopJobs() {
  StopCopy();
  StopCreate();
  PageWorker->StopAndWait();
}

void PageCreatorTab::BuildControls() {
  LabelPageTitle = Named<QLabel>("LabelPageTitle", "Title:", this);
  LabelPageDesc = Named<QLabel>("LabelPageDesc", "Page Description:", this);
  LabelPageKW = Named<QLabel>("LabelPageKW", "Keywords:", this);
  LabelPageText = Named<QLabel>("LabelPageText", "Text:", this);
  EditPageTitle = new QLineEdit(this);
  EditPageTitle->setObjectName("EditPageTitle");
  EditPageDesc = new QLineEdit(this);
  EditPageDesc->setObjectName("EditPageDesc");
  MemoPageKW = MakeMemo("MemoPageKW", this);
  MemoPageText = MakeMemo("MemoPageText", this);
  cbInsertText = new QCheckBox("insert from text", this);
  cbInsertText->setObjectName("cbInsertText");
  PanelPageCode = new TPanel("PanelPageCode", "HTML Code", this);
  MemoPageCode = MakeMemo("MemoPageCode", this);
  MemoPageCode->setLineWrapMode(QPlainTextEdit::NoWrap);
  ButtonPageCreate = Named<QPushButton>("ButtonPageCreate", "Create", this);
  ButtonPageSave = Named<QPushButton>("ButtonPageSave", "Save", this);
  ButtonPagePreview = Named<QPushButton>("ButtonPagePreview", "Preview", this);
  ButtonPageSave->setEnabled(false);
  ButtonPagePreview->setEnabled(false);

  SaveDialogKW = new TFileDialog("SaveDialogKW", TFileDialog::Kind::Save, this);
  SaveDialogKW->SetFilter("HTML Files (*.htm; *.html)|*.htm;*.html");
  SaveDialogKW->DefaultExt = "*.htm";
  PageWorker = new PageJob(this);
  PageWorker->setObjectName("PageWorker");

  // Checked by the program (entering the tab) as well as by the user: both fill the text.
  connect(cbInsertText, &QCheckBox::toggled, this, &PageCreatorTab::cbInsertTextClick);
  connect(ButtonPageCreate, &QPushButton::clicked, this, &PageCreatorTab::ButtonPageCreateClick);
  connect(ButtonPageSave, &QPushButton::clicked, this, &PageCreatorTab::ButtonPageSaveClick);
  connect(ButtonPagePreview, &QPushButton::clicked, this, &PageCreatorTab::ButtonPagePreviewClick);
}

void PageCreatorTab::LayOut() {
  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(4);
  fields->addWidget(LabelPageTitle, 0, 0);
  fields->addWidget(EditPageTitle, 0, 1);
  fields->addWidget(LabelPageDesc, 1, 0);
  fields->addWidget(EditPageDesc, 1, 1);

  auto* input = new QVBoxLayout;
  input->setSpacing(4);
  input->addLayout(fields);
  input->addWidget(LabelPageKW);
  input->addWidget(MemoPageKW, 2);
  auto* text_header = new QHBoxLayout;
  text_header->addWidget(LabelPageText);
  text_header->addStretch(1);
  text_header->addWidget(cbInsertText);
  input->addLayout(text_header);
  input->addWidget(MemoPageText, 3);

  auto* code = new QVBoxLayout;
  code->setSpacing(4);
  code->addWidget(PanelPageCode);
  code->addWidget(MemoPageCode, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonPageCreate);
  buttons->addWidget(ButtonPageSave);
  buttons->addWidget(ButtonPagePreview);
  code->addLayout(buttons);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(8);
  row->addLayout(input, 1);
  row->addLayout(code, 1);
}

void PageCreatorTab::Entered() {
  const TextList keywords = search_.KeywordItems();
  if (!keywords.empty()) MemoPageKW->setPlainText(ToQ(KeywordsText(keywords)));
  // Already checked: no toggle, so a text edited here by hand stays. While a page is being
  // made from the text, the box (disabled) stays as it is: a copy would replace that text.
  if (!creating_) cbInsertText->setChecked(true);
}

void PageCreatorTab::cbInsertTextClick() {
  if (creating_) return;  // only a program's toggle reaches here then; the box is disabled
  StopCopy();
  if (!cbInsertText->isChecked()) {
    MemoPageText->clear();
    return;
  }
  copying_ = true;
  ButtonPageCreate->setEnabled(false);
  MemoPageText->setReadOnly(true);
  slices_->Read(search_.TextMemo(), [this](QStringList blocks) {
    slices_->Fill(MemoPageText, std::move(blocks), [this] { StopCopy(); });
  });
}

void PageCreatorTab::StopCopy() {
  if (!copying_) return;
  slices_->Stop();
  copying_ = false;
  ButtonPageCreate->setEnabled(true);
  MemoPageText->setReadOnly(false);
}

void PageCreatorTab::ButtonPageCreateClick() {
  if (creating_) return StopCreate();
  if (copying_) return;
  suggested_name_ = FromQ(search_.OpenedFileName());
  const std::string title = FromQ(EditPageTitle->text());
  const std::string keywords = MemoText(MemoPageKW);
  const std::string description = FromQ(EditPageDesc->text());
  const std::string generator = context_.WindowCaption();
  creating_ = true;
  create_caption_ = ButtonPageCreate->text();
  ButtonPageCreate->setText(ToQ(context_.Texts().StringStop));
  for (QWidget* control : std::initializer_list<QWidget*>{ButtonPageSave, cbInsertText})
    control->setEnabled(false);
  MemoPageText->setReadOnly(true);
  MemoPageCode->setReadOnly(true);
  slices_->Read(MemoPageText, [=, this](QStringList blocks) {
    auto page = std::make_shared<QStringList>();
    PageWorker->Start(
        [=, blocks = std::move(blocks)](LongJob::Context&) {
          *page = MemoDisplayLines(
              BuildHtmlPage(title, keywords, description, generator, title, LinesOfBlocks(blocks)));
        },
        [this, page] {
          if (stopping_ || page->isEmpty()) return EndCreate();
          slices_->Fill(MemoPageCode, std::move(*page), [this] {
            page_made_ = true;
            EndCreate();
          });
        });
  });
}

void PageCreatorTab::StopCreate() {
  if (!creating_) return;
  stopping_ = true;
  slices_->Stop();
  PageWorker->Stop();
  stopping_ = false;
  EndCreate();
}

void PageCreatorTab::EndCreate() {
  if (!creating_) return;
  creating_ = false;
  ButtonPageCreate->setText(create_caption_);
  cbInsertText->setEnabled(true);
  // Save comes back as it was: enabled once a page was made.
  ButtonPageSave->setEnabled(page_made_);
  MemoPageText->setReadOnly(false);
  MemoPageCode->setReadOnly(false);
}

void PageCreatorTab::ButtonPageSaveClick() {
  SaveDialogKW->InitialDir = PathToQ(context_.Product().ProgramFolder + "projects");
  SaveDialogKW->FileName = ToQ(ProposedSaveName(suggested_name_));
  if (!SaveDialogKW->Execute(this)) return;
  // A failed write raises before Preview changes; the old file stays whole.
  // In the charset the page declares: Windows-1251 when every character has a byte there.
  WriteFileAtomic(PathFromDialog(SaveDialogKW->FileName), HtmlPageBytes(MemoLines(MemoPageCode)));
  saved_file_ = SaveDialogKW->FileName;
  ButtonPagePreview->setEnabled(true);
}

void PageCreatorTab::ButtonPagePreviewClick() {
  if (saved_file_.isEmpty()) return;
  const bool opened = CurrentOpener() ? CurrentOpener()(saved_file_)
                                      : QDesktopServices::openUrl(QUrl::fromLocalFile(saved_file_));
  if (!opened) ShowMessage(PreviewFailedMessage(FromQ(saved_file_)), window());
}

}  // namespace pagelathe
