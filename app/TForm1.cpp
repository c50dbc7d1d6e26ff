// The main window: creation, first show, close, menus and the status bar.
#include "app/TForm1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QIcon>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "app/FormAbout.h"
#include "app/FormExclusions.h"
#include "app/FormLanguage.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Product.h"
#include "settings/AppSettings.h"
#include "tools/colour/GradientTextPage.h"
#include "tools/colour/WebColorPage.h"
#include "tools/converter/HtmlConverterPage.h"
#include "tools/keywords/KeywordsPage.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TWinXP.h"
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

TForm1::TForm1(const std::string& program_folder, QWidget* parent)
    : QMainWindow(parent), context_(new PageContext(this)) {
  setObjectName("Form1");
  context_->Product().ExclusionsFileName = "exclusions.dat";
  context_->Product().ProgramFolder = WithFinalSlash(program_folder);

  RegisterResources();
  const QIcon icon(":/icons/brevanoth-pagelathe.png");
  setWindowIcon(icon);
  QApplication::setWindowIcon(icon);

  QFont font = this->font();
  font.setPointSize(8);
  setFont(font);
  QApplication::setFont(font);  // dialogs and message boxes are windows of their own

  new TWinXP(this);
  auto* timer = new QTimer(this);
  timer->setObjectName("TimerConnection");
  timer->setInterval(1000);
  connect(timer, &QTimer::timeout, this, &TForm1::TimerConnectionTimer);

  CreateMenus();
  CreatePages();

  auto* status = new QStatusBar(this);
  status->setObjectName("StatusBar1");
  status->setSizeGripEnabled(false);
  status->setFixedHeight(kStatusBarHeight);
  setStatusBar(status);
  context_->AttachWindow(this, status);

  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    if (s == Qt::ApplicationActive && shown_) ApplicationEvents1Activate();
  });

  FormCreate();
  timer->start();
}

TForm1::~TForm1() {
  for (ToolPage* page : pages_)
    page->StopJobs();
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
  QMenu* file = menu("MFile", "File");
  entry(file, "MExit", "Exit", &TForm1::MExitClick);
  QMenu* settings = menu("MSettings", "Settings");
  entry(settings, "MExclusions", "Exclusions", &TForm1::MExclusionsClick)
      ->setShortcut(QKeySequence("Ctrl+E"));
  QMenu* language = settings->addMenu("Language");
  language->setObjectName("MLanguage");
  QAction* english = entry(language, "MLangEnglish", "English", &TForm1::MLangEnglishClick);
  QAction* russian = entry(language, "MLangRussian", "Russian", &TForm1::MLangRussianClick);
  english->setCheckable(true);
  russian->setCheckable(true);
  english->setChecked(true);
  QMenu* help = menu("MHelp", "Help");
  entry(help, "MContents", "Contents", &TForm1::MContentsClick)->setVisible(false);
  entry(help, "MCheckUpdate", "Check for updates ...", &TForm1::MCheckUpdateClick);
  entry(help, "MAbout", "About Program", &TForm1::MAboutClick);
}

void TForm1::CreatePages() {
  page_control_ = new QTabWidget(this);
  page_control_->setObjectName("PageControl1");
  page_control_->setDocumentMode(false);
  PageContext& context = *context_;
  pages_ = {new LinksGrabberPage(context), new HtmlConverterPage(context),
            new KeywordsPage(context), new WebColorPage(context), new GradientTextPage(context)};
  const char* captions[] = {"Links Grabber", "HTML Converter", "Keywords", "Web Color",
                            "Gradient Text"};
  for (size_t i = 0; i < pages_.size(); ++i)
    page_control_->addTab(pages_[i], captions[i]);
  setCentralWidget(page_control_);
}

void TForm1::FormCreate() {
  ProductData& product = context_->Product();
  product.ProductTitle = kProductTitle;
  product.ProductVersion = kProductVersion;
  product.UpdateBaseUrl = kUpdateBaseUrl;
  product.ProductPageUrl = product.UpdateBaseUrl + "/brevanoth_pagelathe.shtml";
  setWindowTitle(ToQ(kProductCaption));
  SetApplicationTitle(kProductCaption);

  const std::string& folder = product.ProgramFolder;
  product.VersionFile = folder + "version.txt";
  product.HelpFileEnglish = folder + "Help - EN.chm";
  product.HelpFileRussian = folder + "Help - RU.chm";
  product.SettingsFileName = SettingsFileFor(folder + "brevanoth-pagelathe");

  LoadExclusions();  // before the Exclusions window shows the list
  form_about_ = new TFormAbout(*context_, this);
  form_language_ = new TFormLanguage(*context_, this);
  connect(form_language_, &TFormLanguage::LanguageChosen, this, &TForm1::LoadLanguage);
  form_exclusions_ = new TFormExclusions(*context_, this);
  form_update_ = new TFormUpdate(*context_, this);

  CreateFolder(folder + "projects");  // a failure is ignored

  ReadSettings();
  for (ToolPage* page : pages_)
    page->ApplySettings(context_->Settings());

  LoadLanguage(context_->Settings().LanguageName);
}

