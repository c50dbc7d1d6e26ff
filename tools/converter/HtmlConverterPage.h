// The HTML Converter page: a source and a result folder, the list of the files to convert with
// its file-type chooser, the direction, the sub-folder and line-limit options, and the button
// that starts and stops the batch.
#pragma once

#include <string>

#include "platform/FolderWalk.h"
#include "ui/ToolPage.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace pagelathe {

class TFileListBox;
class TFilterComboBox;
class TRadioGroup;
class TThreadConvert;
struct ConvertOptions;

class HtmlConverterPage : public ToolPage {
  Q_OBJECT
 public:
  explicit HtmlConverterPage(PageContext& context, QWidget* parent = nullptr);

  void ApplySettings(const AppSettings& settings) override;
  void FirstShow() override;
  void StoreSettings(AppSettings& settings) const override;
  void ApplicationActivated() override;
  void StopJobs() override;
  void LanguageApplied() override;

  // Handlers.
  void FilterComboBox1Change();
  void ButtonConvertClick();
  void cbLimitClick();
  // Raises the conversion error for a non-empty text that is no integer.
  void EditCharPerLineChange();
  void FileListBoxConverterClick() {}  // selecting names does not limit the batch
  void ButtonSourceFolderClick();
  void ButtonResultFolderClick();
  void FinishConvert();

  // The options as the controls hold them now.
  [[nodiscard]] ConvertOptions CurrentOptions() const;
  // True from the start of a batch until FinishConvert.
  [[nodiscard]] bool Running() const { return running_; }
  // Counted by the last batch's folder walk.
  [[nodiscard]] const FolderCounters& Counters() const { return counters_; }

 private:
  void CreateControls();
  // Asks for a folder starting at the edit's text; true with the edit set to the choice.
  bool ChooseFolder(QLineEdit* edit);

  QGroupBox* GroupBoxFolders = nullptr;
  QLabel* LabelSourceFolder = nullptr;
  QLineEdit* EditSourceFolder = nullptr;
  QPushButton* ButtonSourceFolder = nullptr;
  QLabel* LabelResultFolder = nullptr;
  QLineEdit* EditResultFolder = nullptr;
  QPushButton* ButtonResultFolder = nullptr;
  QGroupBox* GroupBoxSourceFiles = nullptr;
  TFilterComboBox* FilterComboBox1 = nullptr;
  TFileListBox* FileListBoxConverter = nullptr;
  TRadioGroup* RadioGroupConvertOptions = nullptr;
  QCheckBox* CheckBoxSubfolders = nullptr;
  QCheckBox* cbLimit = nullptr;
  QLabel* LabelCharPerLine = nullptr;
  QLineEdit* EditCharPerLine = nullptr;
  QProgressBar* pbConverter = nullptr;
  QPushButton* ButtonConvert = nullptr;
  TThreadConvert* ThreadConvert = nullptr;
  bool running_ = false;
  bool closing_ = false;           // the window is closing: the batch ends without a word
  bool batch_subfolders_ = false;  // the batch that runs (or ran last) scans sub-folders
  FolderCounters counters_;
  std::string separator_;
};

}  // namespace pagelathe
