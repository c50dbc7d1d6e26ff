// The language choice dialog.
#include "app/FormLanguage.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {

TFormLanguage::TFormLanguage(PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("FormLanguage");
  if (parent) setFont(parent->font());  // the main window's 8 point font; windows do not inherit it
  setWindowTitle("Select Language");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  LabelLang = new QLabel("Select language:", this);
  LabelLang->setObjectName("LabelLang");
  ComboBoxLang = new QComboBox(this);
  ComboBoxLang->setObjectName("ComboBoxLang");
  ComboBoxLang->setEditable(false);
  ComboBoxLang->addItems({"English", "Russian"});
  ComboBoxLang->setMinimumWidth(140);
  ButtonOk = new QPushButton("Ok", this);
  ButtonOk->setObjectName("ButtonOk");
  ButtonOk->setDefault(true);
  connect(ButtonOk, &QPushButton::clicked, this, &TFormLanguage::ButtonOkClick);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->addWidget(LabelLang);
  layout->addWidget(ComboBoxLang);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOk);
  buttons->addStretch();
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormLanguage::ShowChoice() {
  exec();
}

void TFormLanguage::ButtonOkClick() {
  accept();
}

void TFormLanguage::done(int result) {
  context_.Settings().LanguageName = FromQ(ComboBoxLang->currentText());
  emit LanguageChosen(context_.Settings().LanguageName);
  QDialog::done(result);
}

void TFormLanguage::showEvent(QShowEvent* event) {
  ComboBoxLang->setCurrentIndex(0);
  QDialog::showEvent(event);
  // Centred on the desktop, not on the main window (which may not be shown yet).
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

}  // namespace pagelathe
