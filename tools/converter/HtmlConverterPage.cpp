// The HTML Converter page: controls, settings, folder buttons and the batch's start and stop.
#include "tools/converter/HtmlConverterPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "platform/Errors.h"
#include "platform/IntParse.h"
#include "settings/AppSettings.h"
#include "tools/converter/ConvertBatch.h"
#include "tools/converter/ThreadConvert.h"
#include "ui/Controls.h"
#include "ui/FolderDialog.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

constexpr const char* kFilter =
    "HTML files (*.htm, *.html, *.shtm, *.shtml)|*.htm;*.shtm|Text files (*.txt)|*.txt|"
    "All files (*.*)|*.*";
constexpr int kTextEntry = 1;  // the file-type entry that turns the direction to text -> HTML

// A limit on what the user types, like a maximum length, that leaves a longer text put in by
// the program whole: a line limit of 1000 from the settings file shows as "1000", where a
// maximum length would cut it to "100" and change the limit behind the user's back.
class TypedLengthValidator : public QValidator {
 public:
  TypedLengthValidator(int length, QObject* parent) : QValidator(parent), length_(length) {}
  State validate(QString& input, int&) const override {
    return input.size() <= length_ ? Acceptable : Invalid;
  }

 private:
  int length_;
};

QPushButton* FolderButton(const char* name, QWidget* parent) {
  auto* button = new QPushButton("...", parent);
  button->setObjectName(name);
  button->setFixedWidth(32);
  return button;
}

QLineEdit* FolderEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

HtmlConverterPage::HtmlConverterPage(PageContext& context, QWidget* parent)
    : ToolPage(context, "TabSheetHtmlConverter", parent) {
  CreateControls();
  ThreadConvert = new TThreadConvert(this);

  connect(ButtonSourceFolder, &QPushButton::clicked, this,
          &HtmlConverterPage::ButtonSourceFolderClick);
  connect(ButtonResultFolder, &QPushButton::clicked, this,
          &HtmlConverterPage::ButtonResultFolderClick);
  connect(FilterComboBox1, &TFilterComboBox::MaskChanged, this,
          &HtmlConverterPage::FilterComboBox1Change);
  connect(ButtonConvert, &QPushButton::clicked, this, &HtmlConverterPage::ButtonConvertClick);
  connect(cbLimit, &QCheckBox::toggled, this, &HtmlConverterPage::cbLimitClick);
  connect(EditCharPerLine, &QLineEdit::textChanged, this, [this] {
    try {
      EditCharPerLineChange();
    } catch (const EConvertError& error) {
      ShowError(error.what(), window());
    }
  });
  connect(FileListBoxConverter, &TFileListBox::FileClicked, this,
          &HtmlConverterPage::FileListBoxConverterClick);
}

