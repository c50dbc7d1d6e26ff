// The entry function: the application object, the main window, the message loop.
#include <QMessageBox>

#include "app/Application.h"
#include "app/QuitSignals.h"
#include "app/TForm1.h"
#include "platform/Paths.h"
#include "ui/Messages.h"
#include "ui/QtText.h"

int main(int argc, char** argv) {
  pagelathe::Application app(argc, argv);
  pagelathe::InstallQuitSignals();
  try {
    pagelathe::TForm1 form(pagelathe::FolderOf(pagelathe::ExecutablePath()));
    pagelathe::SetQuitSignalWindow(&form);
    form.show();
    app.exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, pagelathe::ToQ(pagelathe::ApplicationTitle()),
                          pagelathe::ToQ(error.what()));
  }
  return 0;
}
