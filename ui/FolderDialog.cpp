// The folder chooser on Qt's own file dialog, placed and captioned as the properties say.
#include "ui/FolderDialog.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "ui/Text1251.h"

namespace pagelathe {
namespace {

TFolderDialog::Chooser& CurrentChooser() {
  static TFolderDialog::Chooser chooser;
  return chooser;
}

std::optional<std::string> RunQtChooser(TFolderDialog& dialog, QWidget* parent) {
  QFileDialog qt(parent);
  qt.setOption(QFileDialog::DontUseNativeDialog);  // so that it can be placed
  qt.setFileMode(QFileDialog::Directory);
  qt.setOption(QFileDialog::ShowDirsOnly);
  qt.setAcceptMode(QFileDialog::AcceptOpen);
  qt.setDirectory(ToQ(dialog.Directory));
  qt.setWindowTitle(dialog.Caption.empty() ? QObject::tr("Browse for Folder") : ToQ(dialog.Caption));
  if (!dialog.Title.empty()) qt.setLabelText(QFileDialog::LookIn, ToQ(dialog.Title));
  QTimer::singleShot(0, &qt, [&qt, &dialog] {
    const QScreen* screen = qt.screen() ? qt.screen() : QGuiApplication::primaryScreen();
    const QSize desktop = screen ? screen->geometry().size() : QSize(1024, 768);
    if (auto at = dialog.Placement(desktop, qt.frameGeometry().size())) qt.move(*at);
  });
  if (qt.exec() != QDialog::Accepted || qt.selectedFiles().isEmpty()) return std::nullopt;
  return FromQ(qt.selectedFiles().front());
}

}  // namespace

unsigned BrowseFlags(const TFolderOptions& options) {
  unsigned flags = 0;
  for (TOptions option : options) {
    switch (option) {
      case TOptions::fdoBrowseForComputer: flags += 4096; break;
      case TOptions::fdoBrowseForPrinter: flags += 8192; break;
      case TOptions::fdoDontgoBelowDomain: flags += 2; break;
      case TOptions::fdoReturnFSAncestors: flags += 8; break;
      case TOptions::fdoReturnOnlyFSDirs: flags += 1; break;
      case TOptions::fdoStatusText: flags += 4; break;
      case TOptions::fdoNewDialogStyle: flags += 64; break;
      case TOptions::fdoNoNewFolderButton: flags += 512; break;
      case TOptions::fdoEditBox: flags += 16; break;
    }
  }
  return flags;
}

uint32_t GetVersionNr() { return (1u << 24) | (1u << 16) | (0u << 8) | 0u; }

TFolderDialog::TFolderDialog(const QString& name, QObject* parent) : QObject(parent) {
  setObjectName(name);
  Directory = CurrentFolder();
}

std::string TFolderDialog::Version() const {
  const uint32_t v = GetVersionNr();
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

std::optional<QPoint> TFolderDialog::Placement(QSize desktop, QSize window) const {
  switch (DialogPosition) {
    case TDialogPosition::fdpDefault:
      return std::nullopt;
    case TDialogPosition::fdpScreenCenter:
      return QPoint(desktop.width() / 2 - window.width() / 2,
                    desktop.height() / 2 - window.height() / 2);
    case TDialogPosition::fdpXY:
      return QPoint(std::max(0, DialogX), std::max(0, DialogY));
  }
  return std::nullopt;
}

void TFolderDialog::SetChooser(Chooser chooser) { CurrentChooser() = std::move(chooser); }

bool TFolderDialog::Execute(QWidget* parent) {
  if (!DirectoryExists(Directory)) Directory = CurrentFolder();
  std::optional<std::string> chosen;
  try {
    chosen = CurrentChooser() ? CurrentChooser()(*this) : RunQtChooser(*this, parent);
  } catch (...) {
    chosen.reset();  // a failure while the chooser is shown counts as no choice
  }
  // Computers and printers have no folder path: such a choice is no choice.
  if (!chosen || chosen->empty() || !DirectoryExists(*chosen)) return false;
  Directory = *chosen;
  image_index_ = 0;  // no system image list here; the folder icon is always the first
  return true;
}

}  // namespace pagelathe
