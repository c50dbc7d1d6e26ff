// Small controls that several pages share and that Qt lacks as such: a radio group with
// numbered items, a file-type chooser driven by a filter text, a list of the files of one
// folder, and a captioned panel.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

#include "platform/FolderList.h"

class QAbstractButton;
class QButtonGroup;
class QVBoxLayout;

namespace pagelathe {

// Creates a control with its objectName set, the name by which the language loader and the
// tests find it: Named<QLabel>("LabelUrl", "URL:", parent).
template <typename T, typename... Args>
T* Named(const char* name, Args&&... args) {
  auto* control = new T(std::forward<Args>(args)...);
  control->setObjectName(name);
  return control;
}

// A group box of radio buttons addressed by index. ItemIndex -1 selects none.
class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                       QWidget* parent = nullptr);
  [[nodiscard]] int ItemIndex() const { return item_index_; }
  // Selects an item (or none with -1) and emits ItemIndexChanged when it changed.
  void SetItemIndex(int index);
  [[nodiscard]] int Count() const;
  [[nodiscard]] QString ItemText(int index) const;
  void SetItemText(int index, const QString& text);

 signals:
  // The user clicked an item (also when it was already selected).
  void Click();
  // The selection changed, by the user or by SetItemIndex.
  void ItemIndexChanged(int index);

 private:
  QButtonGroup* buttons_;
  QVBoxLayout* layout_;
  int item_index_ = -1;
};

// A file-type chooser: its entries come from a filter text such as
// "Text files (*.txt)|*.txt|All files (*.*)|*.*"; Mask() is the masks of the current entry.
class TFilterComboBox : public QComboBox {
  Q_OBJECT
  Q_PROPERTY(QString Filter READ FilterText WRITE SetFilterText)
 public:
  explicit TFilterComboBox(const QString& name, QWidget* parent = nullptr);
  [[nodiscard]] QString FilterText() const { return filter_; }
  // Replaces the entries; keeps the current index when the new filter has as many entries.
  void SetFilterText(const QString& filter);
  [[nodiscard]] std::string Mask() const;

 signals:
  // The current entry changed (by the user or by a new filter); carries the new masks.
  void MaskChanged(const std::string& masks);

 private:
  QString filter_;
  std::vector<FileFilter> entries_;
};

// The visible files of one folder matching a mask, sorted without regard to letter case.
class TFileListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TFileListBox(const QString& name, QWidget* parent = nullptr);
  [[nodiscard]] const std::string& Directory() const { return directory_; }
  // Points the list at a folder and re-reads it. No folder (an empty text) lists nothing,
  // not the process's current folder.
  void SetDirectory(const std::string& folder);
  [[nodiscard]] const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& masks);
  // Re-reads the folder (the window calls this when the application becomes active).
  void Update();
  // The listed names, in order.
  [[nodiscard]] const std::vector<std::string>& Names() const { return names_; }

 signals:
  // The user clicked a file; carries its name.
  void FileClicked(const std::string& name);

 private:
  std::string directory_;
  std::string mask_ = "*.*";
  std::vector<std::string> names_;
};

// A sunken panel that shows one line of text, centred.
class TPanel : public QLabel {
  Q_OBJECT
 public:
  explicit TPanel(const QString& name, const QString& caption, QWidget* parent = nullptr);
};

// A button that doubles as the stop button of its job. While the job runs it shows the stop
// caption and keeps its own caption aside: a language applied meanwhile relabels the caption
// kept aside (the language loader reads and writes ButtonCaption), never the stop caption.
void ShowStopCaption(QAbstractButton* button, const QString& stop);
// The job ended: the caption kept aside comes back.
void EndStopCaption(QAbstractButton* button);
[[nodiscard]] bool ShowsStopCaption(const QAbstractButton* button);
// The button's own caption (the one kept aside while it shows the stop caption).
[[nodiscard]] QString ButtonCaption(const QAbstractButton* button);
void SetButtonCaption(QAbstractButton* button, const QString& caption);

}  // namespace pagelathe
