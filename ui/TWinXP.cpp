// Placement checks of the visual-style marker.
#include "ui/TWinXP.h"

#include <QWidget>

#include "platform/Errors.h"

namespace pagelathe {

TWinXP::TWinXP(QObject* owner) : QObject(owner) {
  setObjectName("WinXP1");
  auto* form = qobject_cast<QWidget*>(owner);
  if (!form || !form->isWindow()) throw Exception("Control parent must be a form!");
  if (form->findChildren<TWinXP*>(Qt::FindDirectChildrenOnly).size() >= 2)
    throw Exception("Only one instance of TWinXP allowed on form");
}

}  // namespace pagelathe
