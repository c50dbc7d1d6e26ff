// The main window: menus, status bar, the five tool pages, the settings file, the message
// texts and the window's shared lists. It composes the pages; their handlers live with them.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "platform/TextList.h"
#include "tools/links/LinkStore.h"

class QAction;
class QMenu;
class QTabWidget;
class QTimer;

namespace pagelathe {

class GradientTextPage;
class HtmlConverterPage;
class KeywordsPage;
class LinksGrabberPage;
class TFolderDialog;
class TFormAbout;
class TFormExclusions;
class TFormLanguage;
class TFormUpdate;
class TNMHTTP;
class TWinXP;
class WebColorPage;
class ToolPage;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // Builds the window and runs its creation steps: product data, paths under
  // `program_folder` (which ends with "/"), secondary windows, the exclusion list, the
  // "projects" folder, the settings file and the language.
  explicit TForm1(const std::string& program_folder, QWidget* parent = nullptr);
  ~TForm1() override;

  // Product data and paths.
  std::string ProductTitle;
  std::string ProductVersion;
  std::string ProductPageUrl;
  std::string UpdateBaseUrl;  // the update service's address, without a final "/"
  std::string ProgramFolder;
  std::string VersionFile;
  std::string HelpFileEnglish;
  std::string HelpFileRussian;
  std::string ExclusionsFileName;
  std::string SettingsFileName;

  // Settings kept in fields (the rest live in the controls of the pages).
  std::string LanguageName;
  bool FirstStart = true;
  std::string LinksFolder;
  std::string KeywordsFolder;
  int CharsPerLine = 75;
  std::string RememberedUrl;

  // Message texts: empty until a language file fills them.
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

  // The window's text lists.
  TextList DocumentLines;
  TextList TokenList;
  LinkStore FoundLinks;
  TextList FolderList;
  TextList OutputBuffer;
  TextList ScratchList;
  // The exclusion list of the links search, shown and edited by the Exclusions window.
  TextList ExclusionLines;

  // The one line of the status bar.
  void SetStatusText(const std::string& text);
  void ShowStatusText(const QString& text);  // a text already for display
  [[nodiscard]] std::string StatusText() const;

  // Applies a language file to every window (menus, pages, dialogs, message texts).
  void LoadLanguage(const std::string& name);

  // Creation, first show and close steps (the window calls them itself; tests may too).
  void FormShow();
  void FormClose();
  void ApplicationEvents1Activate();
  void TimerConnectionTimer();

  // Menu handlers.
  void MExitClick();
  void MExclusionsClick();
  void MLangEnglishClick();
  void MLangRussianClick();
  void MContentsClick();
  void MCheckUpdateClick();
  void MAboutClick();

  // Pages and components.
  QTabWidget* PageControl1 = nullptr;
  LinksGrabberPage* LinksGrabber = nullptr;
  HtmlConverterPage* HtmlConverter = nullptr;
  KeywordsPage* Keywords = nullptr;
  GradientTextPage* GradientText = nullptr;
  WebColorPage* WebColor = nullptr;
  QMenu* MFile = nullptr;
  QMenu* MSettings = nullptr;
  QMenu* MLanguage = nullptr;
  QMenu* MHelp = nullptr;
  QAction* MExit = nullptr;
  QAction* MExclusions = nullptr;
  QAction* MLangEnglish = nullptr;
  QAction* MLangRussian = nullptr;
  QAction* MContents = nullptr;
  QAction* MCheckUpdate = nullptr;
  QAction* MAbout = nullptr;
  QTimer* TimerConnection = nullptr;
  TWinXP* WinXP1 = nullptr;
  TFolderDialog* FolderDialog1 = nullptr;
  // The HTTP client of the page fetch, with its built-in settings: no proxy, no time limit,
  // the body kept in memory, no event handlers; its waits keep the window's events running.
  std::unique_ptr<TNMHTTP> HTTP;

  // Secondary windows, created with the main window and alive until it is destroyed.
  TFormAbout* FormAbout = nullptr;
  TFormLanguage* FormLanguage = nullptr;
  TFormExclusions* FormExclusions = nullptr;
  TFormUpdate* FormUpdate = nullptr;

  // The pages in tab order.
  [[nodiscard]] const std::vector<ToolPage*>& Pages() const { return pages_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreatePages();
  void CreateHttpClient();
  void FormCreate();

  // Shows `text` once the window's events run, so that an error met while the window is made
  // holds neither the making nor the first show (nor a close asked for meanwhile).
  void ShowErrorLater(const std::string& text);

  std::vector<ToolPage*> pages_;
  AppSettings settings_;  // as read at creation
  // Why the settings file could not be read at creation; it is then not written at close.
  std::string settings_read_error_;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace pagelathe
