// The Links Grabber page in a whole main window over a temporary program folder, for the
// tests of the page and of the windows it opens.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/TForm1.h"
#include "support/TempFolder.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/FileDialogs.h"
#include "ui/FolderDialog.h"
#include "ui/PageContext.h"

namespace pagelathe::testing {

class LinksGrabberWindow : public ::testing::Test {
 protected:
  // The window of a settings file that holds "[Options]", "firstStart=0" and the lines of
  // `settings`, shown on the page, with "Stop" as the caption of a busy button.
  void Open(const std::string& settings = "") {
    dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n" + settings);
    form = std::make_unique<TForm1>(dir.Path());
    form->FormShow();
    form->Context().Texts().StringStop = "Stop";
    page = form->Page<LinksGrabberPage>();
  }
  void TearDown() override {
    TFileDialog::SetChooser(nullptr);
    TFolderDialog::SetChooser(nullptr);
  }

  TempFolder dir;
  std::unique_ptr<TForm1> form;
  LinksGrabberPage* page = nullptr;
};

}  // namespace pagelathe::testing
