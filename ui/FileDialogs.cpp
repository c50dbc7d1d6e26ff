// The Qt file dialog behind TFileDialog, with the original's filter format translated.
#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QStringList>

#include "platform/FolderList.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

TFileDialog::Chooser& CurrentChooser() {
  static TFileDialog::Chooser chooser;
  return chooser;
}

// Qt takes the masks of an entry from the parentheses at its end. The entry shows only what
// comes before them (HideNameFilterDetails), so the description stays as the filter text has it,
// masks and all, and a mask is never shown twice.
QStringList QtFilters(const QString& filter) {
  QStringList result;
  for (const auto& entry : ParseFilter(FromQ(filter))) {
    QString masks = ToQ(entry.masks);
    masks.replace(';', ' ');
    result << ToQ(entry.description) + " (" + masks + ")";
  }
  return result;
}

}  // namespace

TFileDialog::TFileDialog(const QString& name, Kind kind, QObject* parent)
    : QObject(parent), kind_(kind) {
  setObjectName(name);
}

void TFileDialog::SetChooser(Chooser chooser) {
  CurrentChooser() = std::move(chooser);
}

bool RunQtFileDialog(TFileDialog& dialog, QWidget* parent) {
  QFileDialog qt(parent, dialog.Title);
  qt.setOption(QFileDialog::DontUseNativeDialog);  // the type-change hook needs Qt's own dialog
  qt.setOption(QFileDialog::HideNameFilterDetails);
  qt.setAcceptMode(dialog.kind_ == TFileDialog::Kind::Save ? QFileDialog::AcceptSave
                                                           : QFileDialog::AcceptOpen);
  qt.setFileMode(dialog.kind_ == TFileDialog::Kind::Save ? QFileDialog::AnyFile
                                                         : QFileDialog::ExistingFile);
  if (dialog.kind_ == TFileDialog::Kind::Save)
    qt.setOption(QFileDialog::DontConfirmOverwrite, false);
  const QStringList filters = QtFilters(dialog.Filter());
  qt.setNameFilters(filters);
  if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
    qt.selectNameFilter(filters[dialog.FilterIndex - 1]);
  QString ext = dialog.DefaultExt;
  if (ext.startsWith("*.")) ext = ext.mid(2);
  if (ext.startsWith('.')) ext = ext.mid(1);
  if (!ext.isEmpty() && ext != "*") qt.setDefaultSuffix(ext);
  if (!dialog.InitialDir.isEmpty()) qt.setDirectory(dialog.InitialDir);
  if (!dialog.FileName.isEmpty()) qt.selectFile(dialog.FileName);
  dialog.live_ = &qt;
  QObject::connect(&qt, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
    dialog.FilterIndex = static_cast<int>(filters.indexOf(chosen)) + 1;
    emit dialog.TypeChange();
  });
  const bool accepted = qt.exec() == QDialog::Accepted && !qt.selectedFiles().isEmpty();
  dialog.live_ = nullptr;
  if (!accepted) return false;
  dialog.FileName = qt.selectedFiles().front();
  dialog.FilterIndex = static_cast<int>(filters.indexOf(qt.selectedNameFilter())) + 1;
  return true;
}

bool TFileDialog::Execute(QWidget* parent) {
  if (CurrentChooser()) return CurrentChooser()(*this);
  return RunQtFileDialog(*this, parent);
}

QString TFileDialog::LiveFileName() const {
  if (!live_) return FileName;
  if (auto* edit = live_->findChild<QLineEdit*>("fileNameEdit")) return edit->text();
  return FileName;
}

void TFileDialog::SetLiveFileName(const QString& name) {
  FileName = name;
  if (!live_) return;
  if (auto* edit = live_->findChild<QLineEdit*>("fileNameEdit")) edit->setText(name);
}

}  // namespace pagelathe
