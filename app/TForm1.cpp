// The main window: creation, first show, close, menus and the status bar.
#include "app/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QIcon>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "app/AppSettings.h"
#include "app/FormAbout.h"
#include "app/FormExclusions.h"
#include "app/FormLanguage.h"
#include "net/TNMHTTP.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "tools/colour/GradientTextPage.h"
#include "tools/colour/WebColorPage.h"
#include "tools/converter/HtmlConverterPage.h"
#include "tools/keywords/KeywordsPage.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/FolderDialog.h"
#include "ui/Messages.h"
#include "ui/TWinXP.h"
#include "ui/Text1251.h"
#include "update/FormUpdate.h"

// The icons are compiled into the GUI library; a static library needs its resources
// registered by hand, outside any namespace.
static void RegisterResources() {
  Q_INIT_RESOURCE(resources);
}

namespace pagelathe {
namespace {

constexpr int kClientWidth = 537;
constexpr int kClientHeight = 455;
constexpr int kStatusBarHeight = 19;

// The update service lives under the reserved name "example", so a build that nobody
// configured never reaches a stranger's server.
constexpr const char* kUpdateBaseUrl = "http://www.brevanoth.example";

}  // namespace

TForm1::TForm1(const std::string& program_folder, QWidget* parent) : QMainWindow(parent) {
  setObjectName("Form1");
  ExclusionsFileName = "exclusions.dat";
  ProgramFolder = WithFinalSlash(program_folder);

  RegisterResources();
  const QIcon icon(":/icons/brevanoth-pagelathe.png");
  setWindowIcon(icon);
  QApplication::setWindowIcon(icon);

  QFont font = this->font();
  font.setPointSize(8);
  setFont(font);
  QApplication::setFont(font);  // dialogs and message boxes are windows of their own

  WinXP1 = new TWinXP(this);
  FolderDialog1 = new TFolderDialog("FolderDialog1", this);
  CreateHttpClient();
  TimerConnection = new QTimer(this);
  TimerConnection->setObjectName("TimerConnection");
  TimerConnection->setInterval(1000);
  connect(TimerConnection, &QTimer::timeout, this, &TForm1::TimerConnectionTimer);

  CreateMenus();
  CreatePages();

  auto* status = new QStatusBar(this);
  status->setObjectName("StatusBar1");
  status->setSizeGripEnabled(false);
  status->setFixedHeight(kStatusBarHeight);
  setStatusBar(status);

  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    if (s == Qt::ApplicationActive && shown_) ApplicationEvents1Activate();
  });

  FormCreate();
  TimerConnection->start();
}

TForm1::~TForm1() {
  for (ToolPage* page : pages_)
    page->StopJobs();
}

void TForm1::CreateHttpClient() {
  HTTP = std::make_unique<TNMHTTP>();
  HTTP->Port = 0;
  HTTP->ReportLevel = 0;
  HTTP->Body = "Default.htm";
  HTTP->Header = "Head.txt";
  HTTP->InputFileMode = false;
  HTTP->OutputFileMode = false;
  HTTP->Proxy.clear();
  HTTP->ProxyPort = 0;
  HTTP->TimeOut = 0;
  // No time limit, but a page that would never end must not take all memory.
  HTTP->BodyLimit = int64_t{256} << 20;
  HTTP->HeaderInfo = THeaderInfo();
  HTTP->Pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
}

void TForm1::CreateMenus() {
  auto menu = [this](const char* name, const char* caption) {
    QMenu* m = menuBar()->addMenu(caption);
    m->setObjectName(name);
    return m;
  };
  auto entry = [this](QMenu* m, const char* name, const char* caption, void (TForm1::*handler)()) {
    QAction* a = m->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  MFile = menu("MFile", "File");
  MExit = entry(MFile, "MExit", "Exit", &TForm1::MExitClick);
  MSettings = menu("MSettings", "Settings");
  MExclusions = entry(MSettings, "MExclusions", "Exclusions", &TForm1::MExclusionsClick);
  MExclusions->setShortcut(QKeySequence("Ctrl+E"));
  MLanguage = MSettings->addMenu("Language");
  MLanguage->setObjectName("MLanguage");
  MLangEnglish = entry(MLanguage, "MLangEnglish", "English", &TForm1::MLangEnglishClick);
  MLangRussian = entry(MLanguage, "MLangRussian", "Russian", &TForm1::MLangRussianClick);
  MLangEnglish->setCheckable(true);
  MLangRussian->setCheckable(true);
  MLangEnglish->setChecked(true);
  MHelp = menu("MHelp", "Help");
  MContents = entry(MHelp, "MContents", "Contents", &TForm1::MContentsClick);
  MContents->setVisible(false);
  MCheckUpdate = entry(MHelp, "MCheckUpdate", "Check for updates ...", &TForm1::MCheckUpdateClick);
  MAbout = entry(MHelp, "MAbout", "About Program", &TForm1::MAboutClick);
}

void TForm1::CreatePages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setDocumentMode(false);
  LinksGrabber = new LinksGrabberPage(*this);
  HtmlConverter = new HtmlConverterPage(*this);
  Keywords = new KeywordsPage(*this);
  WebColor = new WebColorPage(*this);
  GradientText = new GradientTextPage(*this);
  pages_ = {LinksGrabber, HtmlConverter, Keywords, WebColor, GradientText};
  const char* captions[] = {"Links Grabber", "HTML Converter", "Keywords", "Web Color",
                            "Gradient Text"};
  for (size_t i = 0; i < pages_.size(); ++i)
    PageControl1->addTab(pages_[i], captions[i]);
  setCentralWidget(PageControl1);
}

