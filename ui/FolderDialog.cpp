// The folder chooser on Qt's own file dialog, placed and captioned as the properties say.
#include "ui/FolderDialog.h"

#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/FileIO.h"
#include "platform/Letters.h"
#include "platform/Paths.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

TFolderDialog::Chooser& CurrentFolderChooser() {
  static TFolderDialog::Chooser chooser;
  return chooser;
}

bool Has(const TFolderDialog& dialog, TOptions option) {
  return dialog.Options.count(option) > 0;
}

void HideChild(QObject* root, const char* name) {
  if (auto* widget = root->findChild<QWidget*>(QString::fromLatin1(name))) widget->hide();
}

// The folders in the order of every sorted list of the program (platform/Letters.h), the same
// on every machine, instead of the view's own collation.
class FolderOrder : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    if (left.column() != 0) return QSortFilterProxyModel::lessThan(left, right);
    return CompareText(FromQ(left.data().toString()), FromQ(right.data().toString())) < 0;
  }
};

// Qt's own folder view inside a window of ours, so that the title can stand above the tree
// and the window can be placed before it shows.
std::optional<std::string> RunQtChooser(TFolderDialog& dialog, QWidget* parent) {
  QDialog window(parent);
  window.setObjectName("FolderBrowser");
  window.setWindowTitle(dialog.Caption.empty() ? QStringLiteral("Browse for Folder")
                                               : ToQ(dialog.Caption));
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(8, 8, 8, 8);
  if (!dialog.Title.empty()) {
    auto* title = new QLabel(ToQ(dialog.Title), &window);
    title->setObjectName("FolderTitle");
    title->setWordWrap(true);
    layout->addWidget(title);
  }
  auto* view = new QFileDialog(&window);
  view->setObjectName("FolderView");
  view->setWindowFlags(Qt::Widget);
  view->setOption(QFileDialog::DontUseNativeDialog);  // so that it can be embedded and placed
  view->setFileMode(QFileDialog::Directory);
  view->setOption(QFileDialog::ShowDirsOnly);
  view->setAcceptMode(QFileDialog::AcceptOpen);
  const bool new_style = Has(dialog, TOptions::fdoNewDialogStyle);
  if (!new_style || Has(dialog, TOptions::fdoNoNewFolderButton)) {
    view->setOption(QFileDialog::ReadOnly);
    HideChild(view, "newFolderButton");
  }
  if (!Has(dialog, TOptions::fdoEditBox)) {
    HideChild(view, "fileNameLabel");
    HideChild(view, "fileNameEdit");
  }
  HideChild(view, "fileTypeLabel");
  HideChild(view, "fileTypeCombo");
  auto* order = new FolderOrder(view);
  view->setProxyModel(order);
  order->sort(0);
  view->setDirectory(ToQ(dialog.Directory));
  layout->addWidget(view);
  QObject::connect(view, &QDialog::accepted, &window, &QDialog::accept);
  QObject::connect(view, &QDialog::rejected, &window, &QDialog::reject);
  window.resize(520, 380);
  if (!new_style) window.setFixedSize(window.size());
  QTimer::singleShot(0, &window, [&window, &dialog] {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QSize desktop = screen ? screen->geometry().size() : QSize(1024, 768);
    if (auto at = dialog.Placement(desktop, window.frameGeometry().size())) window.move(*at);
  });
  if (window.exec() != QDialog::Accepted || view->selectedFiles().isEmpty()) return std::nullopt;
  return PathFromDialog(view->selectedFiles().front());
}

}  // namespace

unsigned BrowseFlags(const TFolderOptions& options) {
  unsigned flags = 0;
  for (TOptions option : options) {
    switch (option) {
      case TOptions::fdoBrowseForComputer:
        flags += 4096;
        break;
      case TOptions::fdoBrowseForPrinter:
        flags += 8192;
        break;
      case TOptions::fdoDontgoBelowDomain:
        flags += 2;
        break;
      case TOptions::fdoReturnFSAncestors:
        flags += 8;
        break;
      case TOptions::fdoReturnOnlyFSDirs:
        flags += 1;
        break;
      case TOptions::fdoStatusText:
        flags += 4;
        break;
      case TOptions::fdoNewDialogStyle:
        flags += 64;
        break;
      case TOptions::fdoNoNewFolderButton:
        flags += 512;
        break;
      case TOptions::fdoEditBox:
        flags += 16;
        break;
    }
  }
  return flags;
}

uint32_t GetVersionNr() {
  return (1u << 24) | (1u << 16) | (0u << 8) | 0u;
}

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

void TFolderDialog::SetChooser(Chooser chooser) {
  CurrentFolderChooser() = std::move(chooser);
}

bool TFolderDialog::Execute(QWidget* parent) {
  if (!DirectoryExists(Directory)) Directory = CurrentFolder();
  std::optional<std::string> chosen;
  try {
    chosen = CurrentFolderChooser() ? CurrentFolderChooser()(*this) : RunQtChooser(*this, parent);
  } catch (...) {
    chosen.reset();  // a failure while the chooser is shown counts as no choice
  }
  // Computers and printers have no folder path: such a choice is no choice.
  if (Has(*this, TOptions::fdoBrowseForComputer) || Has(*this, TOptions::fdoBrowseForPrinter))
    return false;
  if (!chosen || chosen->empty() || !DirectoryExists(*chosen)) return false;
  Directory = *chosen;
  image_index_ = 0;  // no system image list here; the folder icon is always the first
  return true;
}

}  // namespace pagelathe
