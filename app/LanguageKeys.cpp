// The language table: every key a language file may set, in reading order, its name in the
// file, and how its value is read. Plain data and text, without the windows it applies to, so
// that the reading of a language file can be tested and fuzzed on its own.
#include "app/Localization.h"

#include "platform/IniFile.h"

namespace pagelathe {
namespace {

using P = LanguageProperty;

constexpr const char* kSection = "Interface";

constexpr const char* kLinks = "TabSheetLinksGrabber";
constexpr const char* kConverter = "TabSheetHtmlConverter";
constexpr const char* kKeywords = "TabSheetKeywords";
constexpr const char* kWebColor = "TabSheetWebColor";
constexpr const char* kGradient = "TabSheetGradientText";
constexpr const char* kCheck = "FormLinkCheck";

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
    C("ButtonCheckLinks", kLinks),
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
    // The link check window of the Links Grabber.
    {kCheck, "", P::Caption, 0, kCheck},
    {kCheck, "LabelCheckFilter", P::Caption, 0, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 0, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 1, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 2, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 3, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 4, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 5, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 6, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 7, kCheck},
    {kCheck, "ComboBoxCheckFilter", P::Item, 8, kCheck},
    {kCheck, "TableCheckLinks", P::Column, 0, kCheck},
    {kCheck, "TableCheckLinks", P::Column, 1, kCheck},
    {kCheck, "TableCheckLinks", P::Column, 2, kCheck},
    {kCheck, "TableCheckLinks", P::Column, 3, kCheck},
    {kCheck, "TableCheckLinks", P::Column, 4, kCheck},
    {kCheck, "ButtonCheckStop", P::Caption, 0, kCheck},
    {kCheck, "ButtonCheckCopy", P::Caption, 0, kCheck},
    {kCheck, "ButtonCheckSave", P::Caption, 0, kCheck},
    {kCheck, "ButtonCheckClose", P::Caption, 0, kCheck},
    {kCheck, "SaveDialogCheck", P::Filter, 0, kCheck},
    {kCheck, "StringCheckProgress", P::Message, 0, kCheck},
    {kCheck, "StringCheckStopped", P::Message, 0, kCheck},
    {kCheck, "StringCheckCollecting", P::Message, 0, kCheck},
    {"FormAbout", "", P::Caption, 0, ""},
    {"FormAbout", "LabelAbout", P::Caption, 0, ""},
    {"FormAbout", "LabelAuthor", P::Caption, 0, ""},
    {"FormAbout", "LabelSite", P::Caption, 0, ""},
};

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

std::string ReadLanguageValue(const IniFile& file, const LanguageKey& key,
                              const std::string& current) {
  return file.ReadString(kSection, LanguageKeyName(key), current);
}

}  // namespace pagelathe
