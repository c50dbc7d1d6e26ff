// What the main window offers its pages and dialogs, and nothing more: the status line, the
// message texts with a signal when a language has filled them, the folder dialog, the
// program's paths and product data, the settings values, the HTTP client of the page fetch
// and the window's shared text lists. The main window owns one and hands it to each page and
// dialog; a test builds one of its own, so a page can be made and driven without the window.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "platform/LinkStore.h"
#include "platform/TextList.h"
#include "settings/AppSettings.h"

class QStatusBar;
class QWidget;

namespace pagelathe {

class TFolderDialog;
class TNMHTTP;

// The message texts: empty until a language file fills them, with no built-in wording.
struct MessageTexts {
  std::string StringWords;
  std::string StringKeywords;
  std::string StringLastVersion;
  std::string StringNewVersionIsAvailable;
  std::string StringCantConnectToServer;
  std::string StringProccessedFiles;
  std::string StringStop;
  std::string StringSearch;
  std::string StringFolders;
  std::string StringLinks;
  std::string StringConvert;
  std::string StringFetchingPage;  // status text while a page is fetched, followed by its address
};

// The product data and the program's paths, set when the main window is created.
struct ProductData {
  std::string ProductTitle;  // the first update check replaces its blanks by "+", for good
  std::string ProductVersion;
  std::string ProductPageUrl;
  std::string UpdateBaseUrl;  // the update service's address, without a final "/"
  std::string ProgramFolder;  // ends with "/"
  std::string VersionFile;
  std::string HelpFileEnglish;
  std::string HelpFileRussian;
  std::string ExclusionsFileName;  // the file name only; it lives in ProgramFolder
  std::string SettingsFileName;
};

class PageContext : public QObject {
  Q_OBJECT
 public:
  explicit PageContext(QObject* parent = nullptr);
  ~PageContext() override;

  // The window whose caption and status bar the pages use. Without one (a page under test)
  // the status line is kept here and the caption is the product's title and version.
  void AttachWindow(QWidget* window, QStatusBar* status_bar);

  // The one line of the status bar.
  void SetStatusText(const std::string& text);
  void ShowStatusText(const QString& text);  // a text already for display
  [[nodiscard]] QString StatusLine() const;
  [[nodiscard]] std::string StatusText() const;

  // The main window's caption as it stands (a language file may set it): the generator
  // name of made pages and the update check's agent.
  [[nodiscard]] std::string WindowCaption() const;

  // The message texts; the language loader fills them, then says so with LanguageApplied.
  [[nodiscard]] const MessageTexts& Texts() const { return texts_; }
  [[nodiscard]] MessageTexts& Texts() { return texts_; }
  void LanguageApplied() { emit LanguageChanged(); }

  [[nodiscard]] const ProductData& Product() const { return product_; }
  [[nodiscard]] ProductData& Product() { return product_; }

  // The settings values: read at the window's creation, restored to and stored from the
  // pages' controls, written at its close.
  [[nodiscard]] const AppSettings& Settings() const { return settings_; }
  [[nodiscard]] AppSettings& Settings() { return settings_; }

  // The folder browser of the three folder buttons.
  [[nodiscard]] TFolderDialog& FolderDialog1() { return *folder_dialog_; }

  // The HTTP client of the page fetch, with the window's built-in settings: no proxy, no
  // time limit, the body kept in memory, no event handlers; its waits keep the window's
  // events running.
  [[nodiscard]] TNMHTTP& HTTP() { return *http_; }

  // The window's text lists, alive as long as the context. The links search owns the first
  // four; it shares FolderList with the converter, and ScratchList serves the Remove button.
  [[nodiscard]] TextList& DocumentLines() { return document_lines_; }
  [[nodiscard]] TextList& TokenList() { return token_list_; }
  [[nodiscard]] LinkStore& FoundLinks() { return found_links_; }
  [[nodiscard]] TextList& OutputBuffer() { return output_buffer_; }
  [[nodiscard]] TextList& FolderList() { return folder_list_; }
  [[nodiscard]] TextList& ScratchList() { return scratch_list_; }
  // The exclusion list of the links search, shown and edited by the Exclusions window.
  [[nodiscard]] TextList& ExclusionLines() { return exclusion_lines_; }

 signals:
  // A language file has been applied: texts built from message texts are due again.
  void LanguageChanged();

 private:
  QPointer<QWidget> window_;
  QPointer<QStatusBar> status_bar_;
  QString status_line_;  // without a status bar
  MessageTexts texts_;
  ProductData product_;
  AppSettings settings_;
  TFolderDialog* folder_dialog_ = nullptr;
  std::unique_ptr<TNMHTTP> http_;
  TextList document_lines_;
  TextList token_list_;
  LinkStore found_links_;
  TextList output_buffer_;
  TextList folder_list_;
  TextList scratch_list_;
  TextList exclusion_lines_;
};

}  // namespace pagelathe
