// Open and save dialogs as components: a filter text ("Text files (*.txt)|*.txt|..."), a
// default extension, an initial folder and a file name, shown modally by Execute. The chooser
// that actually asks the user can be replaced, so tests answer it without a window.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QFileDialog;

namespace pagelathe {

class TFileDialog : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
 public:
  enum class Kind { Open, Save };
  TFileDialog(const QString& name, Kind kind, QObject* parent = nullptr);

  [[nodiscard]] QString Filter() const { return filter_; }
  void SetFilter(const QString& filter) { filter_ = filter; }
  QString DefaultExt;   // without the dot; "*.*" or empty adds nothing
  QString InitialDir;   // folder shown first
  QString FileName;     // in: proposed name; out: the chosen file's full path
  int FilterIndex = 1;  // 1-based, as the original counts them
  QString Title;

  // Shows the dialog modally; true with FileName set when the user chose a file.
  bool Execute(QWidget* parent);

  // The chooser used by Execute. It gets the dialog and returns true when a file was chosen,
  // having set FileName and FilterIndex. Tests install their own.
  using Chooser = std::function<bool(TFileDialog& dialog)>;
  static void SetChooser(Chooser chooser);

 signals:
  // The user switched the file type; FilterIndex is already the new one. A handler may change
  // FileName, which the dialog then shows.
  void TypeChange();

 private:
  friend bool RunQtFileDialog(TFileDialog& dialog, QWidget* parent);
  QString filter_;
  Kind kind_;
  QFileDialog* live_ = nullptr;  // the Qt dialog while it is shown
 public:
  // The name field of the dialog while it is shown (handlers of TypeChange use these).
  [[nodiscard]] QString LiveFileName() const;
  void SetLiveFileName(const QString& name);
  [[nodiscard]] Kind DialogKind() const { return kind_; }
};

}  // namespace pagelathe