void HtmlConverterPage::CreateControls() {
  GroupBoxFolders = new QGroupBox(" Folders: ", this);
  GroupBoxFolders->setObjectName("GroupBoxFolders");
  LabelSourceFolder = new QLabel("Source:", GroupBoxFolders);
  LabelSourceFolder->setObjectName("LabelSourceFolder");
  EditSourceFolder = FolderEdit("EditSourceFolder", GroupBoxFolders);
  ButtonSourceFolder = FolderButton("ButtonSourceFolder", GroupBoxFolders);
  LabelResultFolder = new QLabel("Result:", GroupBoxFolders);
  LabelResultFolder->setObjectName("LabelResultFolder");
  EditResultFolder = FolderEdit("EditResultFolder", GroupBoxFolders);
  ButtonResultFolder = FolderButton("ButtonResultFolder", GroupBoxFolders);
  auto* folders = new QGridLayout(GroupBoxFolders);
  folders->setContentsMargins(8, 4, 8, 6);
  folders->setVerticalSpacing(4);
  folders->addWidget(LabelSourceFolder, 0, 0);
  folders->addWidget(EditSourceFolder, 0, 1);
  folders->addWidget(ButtonSourceFolder, 0, 2);
  folders->addWidget(LabelResultFolder, 1, 0);
  folders->addWidget(EditResultFolder, 1, 1);
  folders->addWidget(ButtonResultFolder, 1, 2);

  GroupBoxSourceFiles = new QGroupBox(" Files to convert: ", this);
  GroupBoxSourceFiles->setObjectName("GroupBoxSourceFiles");
  FilterComboBox1 = new TFilterComboBox("FilterComboBox1", GroupBoxSourceFiles);
  FilterComboBox1->SetFilterText(kFilter);
  FileListBoxConverter = new TFileListBox("FileListBoxConverter", GroupBoxSourceFiles);
  FileListBoxConverter->SetMask(FilterComboBox1->Mask());
  auto* files = new QVBoxLayout(GroupBoxSourceFiles);
  files->setContentsMargins(8, 4, 8, 8);
  files->setSpacing(4);
  files->addWidget(FilterComboBox1);
  files->addWidget(FileListBoxConverter, 1);

  RadioGroupConvertOptions = new TRadioGroup("RadioGroupConvertOptions", " Convertion Type ",
                                             {"HTML -> Text", "Text -> HTML"}, this);
  RadioGroupConvertOptions->SetItemIndex(kHtmlToText);
  CheckBoxSubfolders = new QCheckBox("scan subfolders", this);
  CheckBoxSubfolders->setObjectName("CheckBoxSubfolders");
  cbLimit = new QCheckBox("limit text string", this);
  cbLimit->setObjectName("cbLimit");
  LabelCharPerLine = new QLabel("Chars per line:", this);
  LabelCharPerLine->setObjectName("LabelCharPerLine");
  LabelCharPerLine->setEnabled(false);
  EditCharPerLine = new QLineEdit(this);
  EditCharPerLine->setObjectName("EditCharPerLine");
  EditCharPerLine->setValidator(new TypedLengthValidator(3, EditCharPerLine));
  EditCharPerLine->setFixedWidth(44);
  EditCharPerLine->setEnabled(false);
  ButtonConvert = new QPushButton("Convert", this);
  ButtonConvert->setObjectName("ButtonConvert");
  ButtonConvert->setMinimumHeight(28);

  auto* limit = new QHBoxLayout;
  limit->setContentsMargins(20, 0, 0, 0);
  limit->addWidget(LabelCharPerLine);
  limit->addWidget(EditCharPerLine);
  limit->addStretch(1);
  auto* options = new QVBoxLayout;
  options->setSpacing(6);
  options->addWidget(RadioGroupConvertOptions);
  options->addSpacing(4);
  options->addWidget(CheckBoxSubfolders);
  options->addWidget(cbLimit);
  options->addLayout(limit);
  options->addStretch(1);
  options->addWidget(ButtonConvert);

  auto* middle = new QHBoxLayout;
  middle->setSpacing(8);
  middle->addWidget(GroupBoxSourceFiles, 1);
  middle->addLayout(options);

  pbConverter = new QProgressBar(this);
  pbConverter->setObjectName("pbConverter");
  pbConverter->setRange(0, 100);
  pbConverter->setValue(0);
  pbConverter->setTextVisible(false);
  pbConverter->setFixedHeight(16);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(8, 8, 8, 8);
  page->setSpacing(8);
  page->addWidget(GroupBoxFolders);
  page->addLayout(middle, 1);
  page->addWidget(pbConverter);
}

void HtmlConverterPage::ApplySettings(const AppSettings& settings) {
  SetPathText(EditSourceFolder, settings.SourceFolder);
  SetPathText(EditResultFolder, settings.ResultFolder);
}

void HtmlConverterPage::FirstShow() {
  FileListBoxConverter->SetDirectory(PathText(EditSourceFolder));
  EditCharPerLine->setText(ToQ(IntToStr(context_.Settings().CharsPerLine)));
}

void HtmlConverterPage::StoreSettings(AppSettings& settings) const {
  settings.SourceFolder = PathText(EditSourceFolder);
  settings.ResultFolder = PathText(EditResultFolder);
}

void HtmlConverterPage::ApplicationActivated() {
  FileListBoxConverter->Update();
}

void HtmlConverterPage::LanguageApplied() {
  if (ShowsStopCaption(ButtonConvert)) ButtonConvert->setText(ToQ(context_.Texts().StringStop));
}

