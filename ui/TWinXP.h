// The visual-style marker of the main window. On this desktop the controls take the Qt
// style of the desktop by themselves; the component keeps its two placement checks.
#pragma once

#include <QObject>

namespace pagelathe {

class TWinXP : public QObject {
  Q_OBJECT
 public:
  // Raises Exception "Control parent must be a form!" when `owner` is not a window, and
  // "Only one instance of TWinXP allowed on form" when the window already holds one.
  explicit TWinXP(QObject* owner);
};

}  // namespace pagelathe