void TForm1::LoadExclusions() {
  // A missing file is created empty; one that can be neither read nor created (a pipe or a
  // device in its place, one over the profile limit) leaves the list empty, and the error is
  // shown once the window is up while start-up goes on.
  const ProductData& product = context_->Product();
  const std::string exclusions = product.ProgramFolder + product.ExclusionsFileName;
  TextList& lines = context_->ExclusionLines();
  try {
    if (!FileExists(exclusions)) WriteFileAtomic(exclusions, "", Durability::kSynced);
    lines = LoadTextList(exclusions, kProfileLimit);
  } catch (const EFileError& error) {
    lines.clear();
    ShowErrorLater(error.what());
  }
}

void TForm1::ReadSettings() {
  ProductData& product = context_->Product();
  // A settings file that cannot be read gives the defaults, and is kept as it is: the close
  // does not replace it with a file of defaults.
  const IniFile ini(product.SettingsFileName);
  context_->Settings() = ReadAppSettings(ini, product.ProgramFolder);
  settings_read_error_ = ini.ReadError();
  if (!settings_read_error_.empty()) {
    std::string message = settings_read_error_;
    message.append(" The settings start from their defaults and are not saved.");
    ShowErrorLater(message);
  }
  const std::string& server = context_->Settings().UpdateServer;
  if (!server.empty()) {
    // Another update service (a mirror, or a test server) moves the product page with it.
    product.UpdateBaseUrl = server;
    while (!product.UpdateBaseUrl.empty() && product.UpdateBaseUrl.back() == '/')
      product.UpdateBaseUrl.pop_back();
    product.ProductPageUrl = product.UpdateBaseUrl + "/brevanoth_pagelathe.shtml";
  }
}

void TForm1::FormShow() {
  AppSettings& settings = context_->Settings();
  if (settings.FirstStart) {
    settings.FirstStart = false;
    form_language_->ShowChoice();
  }
  page_control_->setCurrentIndex(0);
  for (ToolPage* page : pages_)
    page->FirstShow();
}

void TForm1::FormClose() {
  for (ToolPage* page : pages_)
    page->StopJobs();
  // The fields as they are, then what the pages' controls hold; what no page keeps goes back
  // as it was read.
  AppSettings settings = context_->Settings();
  for (ToolPage* page : pages_)
    page->StoreSettings(settings);
  if (!settings_read_error_.empty()) return;  // said at the start; the user's file stays
  IniFile ini(context_->Product().SettingsFileName);
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
  form_update_->RefreshConnectionState();
}

void TForm1::SetStatusText(const std::string& text) {
  context_->SetStatusText(text);
}

std::string TForm1::StatusText() const {
  return context_->StatusText();
}

void TForm1::MExitClick() {
  close();
}

void TForm1::MContentsClick() {
  const std::string& language = context_->Settings().LanguageName;
  std::string file;
  if (language == "English") file = context_->Product().HelpFileEnglish;
  if (language == "Russian") file = context_->Product().HelpFileRussian;
  if (!file.empty()) QDesktopServices::openUrl(QUrl::fromLocalFile(ToQ(file)));
}

void TForm1::MLangEnglishClick() {
  context_->Settings().LanguageName = "English";
  LoadLanguage("English");
}

void TForm1::MLangRussianClick() {
  context_->Settings().LanguageName = "Russian";
  LoadLanguage("Russian");
}

void TForm1::MExclusionsClick() {
  LoadLanguage(context_->Settings().LanguageName);
  form_exclusions_->exec();
}

void TForm1::MAboutClick() {
  LoadLanguage(context_->Settings().LanguageName);
  form_about_->exec();
}

void TForm1::MCheckUpdateClick() {
  LoadLanguage(context_->Settings().LanguageName);
  form_update_->ShowCheck();
}

}  // namespace pagelathe