void TForm1::FormCreate() {
  ProductTitle = "Brevanoth Pagelathe";
  ProductVersion = "1.51";
  UpdateBaseUrl = kUpdateBaseUrl;
  ProductPageUrl = UpdateBaseUrl + "/brevanoth_pagelathe.shtml";
  const std::string caption = ProductTitle + " " + ProductVersion;
  setWindowTitle(ToQ(caption));
  SetApplicationTitle(caption);

  VersionFile = ProgramFolder + "version.txt";
  HelpFileEnglish = ProgramFolder + "Help - EN.chm";
  HelpFileRussian = ProgramFolder + "Help - RU.chm";
  SettingsFileName = SettingsFileFor(ProgramFolder + "brevanoth-pagelathe");

  // The exclusion list is loaded before the Exclusions window shows it. A missing file is
  // created empty; one that can be neither read nor created (a pipe or a device in its place,
  // one over the profile limit) leaves the list empty, and the error is shown once the window
  // is up while start-up goes on.
  const std::string exclusions = ProgramFolder + ExclusionsFileName;
  try {
    if (!FileExists(exclusions)) WriteFileAtomic(exclusions, "");
    ExclusionLines = LoadTextList(exclusions, kProfileLimit);
  } catch (const EFileError& error) {
    ExclusionLines.clear();
    ShowErrorLater(error.what());
  }
  FormAbout = new TFormAbout(*this);
  FormLanguage = new TFormLanguage(*this);
  FormExclusions = new TFormExclusions(*this);
  FormUpdate = new TFormUpdate(*this);

  CreateFolder(ProgramFolder + "projects");  // a failure is ignored

  {
    // A settings file that cannot be read gives the defaults, and is kept as it is: the close
    // does not replace it with a file of defaults.
    const IniFile ini(SettingsFileName);
    settings_ = ReadAppSettings(ini, ProgramFolder);
    settings_read_error_ = ini.ReadError();
    if (!settings_read_error_.empty()) {
      std::string message = settings_read_error_;
      message.append(" The settings start from their defaults and are not saved.");
      ShowErrorLater(message);
    }
  }
  const AppSettings& settings = settings_;
  LanguageName = settings.Language;
  FirstStart = settings.FirstStart;
  LinksFolder = settings.Folder;
  KeywordsFolder = settings.DirKW;
  CharsPerLine = settings.CharsPerLine;
  RememberedUrl = settings.Link;
  if (!settings.UpdateServer.empty()) {
    // Another update service (a mirror, or a test server) moves the product page with it.
    UpdateBaseUrl = settings.UpdateServer;
    while (!UpdateBaseUrl.empty() && UpdateBaseUrl.back() == '/')
      UpdateBaseUrl.pop_back();
    ProductPageUrl = UpdateBaseUrl + "/brevanoth_pagelathe.shtml";
  }
  for (ToolPage* page : pages_)
    page->ApplySettings(settings);

  LoadLanguage(LanguageName);
}

void TForm1::FormShow() {
  if (FirstStart) {
    FirstStart = false;
    FormLanguage->ShowChoice();
  }
  GradientText->FillFontList();
  PageControl1->setCurrentIndex(0);
  GradientText->BuildGradientText();  // before any colour edit is filled
  for (ToolPage* page : pages_)
    page->FirstShow();
}

void TForm1::FormClose() {
  for (ToolPage* page : pages_)
    page->StopJobs();
  AppSettings settings = settings_;  // what no page keeps goes back as it was read
  settings.Language = LanguageName;
  settings.FirstStart = FirstStart;
  settings.Folder = LinksFolder;
  settings.DirKW = KeywordsFolder;
  settings.CharsPerLine = CharsPerLine;
  settings.Link = RememberedUrl;
  for (ToolPage* page : pages_)
    page->StoreSettings(settings);
  if (!settings_read_error_.empty()) return;  // said at the start; the user's file stays
  IniFile ini(SettingsFileName);
  WriteAppSettings(ini, settings);
  ini.UpdateFile();
}

void TForm1::ShowErrorLater(const std::string& text) {
  QTimer::singleShot(0, this, [this, text] { ShowError(text, this); });
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    try {
      FormClose();
    } catch (const std::exception& error) {
      ShowError(error.what(), this);  // the window closes all the same
    }
  }
  event->accept();
}

void TForm1::ApplicationEvents1Activate() {
  for (ToolPage* page : pages_)
    page->ApplicationActivated();
}

void TForm1::TimerConnectionTimer() {
  FormUpdate->RefreshConnectionState();
}

void TForm1::SetStatusText(const std::string& text) {
  ShowStatusText(ToQ(text));
}

void TForm1::ShowStatusText(const QString& text) {
  statusBar()->showMessage(text);
}

std::string TForm1::StatusText() const {
  return FromQ(statusBar()->currentMessage());
}

void TForm1::MExitClick() {
  close();
}

void TForm1::MContentsClick() {
  std::string file;
  if (LanguageName == "English") file = HelpFileEnglish;
  if (LanguageName == "Russian") file = HelpFileRussian;
  if (!file.empty()) QDesktopServices::openUrl(QUrl::fromLocalFile(ToQ(file)));
}

void TForm1::MLangEnglishClick() {
  LanguageName = "English";
  LoadLanguage(LanguageName);
}

void TForm1::MLangRussianClick() {
  LanguageName = "Russian";
  LoadLanguage(LanguageName);
}

void TForm1::MExclusionsClick() {
  LoadLanguage(LanguageName);
  FormExclusions->exec();
}

void TForm1::MAboutClick() {
  LoadLanguage(LanguageName);
  FormAbout->exec();
}

void TForm1::MCheckUpdateClick() {
  LoadLanguage(LanguageName);
  FormUpdate->ShowCheck();
}

}  // namespace pagelathe
