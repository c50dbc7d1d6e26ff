// LoadLanguage and its key table: a language file relabels every window of the program.
// Each key reads its control's current text as the default, so a key that the file lacks
// leaves the control as the previous language left it.
#include "app/Localization.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/TForm1.h"
#include "platform/IniFile.h"
#include "tools/check/LinkCheckWindow.h"
#include "ui/Controls.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "update/FormUpdate.h"

namespace pagelathe {
namespace {

using P = LanguageProperty;

std::string* MessageText(TForm1& form, const std::string& window, const std::string& name) {
  if (window == "FormUpdate") {
    if (name == "StringCheckingForUpdates" && form.FormUpdate())
      return &form.FormUpdate()->StringCheckingForUpdates;
    return nullptr;
  }
  if (window == "FormLinkCheck") {
    auto* check = form.findChild<LinkCheckWindow*>("FormLinkCheck");
    if (!check) return nullptr;
    if (name == "StringCheckProgress") return &check->StringCheckProgress;
    if (name == "StringCheckStopped") return &check->StringCheckStopped;
    if (name == "StringCheckCollecting") return &check->StringCheckCollecting;
    return nullptr;
  }
  if (!window.empty()) return nullptr;
  static const std::pair<const char*, std::string MessageTexts::*> kTexts[] = {
      {"StringWords", &MessageTexts::StringWords},
      {"StringKeywords", &MessageTexts::StringKeywords},
      {"StringLastVersion", &MessageTexts::StringLastVersion},
      {"StringNewVersionIsAvailable", &MessageTexts::StringNewVersionIsAvailable},
      {"StringCantConnectToServer", &MessageTexts::StringCantConnectToServer},
      {"StringProccessedFiles", &MessageTexts::StringProccessedFiles},
      {"StringStop", &MessageTexts::StringStop},
      {"StringSearch", &MessageTexts::StringSearch},
      {"StringFolders", &MessageTexts::StringFolders},
      {"StringLinks", &MessageTexts::StringLinks},
      {"StringConvert", &MessageTexts::StringConvert},
      {"StringFetchingPage", &MessageTexts::StringFetchingPage},
  };
  for (const auto& [key, member] : kTexts)
    if (name == key) return &(form.Context().Texts().*member);
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
  if (auto* button = qobject_cast<QAbstractButton*>(widget))  // not the stop caption of a job
    return Slot([button] { return ButtonCaption(button); },
                [button](const QString& s) { SetButtonCaption(button, s); });
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

LanguageSlot ResolveLanguageKey(TForm1& form, const LanguageKey& key) {
  const std::string window = key.window;
  if (key.property == P::Message) {
    std::string* text = MessageText(form, window, key.control);
    if (!text) return {};
    return {[text] { return *text; }, [text](const std::string& value) { *text = value; }};
  }
  QObject* root = &form;
  if (!window.empty()) {
    // A tool's own window may belong to its page rather than to the main window.
    root = form.findChild<QDialog*>(QString::fromLatin1(key.window));
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
      if (auto* list = qobject_cast<QComboBox*>(object); list && key.index < list->count())
        return Slot([list, i = key.index] { return list->itemText(i); },
                    [list, i = key.index](const QString& s) { list->setItemText(i, s); });
      return {};
    case P::Column:
      return ColumnSlot(object, key.index);
    case P::Message:
      break;
  }
  return {};
}

void TForm1::LoadLanguage(const std::string& name) {
  findChild<QAction*>("MLangEnglish")->setChecked(name == "English");
  findChild<QAction*>("MLangRussian")->setChecked(name == "Russian");
  {
    const IniFile file(LanguageFileName(context_->Product().ProgramFolder, name));
    for (const LanguageKey& key : LanguageKeys()) {
      const LanguageSlot slot = ResolveLanguageKey(*this, key);
      if (!slot) continue;  // a control this build does not have
      const std::string current = slot.get();
      const std::string value = ReadLanguageValue(file, key, current);
      if (value != current) slot.set(value);
    }
  }
  // Last: the pages rebuild their count panels from the new message texts.
  context_->LanguageApplied();
}

}  // namespace pagelathe
