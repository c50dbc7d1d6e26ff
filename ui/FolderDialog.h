// TFolderDialog: picks a folder. The caller sets Directory, calls Execute, and reads the chosen
// folder back from Directory. Qt's folder chooser stands in for the shell's folder browser;
// tests replace the chooser. The options as the chooser honours them:
//   fdoNewDialogStyle     a resizable window that can make new folders
//   fdoNoNewFolderButton  no new folders, even in the new style
//   fdoEditBox            a field where a folder path can be typed
//   fdoBrowseForComputer, fdoBrowseForPrinter
//                         only computers or printers may be chosen; none has a folder path
//                         here, so Execute then returns false whatever is picked
//   the others            no counterpart; they only add their flag to BrowseFlags
#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/FileIO.h"

namespace pagelathe {

enum class TOptions {
  fdoBrowseForComputer,
  fdoBrowseForPrinter,
  fdoDontgoBelowDomain,
  fdoReturnFSAncestors,
  fdoReturnOnlyFSDirs,
  fdoStatusText,
  fdoNewDialogStyle,
  fdoNoNewFolderButton,
  fdoEditBox,
};
using TFolderOptions = std::set<TOptions>;

enum class TDialogPosition { fdpDefault, fdpScreenCenter, fdpXY };

// The browse flags of the options, summed as the shell counts them.
[[nodiscard]] unsigned BrowseFlags(const TFolderOptions& options);

// The version number: its bytes from the highest are the parts of "1.1.0.0".
[[nodiscard]] uint32_t GetVersionNr();

// DirectoryExists(path), true when the path exists and is a folder, is the platform's
// (platform/FileIO.h).

class TFolderDialog : public QObject {
  Q_OBJECT
 public:
  explicit TFolderDialog(const QString& name, QObject* parent = nullptr);

  std::string Caption;  // the chooser window's caption; empty keeps the default one
  std::string Title;    // text shown above the folder tree
  std::string Directory;
  TFolderOptions Options{TOptions::fdoNewDialogStyle};
  TDialogPosition DialogPosition = TDialogPosition::fdpDefault;
  int DialogX = 0;
  int DialogY = 0;

  [[nodiscard]] int ImageIndex() const { return image_index_; }
  [[nodiscard]] std::string Version() const;
  [[nodiscard]] std::string GetVersion() const { return Version(); }
  void SetVersion(const std::string&) {}  // writing the version has no effect

  void SetDirectory(const std::string& value) { Directory = value; }
  void SetTitle(const std::string& value) { Title = value; }
  void SetOptions(const TFolderOptions& value) { Options = value; }
  void SetDialogPosition(TDialogPosition value) { DialogPosition = value; }
  void SetDialogX(int value) { DialogX = value; }
  void SetDialogY(int value) { DialogY = value; }

  // Shows the chooser modally. When Directory does not exist it first becomes the process's
  // current folder (and stays so even on cancel). True when a folder with a path was chosen;
  // Directory is then that folder. Cancel gives false and leaves Directory as it was.
  bool Execute(QWidget* parent = nullptr);

  // Where the chooser window goes for a given desktop and window size (nothing: leave it).
  [[nodiscard]] std::optional<QPoint> Placement(QSize desktop, QSize window) const;

  // The chooser: gets the dialog (Directory already checked) and returns the chosen folder,
  // or nothing on cancel. Tests install their own; an empty chooser restores Qt's.
  using Chooser = std::function<std::optional<std::string>(TFolderDialog& dialog)>;
  static void SetChooser(Chooser chooser);

 private:
  int image_index_ = 0;
};

}  // namespace pagelathe