void HtmlConverterPage::StopJobs() {
  closing_ = true;
  ThreadConvert->StopAndWait();
}

void HtmlConverterPage::FilterComboBox1Change() {
  FileListBoxConverter->SetMask(FilterComboBox1->Mask());
  RadioGroupConvertOptions->SetItemIndex(
      FilterComboBox1->currentIndex() == kTextEntry ? kTextToHtml : kHtmlToText);
}

void HtmlConverterPage::cbLimitClick() {
  const bool on = cbLimit->isChecked();
  LabelCharPerLine->setEnabled(on);
  EditCharPerLine->setEnabled(on);
}

void HtmlConverterPage::EditCharPerLineChange() {
  const std::string text = FromQ(EditCharPerLine->text());
  if (!text.empty()) context_.Settings().CharsPerLine = StrToInt(text);
}

ConvertOptions HtmlConverterPage::CurrentOptions() const {
  ConvertOptions options;
  options.SourceFolder = PathText(EditSourceFolder);
  options.ResultFolder = PathText(EditResultFolder);
  options.Direction =
      RadioGroupConvertOptions->ItemIndex() == kTextToHtml ? kTextToHtml : kHtmlToText;
  options.ScanSubfolders = CheckBoxSubfolders->isChecked();
  options.LimitLines = cbLimit->isChecked();
  options.CharsPerLine = context_.Settings().CharsPerLine;
  options.Mask = FileListBoxConverter->Mask();
  options.Generator = context_.WindowCaption();
  return options;
}

void HtmlConverterPage::ButtonConvertClick() {
  if (running_) {
    if (ThreadConvert->Running()) {
      ThreadConvert->Stop();  // runs FinishConvert at once
    } else {
      FinishConvert();
    }
    return;
  }
  running_ = true;
  ShowStopCaption(ButtonConvert, ToQ(context_.Texts().StringStop));
  counters_ = {};
  separator_ = std::string(kSeparatorText);
  ConvertOptions options = CurrentOptions();
  options.Separator = separator_;
  batch_subfolders_ = options.ScanSubfolders;
  context_.FolderList() = {options.SourceFolder};
  ThreadConvert->StartBatch(
      std::move(options), FileListBoxConverter->Names(),
      [this](const std::string& name, int position) {
        context_.SetStatusText(" Converting: " + name);
        pbConverter->setValue(pbConverter->maximum() * position / 100);
      },
      [this] { FinishConvert(); });
}

void HtmlConverterPage::FinishConvert() {
  running_ = false;
  pbConverter->setValue(0);
  FileListBoxConverter->Update();
  EndStopCaption(ButtonConvert);
  ButtonConvert->setText(ToQ(context_.Texts().StringConvert));
  const TThreadConvert::Outcome outcome = ThreadConvert->Snapshot();
  context_.FolderList() = outcome.Folders;
  counters_ = outcome.Counters;
  if (batch_subfolders_) {
    context_.SetStatusText(context_.Texts().StringProccessedFiles + IntToStr(counters_.FileCount) +
                           " " + context_.Texts().StringFolders + IntToStr(counters_.FolderCount));
  }
  // Not while the window closes: nobody is there to read it, and it must not hold the close.
  if (!outcome.Skipped.empty() && !closing_)
    ShowMessage(SkippedFilesMessage(outcome.Skipped), window());
}

bool HtmlConverterPage::ChooseFolder(QLineEdit* edit) {
  TFolderDialog& dialog = context_.FolderDialog1();
  dialog.SetDirectory(PathText(edit));
  if (!dialog.Execute(window()) || dialog.Directory.empty()) return false;
  std::string folder = dialog.Directory;
  if (folder.back() != '/') folder += '/';
  SetPathText(edit, folder);
  return true;
}

void HtmlConverterPage::ButtonSourceFolderClick() {
  if (ChooseFolder(EditSourceFolder)) {
    FileListBoxConverter->SetDirectory(PathText(EditSourceFolder));
  }
}

void HtmlConverterPage::ButtonResultFolderClick() {
  ChooseFolder(EditResultFolder);
}

}  // namespace pagelathe
