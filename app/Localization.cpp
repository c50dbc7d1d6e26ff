// LoadLanguage and its key table: a language file relabels every window of the program.
// Each key reads its control's current text as the default, so a key that the file lacks
// leaves the control as the previous language left it.
#include "app/Localization.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/TForm1.h"
#include "app/ToolPage.h"
#include "platform/IniFile.h"
#include "ui/Controls.h"
#include "ui/Text1251.h"
#include "update/FormUpdate.h"

namespace pagelathe {
namespace {

using P = LanguageProperty;

constexpr const char* kSection = "Interface";
constexpr const char* kLinks = "TabSheetLinksGrabber";
constexpr const char* kConverter = "TabSheetHtmlConverter";
constexpr const char* kKeywords = "TabSheetKeywords";
constexpr const char* kWebColor = "TabSheetWebColor";
constexpr const char* kGradient = "TabSheetGradientText";

LanguageKey C(const char* control, const char* owner = "") {
  return {"", control, P::Caption, 0, owner};
}

const std::vector<LanguageKey> kKeys = {
    // Main window and menu.
    C("Form1"),
    C("MFile"),
    C("MExit"),
    C("MSettings"),
    C("MExclusions"),
    C("MLanguage"),
    C("MLangEnglish"),
    C("MLangRussian"),
    C("MHelp"),
    C("MContents"),
    C("MCheckUpdate"),
    C("MAbout"),
    // Links Grabber.
    C("TabSheetLinksGrabber"),
    C("LabelUrl", kLinks),
    C("LabelFolder", kLinks),
    C("ButtonSourceFolder", kConverter),
    C("PanelLinks", kLinks),
    {"", "FilterComboBoxFiles", P::Filter, 0, kLinks},
    C("ButtonGetUrl", kLinks),
    C("GroupBoxSearchType", kLinks),
    C("RadioGroupLinks", kLinks),
    {"", "RadioGroupLinks", P::Item, 0, kLinks},
    {"", "RadioGroupLinks", P::Item, 1, kLinks},
    {"", "RadioGroupLinks", P::Item, 2, kLinks},
    C("RadioGroupView", kLinks),
    {"", "RadioGroupView", P::Item, 0, kLinks},
    {"", "RadioGroupView", P::Item, 1, kLinks},
    {"", "RadioGroupView", P::Item, 2, kLinks},
    C("ButtonSearchLinks", kLinks),
    C("CheckBoxSubDirs", kLinks),
    C("CheckBoxSort", kLinks),
    C("CheckBoxNoHttp", kLinks),
    C("ButtonClearLinks", kLinks),
    C("ButtonToClipboard", kLinks),
    C("ButtonFromClipboard", kLinks),
    C("ButtonRemove", kLinks),
    C("ButtonSave", kLinks),
    {"", "OpenDialog1", P::Filter, 0, kKeywords},
    {"", "SaveDialog1", P::Filter, 0, kLinks},
    // HTML Converter (its source folder button is read with the Links Grabber's keys and
    // again here).
    C("TabSheetHtmlConverter"),
    C("GroupBoxFolders", kConverter),
    C("LabelSourceFolder", kConverter),
    C("LabelResultFolder", kConverter),
    C("ButtonSourceFolder", kConverter),
    C("ButtonResultFolder", kConverter),
    C("GroupBoxSourceFiles", kConverter),
    C("LabelCharPerLine", kConverter),
    {"", "FilterComboBox1", P::Filter, 0, kConverter},
    C("RadioGroupConvertOptions", kConverter),
    {"", "RadioGroupConvertOptions", P::Item, 0, kConverter},
    {"", "RadioGroupConvertOptions", P::Item, 1, kConverter},
    C("CheckBoxSubfolders", kConverter),
    C("cbLimit", kConverter),
    C("ButtonConvert", kConverter),
    // Keywords: search and page creator.
    C("TabSheetKeywords"),
    C("TabSheetKeywordsSearch", kKeywords),
    C("PanelKWText", kKeywords),
    C("PanelKWWords", kKeywords),
    C("PanelKWKeywords", kKeywords),
    {"", "ListViewKW", P::Column, 0, kKeywords},
    C("LabelSearchLength", kKeywords),
    C("LabelSearchFreq", kKeywords),
    C("cbCase", kKeywords),
    C("ButtonKWCheck", kKeywords),
    C("ButtonKWUncheck", kKeywords),
    C("ButtonKWAdd", kKeywords),
    C("ButtonKWRemove", kKeywords),
    C("ButtonKWInsert", kKeywords),
    C("ButtonOpenFile", kKeywords),
    C("ButtonKWSearch", kKeywords),
    C("ButtonKWClearText", kKeywords),
    C("ButtonKWClear", kKeywords),
    C("TabSheetKeywordsCreate", kKeywords),
    C("LabelPageTitle", kKeywords),
    C("LabelPageKW", kKeywords),
    C("LabelPageDesc", kKeywords),
    C("LabelPageText", kKeywords),
    C("cbInsertText", kKeywords),
    C("PanelPageCode", kKeywords),
    C("ButtonPageCreate", kKeywords),
    C("ButtonPageSave", kKeywords),
    C("ButtonPagePreview", kKeywords),
    // Web Color and Gradient Text. The input text is read twice, as it always was.
    C("TabSheetWebColor"),
    C("LabelRedWeb", kWebColor),
    C("LabelGreenWeb", kWebColor),
    C("LabelBlueWeb", kWebColor),
    C("LabelWebColor", kWebColor),
    C("TabSheetGradientText"),
    {"", "EditText", P::Text, 0, kGradient},
    {"", "EditText", P::Text, 0, kGradient},
    C("LabelFontType", kGradient),
    C("LabelFontSize", kGradient),
    C("LabelText", kGradient),
    C("GroupBoxColorStart", kGradient),
    C("LabelRedStart", kGradient),
    C("LabelGreenStart", kGradient),
    C("LabelBlueStart", kGradient),
    C("GroupBoxColorEnd", kGradient),
    C("LabelRedEnd", kGradient),
    C("LabelGreenEnd", kGradient),
    C("LabelBlueEnd", kGradient),
    C("PanelGradientText", kGradient),
    // Message texts of the main window.
    {"", "StringWords", P::Message, 0, ""},
    {"", "StringKeywords", P::Message, 0, ""},
    {"", "StringLastVersion", P::Message, 0, ""},
    {"", "StringNewVersionIsAvailable", P::Message, 0, ""},
    {"", "StringCantConnectToServer", P::Message, 0, ""},
    {"", "StringProccessedFiles", P::Message, 0, ""},
    {"", "StringStop", P::Message, 0, ""},
    {"", "StringSearch", P::Message, 0, ""},
    {"", "StringFolders", P::Message, 0, ""},
    {"", "StringLinks", P::Message, 0, ""},
    {"", "StringConvert", P::Message, 0, ""},
    {"", "StringFetchingPage", P::Message, 0, ""},
    // Secondary dialogs.
    {"FormExclusions", "", P::Caption, 0, ""},
    {"FormUpdate", "", P::Caption, 0, ""},
    {"FormUpdate", "ButtonClose", P::Caption, 0, "FormUpdate"},
    {"FormUpdate", "ButtonCheck", P::Caption, 0, "FormUpdate"},
    {"FormUpdate", "StringCheckingForUpdates", P::Message, 0, ""},
    {"FormAbout", "", P::Caption, 0, ""},
    {"FormAbout", "LabelAbout", P::Caption, 0, ""},
    {"FormAbout", "LabelAuthor", P::Caption, 0, ""},
    {"FormAbout", "LabelSite", P::Caption, 0, ""},
};

std::string* MessageText(TForm1& form, const std::string& window, const std::string& name) {
  if (window == "FormUpdate") {
    if (name == "StringCheckingForUpdates" && form.FormUpdate)
      return &form.FormUpdate->StringCheckingForUpdates;
    return nullptr;
  }
  if (!window.empty()) return nullptr;
  static const std::pair<const char*, std::string TForm1::*> kTexts[] = {
      {"StringWords", &TForm1::StringWords},
      {"StringKeywords", &TForm1::StringKeywords},
      {"StringLastVersion", &TForm1::StringLastVersion},
      {"StringNewVersionIsAvailable", &TForm1::StringNewVersionIsAvailable},
      {"StringCantConnectToServer", &TForm1::StringCantConnectToServer},
      {"StringProccessedFiles", &TForm1::StringProccessedFiles},
      {"StringStop", &TForm1::StringStop},
      {"StringSearch", &TForm1::StringSearch},
      {"StringFolders", &TForm1::StringFolders},
      {"StringLinks", &TForm1::StringLinks},
      {"StringConvert", &TForm1::StringConvert},
      {"StringFetchingPage", &TForm1::StringFetchingPage},
  };
  for (const auto& [key, member] : kTexts)
    if (name == key) return &(form.*member);
  return nullptr;
}

bool InsideDialog(const QObject* object, const QObject* root) {
  for (const QObject* p = object; p && p != root; p = p->parent())
    if (qobject_cast<const QDialog*>(p)) return true;
  return false;
}

// The named object below `root`: for the main window, one that is not part of a secondary
// dialog (dialogs are children of the main window but have their own keys).
QObject* FindNamed(QObject* root, const QString& name) {
  if (root->objectName() == name) return root;
  const bool is_dialog = qobject_cast<QDialog*>(root) != nullptr;
  for (QObject* found : root->findChildren<QObject*>(name))
    if (is_dialog || !InsideDialog(found, root)) return found;
  return nullptr;
}

// The tab widget that shows `page` as one of its tabs.
QTabWidget* TabsOf(QWidget* page) {
  for (QWidget* p = page->parentWidget(); p; p = p->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(p)) return tabs->indexOf(page) >= 0 ? tabs : nullptr;
  return nullptr;
}

template <typename Get, typename Set>
LanguageSlot Slot(Get get, Set set) {
  return {[get] { return FromQ(get()); }, [set](const std::string& value) { set(ToQ(value)); }};
}

LanguageSlot CaptionSlot(QObject* object) {
  if (auto* menu = qobject_cast<QMenu*>(object))
    return Slot([menu] { return menu->title(); }, [menu](const QString& s) { menu->setTitle(s); });
  if (auto* action = qobject_cast<QAction*>(object))
    return Slot([action] { return action->text(); },
                [action](const QString& s) { action->setText(s); });
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return {};
  if (widget->isWindow())
    return Slot([widget] { return widget->windowTitle(); },
                [widget](const QString& s) { widget->setWindowTitle(s); });
  if (QTabWidget* tabs = TabsOf(widget))
    return Slot([tabs, widget] { return tabs->tabText(tabs->indexOf(widget)); },
                [tabs, widget](const QString& s) { tabs->setTabText(tabs->indexOf(widget), s); });
  if (auto* group = qobject_cast<QGroupBox*>(widget))
    return Slot([group] { return group->title(); },
                [group](const QString& s) { group->setTitle(s); });
  if (auto* label = qobject_cast<QLabel*>(widget))
    return Slot([label] { return label->text(); },
                [label](const QString& s) { label->setText(s); });
  if (auto* button = qobject_cast<QAbstractButton*>(widget))
    return Slot([button] { return button->text(); },
                [button](const QString& s) { button->setText(s); });
  return {};
}

LanguageSlot ColumnSlot(QObject* object, int column) {
  if (auto* tree = qobject_cast<QTreeWidget*>(object)) {
    if (column >= tree->columnCount()) return {};
    return Slot([tree, column] { return tree->headerItem()->text(column); },
                [tree, column](const QString& s) { tree->headerItem()->setText(column, s); });
  }
  auto* view = qobject_cast<QAbstractItemView*>(object);
  if (!view || !view->model() || column >= view->model()->columnCount()) return {};
  return Slot(
      [view, column] { return view->model()->headerData(column, Qt::Horizontal).toString(); },
      [view, column](const QString& s) {
        view->model()->setHeaderData(column, Qt::Horizontal, s);
      });
}

// The text of an input edit is a sample that the language file provides. Once the user has
// typed his own text it is his: a language applied later (every time a dialog is opened from
// the menu) must not throw it away. The sample last shown is kept on the edit to tell.
LanguageSlot EditTextSlot(QLineEdit* edit) {
  static const char* const kSample = "languageSample";
  if (!edit->property(kSample).isValid()) edit->setProperty(kSample, edit->text());  // built-in
  return Slot([edit] { return edit->text(); },
              [edit](const QString& s) {
                if (edit->property(kSample).toString() != edit->text()) return;
                edit->setText(s);
                edit->setProperty(kSample, s);
              });
}

}  // namespace

const std::vector<LanguageKey>& LanguageKeys() {
  return kKeys;
}

std::string LanguageKeyName(const LanguageKey& key) {
  std::string name = key.window;
  const std::string control = key.control;
  if (!name.empty() && !control.empty()) name += "->";
  name += control;
  switch (key.property) {
    case P::Caption:
      return name + "->Caption";
    case P::Filter:
      return name + "->Filter";
    case P::Text:
      return name + "->Text";
    case P::Item:
      return name + "->Items->Strings[" + std::to_string(key.index) + "]";
    case P::Column:
      return name + "->Column[" + std::to_string(key.index) + "]->Caption";
    case P::Message:
      return name;
  }
  return name;
}

std::string LanguageFileName(const std::string& program_folder, const std::string& name) {
  return program_folder + "language/" + name + ".ini";
}

LanguageSlot ResolveLanguageKey(TForm1& form, const LanguageKey& key) {
  const std::string window = key.window;
  if (key.property == P::Message) {
    std::string* text = MessageText(form, window, key.control);
    if (!text) return {};
    return {[text] { return *text; }, [text](const std::string& value) { *text = value; }};
  }
  QObject* root = &form;
  if (!window.empty()) {
    root = form.findChild<QDialog*>(QString::fromLatin1(key.window), Qt::FindDirectChildrenOnly);
    if (!root) return {};
  }
  const std::string control = key.control;
  QObject* object = control.empty() ? root : FindNamed(root, QString::fromLatin1(key.control));
  if (!object) return {};
  switch (key.property) {
    case P::Caption:
      return CaptionSlot(object);
    case P::Filter:
      if (!object->property("Filter").isValid()) return {};
      return Slot([object] { return object->property("Filter").toString(); },
                  [object](const QString& s) { object->setProperty("Filter", s); });
    case P::Text:
      if (auto* edit = qobject_cast<QLineEdit*>(object)) return EditTextSlot(edit);
      return {};
    case P::Item:
      if (auto* group = qobject_cast<TRadioGroup*>(object); group && key.index < group->Count())
        return Slot([group, i = key.index] { return group->ItemText(i); },
                    [group, i = key.index](const QString& s) { group->SetItemText(i, s); });
      return {};
    case P::Column:
      return ColumnSlot(object, key.index);
    case P::Message:
      break;
  }
  return {};
}

void TForm1::LoadLanguage(const std::string& name) {
  MLangEnglish->setChecked(name == "English");
  MLangRussian->setChecked(name == "Russian");
  {
    const IniFile file(LanguageFileName(ProgramFolder, name));
    for (const LanguageKey& key : kKeys) {
      const LanguageSlot slot = ResolveLanguageKey(*this, key);
      if (!slot) continue;  // a control this build does not have
      const std::string current = slot.get();
      const std::string value = file.ReadString(kSection, LanguageKeyName(key), current);
      if (value != current) slot.set(value);
    }
  }
  // Last: the keywords page rebuilds its count panels from the new message texts.
  for (ToolPage* page : pages_)
    page->LanguageApplied();
}

}  // namespace pagelathe
