// The Exclusions editor.
#include "app/FormExclusions.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "platform/TextList.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

constexpr int kExclusionsWidth = 353;
constexpr int kExclusionsHeight = 249;

// The memo's lines as a text list. An empty last line is the place after the final line
// break, not a line of its own (as a loaded file's final CR LF is not): "a\n" is {"a"},
// "a\n\n" is {"a", ""}. Lines are read from the blocks so that no character is folded on
// the way (plain-text export would turn no-break spaces into blanks).
TextList MemoLines(const QPlainTextEdit& memo) {
  TextList lines;
  for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
    lines.push_back(FromQ(block.text()));
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The memo's text for a list: each line followed by a line break, so that MemoLines gives
// the same list back, a blank last line included.
QString MemoText(const TextList& lines) {
  QString text;
  for (const std::string& line : lines) {
    text += ToQ(line);
    text += QChar('\n');
  }
  return text;
}

}  // namespace

TFormExclusions::TFormExclusions(PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("FormExclusions");
  if (parent) setFont(parent->font());  // the main window's 8 point font; windows do not inherit it
  setWindowTitle("Exclusions");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kExclusionsWidth, kExclusionsHeight);

  MemoExclusions = new QPlainTextEdit(this);
  MemoExclusions->setObjectName("MemoExclusions");
  MemoExclusions->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoExclusions->setPlainText(MemoText(context_.ExclusionLines()));
  connect(MemoExclusions, &QPlainTextEdit::textChanged, this,
          &TFormExclusions::MemoExclusionsChange);

  ButtonOk = new QPushButton("Ok", this);
  ButtonOk->setObjectName("ButtonOk");
  ButtonOk->setAutoDefault(false);  // Enter in the memo starts a new line
  connect(ButtonOk, &QPushButton::clicked, this, &TFormExclusions::ButtonOkClick);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(8);
  layout->addWidget(MemoExclusions, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOk);
  buttons->addStretch();
  layout->addLayout(buttons);
}

void TFormExclusions::MemoExclusionsChange() {
  context_.ExclusionLines() = MemoLines(*MemoExclusions);
}

void TFormExclusions::ButtonOkClick() {
  try {
    SaveTextListInItsEncoding(
        context_.ExclusionLines(),
        context_.Product().ProgramFolder + context_.Product().ExclusionsFileName,
        Durability::kSynced);
  } catch (const std::exception& error) {
    ShowError(error.what(), this);
    return;
  }
  accept();
}

}  // namespace pagelathe
