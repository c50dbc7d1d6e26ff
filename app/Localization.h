// The language table: every key that a language file may set, in the order LoadLanguage
// reads them, and how each key finds its control (by objectName) in the running windows. The
// table and the reading of values are below the Qt line (LanguageKeys.cpp); finding the
// controls is not.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pagelathe {

class IniFile;
class TForm1;

// What a key sets on its control.
enum class LanguageProperty {
  Caption,  // a window title, menu title, action text, tab text, group box title or caption
  Filter,   // the "Filter" property of a file-type chooser or a file dialog
  Text,     // the text of a line edit
  Item,     // one item of a radio group or a drop-down list ("->Items->Strings[i]")
  Column,   // the header of one column of an item view ("->Column[i]->Caption")
  Message,  // a message text held by the main window or a dialog
};

struct LanguageKey {
  const char* window;   // "" for the main window, else the dialog's objectName
  const char* control;  // the control's objectName; "" for the dialog itself
  LanguageProperty property;
  int index;          // item or column number
  const char* owner;  // the page or dialog that builds the control; "" when it always exists
};

// Every key, in reading order: main window and pages, message texts, secondary dialogs.
[[nodiscard]] const std::vector<LanguageKey>& LanguageKeys();

// The key's name in the file, e.g. "FormUpdate->ButtonCheck->Caption",
// "RadioGroupLinks->Items->Strings[0]", "ListViewKW->Column[0]->Caption", "StringWords".
[[nodiscard]] std::string LanguageKeyName(const LanguageKey& key);

// A resolved key: reads and writes the value it stands for, in Windows-1251 bytes.
struct LanguageSlot {
  std::function<std::string()> get;
  std::function<void(const std::string&)> set;
  explicit operator bool() const { return static_cast<bool>(get); }
};

// Finds the key's control in `form` and its dialogs. An empty slot when the control does not
// exist (a page not built) or is of a kind the property does not apply to.
[[nodiscard]] LanguageSlot ResolveLanguageKey(TForm1& form, const LanguageKey& key);

// The value that the language file `file` gives the key: its entry in section "Interface",
// or `current` when the file has none.
[[nodiscard]] std::string ReadLanguageValue(const IniFile& file, const LanguageKey& key,
                                            const std::string& current);

// The language file of `name` below `program_folder` (which ends with "/").
[[nodiscard]] std::string LanguageFileName(const std::string& program_folder,
                                           const std::string& name);

}  // namespace pagelathe
