// The main window: menus, status bar, the five tool pages, the settings file and the
// secondary windows. It composes the pages and hands each page and dialog the page context;
// their handlers live with them.
#pragma once

#include <QMainWindow>
#include <string>
#include <vector>

class QTabWidget;

namespace pagelathe {

class PageContext;
class TFormAbout;
class TFormExclusions;
class TFormLanguage;
class TFormUpdate;
class ToolPage;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // Builds the window and runs its creation steps: product data, paths under
  // `program_folder` (which ends with "/"), secondary windows, the exclusion list, the
  // "projects" folder, the settings file and the language.
  explicit TForm1(const std::string& program_folder, QWidget* parent = nullptr);
  ~TForm1() override;

  // What the pages and dialogs are given: texts, paths, settings, lists, the status line.
  [[nodiscard]] PageContext& Context() const { return *context_; }

  // The one line of the status bar.
  void SetStatusText(const std::string& text);
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

  // The pages in tab order, and the one of a kind (Page<WebColorPage>()).
  [[nodiscard]] const std::vector<ToolPage*>& Pages() const { return pages_; }
  template <typename P>
  [[nodiscard]] P* Page() const {
    for (ToolPage* page : pages_)
      if (auto* found = qobject_cast<P*>(page)) return found;
    return nullptr;
  }
  [[nodiscard]] QTabWidget* PageControl1() const { return page_control_; }

  // Secondary windows, created with the main window and alive until it is destroyed.
  [[nodiscard]] TFormAbout* FormAbout() const { return form_about_; }
  [[nodiscard]] TFormLanguage* FormLanguage() const { return form_language_; }
  [[nodiscard]] TFormExclusions* FormExclusions() const { return form_exclusions_; }
  [[nodiscard]] TFormUpdate* FormUpdate() const { return form_update_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreatePages();
  void FormCreate();
  void ReadSettings();
  void LoadExclusions();

  // Shows `text` once the window's events run, so that an error met while the window is made
  // holds neither the making nor the first show (nor a close asked for meanwhile).
  void ShowErrorLater(const std::string& text);

  PageContext* context_ = nullptr;
  QTabWidget* page_control_ = nullptr;
  std::vector<ToolPage*> pages_;
  TFormAbout* form_about_ = nullptr;
  TFormLanguage* form_language_ = nullptr;
  TFormExclusions* form_exclusions_ = nullptr;
  TFormUpdate* form_update_ = nullptr;
  // Why the settings file could not be read at creation; it is then not written at close.
  std::string settings_read_error_;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace pagelathe
